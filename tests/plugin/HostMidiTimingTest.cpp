// Host MIDI forwarded to the instrument keeps the time between its events, inside a block and
// across blocks, however the host's calls fall: measured where the cable ends.
#include "plugin/ZarnelAudioProcessor.h"
#include "platform/SettingsFolder.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"

#include <gtest/gtest.h>

#include <mutex>

using namespace zarnel;

namespace
{

// The instrument's end of the cable: notes when each message arrives, on the real clock.
class ArrivalClock : public test::VirtualMidiBackend::FarSide
{
public:
    void receivedFromPlugin(const juce::MidiMessage& m) override
    {
        const double now = juce::Time::getMillisecondCounterHiRes();
        const std::lock_guard<std::mutex> lk(lock);
        arrivals.push_back({Bytes(m.getRawData(), m.getRawData() + m.getRawDataSize()), now});
    }

    // When the message arrived, waiting for it; negative when it never came.
    double arrivalOf(const Bytes& message, int timeoutMs) const
    {
        const double end = juce::Time::getMillisecondCounterHiRes() + timeoutMs;
        do
        {
            {
                const std::lock_guard<std::mutex> lk(lock);
                for (const auto& [bytes, at] : arrivals)
                    if (bytes == message)
                        return at;
            }
            juce::Thread::sleep(1);
        } while (juce::Time::getMillisecondCounterHiRes() < end);
        return -1.0;
    }

private:
    mutable std::mutex lock;
    std::vector<std::pair<Bytes, double>> arrivals;
};

class HostMidiTimingTest : public ::testing::Test
{
protected:
    static constexpr double rate = 44100.0;

    HostMidiTimingTest()
    {
        const char* name = "Instrument";
        backend.addDevice(name, &instrument);
        const auto ports = MIDI_PORTS_Control::formatPortFile({name, name, "NONE"});
        folder.file(SettingsFolder::portFileName).replaceWithData(ports.getData(), ports.getSize());
        processor = std::make_unique<ZarnelAudioProcessor>(folder.get(), backend);
    }

    ~HostMidiTimingTest() override { processor.reset(); }

    juce::ScopedJuceInitialiser_GUI juce;
    ArrivalClock instrument;
    test::VirtualMidiBackend backend;
    test::TempFolder folder;
    std::unique_ptr<ZarnelAudioProcessor> processor;
};

} // namespace

TEST_F(HostMidiTimingTest, NotesKeepTheirLengthInsideABlockAndAcrossBlocksCalledAtOnce)
{
    struct Case
    {
        const char* what;
        int blockSize, blocks;
        int onSample, offSample; // counted from the first block's start
    };
    // Hosts call several blocks back to back when they split a device buffer or work ahead.
    const Case cases[] = {
        {"one block of 4096", 4096, 1, 100, 3900},
        {"blocks of 64 in one burst", 64, 62, 74, 3850},
    };
    int note = 60;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        processor->prepareToPlay(rate, c.blockSize);
        juce::AudioBuffer<float> audio(2, c.blockSize);
        juce::MidiBuffer midi;
        for (int b = 0; b < c.blocks; ++b)
        {
            const int first = b * c.blockSize, end = first + c.blockSize;
            midi.clear();
            if (c.onSample >= first && c.onSample < end)
                midi.addEvent(juce::MidiMessage::noteOn(1, note, (juce::uint8)100), c.onSample - first);
            if (c.offSample >= first && c.offSample < end)
                midi.addEvent(juce::MidiMessage::noteOff(1, note), c.offSample - first);
            processor->processBlock(audio, midi);
        }

        const double on = instrument.arrivalOf({0x90, (std::uint8_t)note, 100}, 3000);
        const double off = instrument.arrivalOf({0x80, (std::uint8_t)note, 0}, 3000);
        ASSERT_GE(on, 0.0);
        ASSERT_GE(off, 0.0);
        // The sender looks at its schedule every millisecond; a busy machine adds a little.
        EXPECT_NEAR(off - on, (c.offSample - c.onSample) * 1000.0 / rate, 4.0);
        ++note;
    }
}
