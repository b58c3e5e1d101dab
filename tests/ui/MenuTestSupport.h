#pragma once

#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"
#include "ui/menus/CommandContext.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <utility>
#include <vector>

namespace zarnel::test
{

// The editor's side of the commands, answered at once: the chooser confirms the file set in
// `chosen` (none: cancelled), questions get `answer`, and everything shown is recorded.
struct ScriptedHost : CommandHost
{
    juce::File chosen;
    bool answer = true;
    bool writeDialogShown = false;
    bool transferRunning = false;

    std::vector<std::pair<int, juce::String>> choosers; // type, proposed name (empty for open)
    juce::StringArray messages;
    juce::StringArray questions;
    std::vector<std::pair<int, int>> transfers;
    int aboutToggles = 0;
    int writeDialogCloses = 0;
    int channelShown = 0;

    void chooseFileToOpen(int type, FileAction onChosen) override
    {
        choosers.emplace_back(type, juce::String());
        if (chosen != juce::File())
            onChosen(chosen);
    }
    void chooseFileToSave(int type, const juce::String& proposedName, FileAction onChosen) override
    {
        choosers.emplace_back(type, proposedName);
        if (chosen != juce::File())
            onChosen(chosen);
    }
    void showMessage(const juce::String& text) override { messages.add(text); }
    void askQuestion(const juce::String& text, std::function<void()> onYes) override
    {
        questions.add(text);
        if (answer)
            onYes();
    }
    bool isWriteDialogShown() const override { return writeDialogShown; }
    void toggleAbout() override { ++aboutToggles; }
    void closeWriteDialog() override { ++writeDialogCloses; }
    void startBankTransfer(int mode, int bank) override { transfers.emplace_back(mode, bank); }
    void showChannel(int channel) override { channelShown = channel; }
    bool isBankTransferRunning() const override { return transferRunning; }
};

// What the synthesizer received since the last call. Short messages reach it through the output's
// sender thread, so the expected number is awaited (or a short while, for none).
inline std::vector<Bytes> receivedSinceLastCall(SimulatedSynth& synth, size_t expected)
{
    synth.waitUntil([&] { return synth.received().size() >= expected; }, 3000);
    if (expected == 0)
        juce::Thread::sleep(50);
    synth.waitUntilIdle(3000);
    std::vector<Bytes> out;
    for (const auto& e : synth.received())
        out.push_back(e.bytes);
    synth.clearLogs();
    return out;
}

// A processor on the simulated synthesizer, with a clipboard and a scripted editor around it.
struct CommandRig
{
    juce::ScopedJuceInitialiser_GUI juce;
    SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    Clipboard clipboard;
    ScriptedHost host;
    CommandContext context{processor, clipboard, host};

    MidiCntrState& state() { return processor.getState(); }
};

} // namespace zarnel::test
