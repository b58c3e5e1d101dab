#pragma once

#include "LibraryMessages.h"

#include "../menus/CommandHost.h"

namespace zarnel
{

// What the library window's pages ask of the editor: choosers, transfers and the rest go to the
// editor's host; messages and questions appear in the library window, where the user acted.
class LibraryHost : public CommandHost
{
public:
    LibraryHost(CommandHost& editorHost, LibraryMessages& messages) : editor(editorHost), box(messages) {}

    void chooseFileToOpen(int type, FileAction onChosen) override { editor.chooseFileToOpen(type, std::move(onChosen)); }
    void chooseFileToSave(int type, const juce::String& proposedName, FileAction onChosen) override
    {
        editor.chooseFileToSave(type, proposedName, std::move(onChosen));
    }
    void showMessage(const juce::String& text) override
    {
        if (isWindowUp())
            box.showMessage(text);
        else
            editor.showMessage(text);
    }
    void askQuestion(const juce::String& text, std::function<void()> onYes) override
    {
        if (isWindowUp())
            box.askQuestion(text, std::move(onYes));
        else
            editor.askQuestion(text, std::move(onYes));
    }
    bool isWriteDialogShown() const override { return editor.isWriteDialogShown(); }
    void toggleAbout() override { editor.toggleAbout(); }
    void closeWriteDialog() override { editor.closeWriteDialog(); }
    void startBankTransfer(int mode, int bank) override { editor.startBankTransfer(mode, bank); }
    bool isBankTransferRunning() const override { return editor.isBankTransferRunning(); }
    void showChannel(int channel) override { editor.showChannel(channel); }

private:
    // An answer arriving after the library window was closed (a chooser left open) is not left
    // waiting unseen in the hidden window: the editor shows it.
    bool isWindowUp() const
    {
        auto* window = box.getTopLevelComponent();
        return window != nullptr && window->isVisible();
    }

    CommandHost& editor;
    LibraryMessages& box;
};

} // namespace zarnel
