#pragma once

#include "Plugin_File.h"
#include "TextSetCurCont.h"

#include "../library/CommandPage.h"
#include "../library/TextInputCont.h"
#include "../menus/CommandHost.h"
#include "../menus/MenuModel.h"
#include "../widgets/SimpleLabel.h"

#include <memory>
#include <vector>

namespace zarnel
{

class ZarnelAudioProcessor;

// The PRESET BANK page: the host's 128 presets, which preset is current, renaming, storing the
// edited program, and loading and saving presets and banks. Its panels cover the page instead
// of opening modal windows; choosers go through the host.
class Plugin_Bank : public CommandPage,
                    public juce::ChangeBroadcaster,
                    public textmsgListener,
                    public PlugFileListener,
                    public textSetCurListener
{
public:
    enum Command
    {
        loadCommand = 1211,
        saveCommand = 1209,
        applyCommand = 1206,
        renameCommand = 1203,
        setCurrentCommand = 1316,
        doneCommand = 1201
    };
    enum MenuItem
    {
        loadPresetItem = 11,
        loadPresetBankItem = 10,
        loadBankFileItem = 14,
        loadFirstBankItem = 100,
        savePresetItem = 21,
        savePresetBankItem = 20
    };

    Plugin_Bank(ZarnelAudioProcessor& processor, CommandHost& host);
    ~Plugin_Bank() override;

    MenuModel loadMenu() const;
    void handleLoadMenuResult(int result);
    // Sets an invalid current preset to 0 first.
    MenuModel saveMenu();
    void handleSaveMenuResult(int result);
    void showPresetLoadMenu();
    void showPresetSaveMenu();
    void renamePreset();
    void showSetCurrent();
    // The list follows the host's current preset (page opened, host program changed).
    void showCurrentPreset();
    void refreshList();

    Plugin_File& getList() noexcept { return *list; }
    TextInputCont* getRenamePanel() noexcept { return renamePanel.get(); }
    TextSetCurCont* getSetCurrentPanel() noexcept { return setCurrentPanel.get(); }

    void libButClicked(LibBut* button, int id) override;
    void textmsgFirst(int dialogId, int subCode) override;
    void textmsgSecond(int, int) override {}
    void textmsgThird(int dialogId, int subCode) override;
    void presetChosen(int index) override;
    void presetDoubleClicked() override;
    void setCurrentConfirmed(int target) override;
    void setCurrentCancelled() override;

    void resized() override;

private:
    void refreshButtons();
    juce::String presetLabel(int preset) const;

    ZarnelAudioProcessor& processor;
    CommandHost& host;
    std::unique_ptr<Plugin_File> list;
    std::unique_ptr<TextInputCont> renamePanel;
    std::unique_ptr<TextSetCurCont> setCurrentPanel;
};

} // namespace zarnel
