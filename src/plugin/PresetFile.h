#pragma once

#include "../model/ProgramSysex.h"

#include <optional>

namespace zarnel
{

class ZarnelAudioProcessor;

// The plug-in's preset (.fxp) and preset bank (.fxb) files: the processor's program and bank
// blocks, plain. The session trailer that the host's state carries stays out of them, and one
// found in a file is not applied: loading a preset bank never replaces the edited program.
class PresetFile
{
public:
    using Record = ProgramSysex::Record;

    static Bytes makePreset(const Record& record);
    static Bytes makePresetBank(const Bytes& hostBankData);
    static std::optional<Record> readPreset(const std::uint8_t* data, size_t size);
    static std::optional<Record> readPreset(const Bytes& b) { return readPreset(b.data(), b.size()); }
    static std::optional<Bytes> readPresetBank(const std::uint8_t* data, size_t size);
    static std::optional<Bytes> readPresetBank(const Bytes& b) { return readPresetBank(b.data(), b.size()); }

    // The current preset (stored into its host slot first, as the host's program state does) and
    // the host bank, as files.
    static Bytes presetOf(ZarnelAudioProcessor& processor);
    static Bytes presetBankOf(ZarnelAudioProcessor& processor);

    // A file's content applied through the processor's state calls; false, and nothing changed,
    // when the file is not a preset (bank).
    static bool loadPreset(ZarnelAudioProcessor& processor, const Bytes& file);
    static bool loadPresetBank(ZarnelAudioProcessor& processor, const Bytes& file);

    PresetFile() = delete;
};

} // namespace zarnel
