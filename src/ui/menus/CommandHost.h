#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace zarnel
{

// What the commands need from the editor around them: file choosers, messages, questions and
// the overlays. The main component provides it; tests provide their own. Every continuation runs
// on the message thread, later, and only while the host still exists.
class CommandHost
{
public:
    using FileAction = std::function<void(const juce::File&)>;

    virtual ~CommandHost() = default;

    // onChosen gets the file the user confirmed; a cancelled chooser calls nothing.
    virtual void chooseFileToOpen(int type, FileAction onChosen) = 0;
    virtual void chooseFileToSave(int type, const juce::String& proposedName, FileAction onChosen) = 0;

    virtual void showMessage(const juce::String& text) = 0;
    // Asks without waiting; onYes runs only if the user agrees.
    virtual void askQuestion(const juce::String& text, std::function<void()> onYes) = 0;

    virtual bool isWriteDialogShown() const = 0;
    virtual void toggleAbout() = 0;
    virtual void closeWriteDialog() = 0;
    virtual void startBankTransfer(int mode, int bank) = 0;
    // A chooser left open may answer while a bank is being received or transmitted.
    virtual bool isBankTransferRunning() const { return false; }
    virtual void showChannel(int channel) = 0;
};

} // namespace zarnel
