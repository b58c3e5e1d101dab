#pragma once

#include "../../model/ProgramSysex.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace zarnel
{

class ZarnelAudioProcessor;

// What the preset bank page does to the host's 128 presets, apart from the page so tests call
// it directly. Whole-bank loads go through one hold of the model lock.
class PresetBankCommands
{
public:
    using Record = ProgramSysex::Record;

    // The host's current preset, or preset 0 when there is none valid.
    static int targetPreset(ZarnelAudioProcessor& processor);
    // Presets 0 to n - 1 become the records (at most 128 are taken); the others stay.
    static void loadRecords(ZarnelAudioProcessor& processor, const std::vector<Record>& records);
    // The 128 programs of one of the eight banks become the presets.
    static void loadBank(ZarnelAudioProcessor& processor, int bank);
    // The edited program, named, into the preset, which becomes the current program.
    static void storeEdited(ZarnelAudioProcessor& processor, int preset, const juce::String& name);
    // A new name unless the text is empty, and the category, for one preset.
    static void renamePreset(ZarnelAudioProcessor& processor, int preset, const juce::String& text, int category);
    // The name proposed for storing the edited program: its own, or "Untitled" for none or "---".
    static juce::String proposedName(ZarnelAudioProcessor& processor);

    PresetBankCommands() = delete;
};

} // namespace zarnel
