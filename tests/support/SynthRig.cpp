#include "SynthRig.h"

#include "platform/SettingsFolder.h"

namespace zarnel::test
{

SynthRig::SynthRig(SimulatedSynth::Options options) : synth(backend, deviceName, options)
{
    const auto content = MIDI_PORTS_Control::formatPortFile({deviceName, deviceName, "NONE"});
    folder.file(SettingsFolder::portFileName).replaceWithData(content.getData(), content.getSize());
}

} // namespace zarnel::test
