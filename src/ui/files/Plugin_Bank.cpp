#include "Plugin_Bank.h"

#include "PresetBankCommands.h"

#include "../look/AsyncMenu.h"
#include "../menus/FileCommands.h"

#include "../../files/FileMan.h"
#include "../../library/LibraryStore.h"
#include "../../model/DSI_Program.h"
#include "../../plugin/PresetFile.h"
#include "../../plugin/ZarnelAudioProcessor.h"

namespace zarnel
{

Plugin_Bank::Plugin_Bank(ZarnelAudioProcessor& p, CommandHost& h)
    : CommandPage({{"LOAD", loadCommand, "Load preset or preset bank from files.",
                    "LOAD: load a preset or the preset bank from a file, or the presets from a program bank."},
                   {"SAVE", saveCommand, "Save the current preset or preset bank.",
                    "SAVE: write the current preset or the whole preset bank to a file."},
                   {"APPLY", applyCommand, "Apply the current preset from the preset bank.",
                    "APPLY: make the selected preset the current program."},
                   {"RENAME", renameCommand, "Rename the current preset.",
                    "RENAME: give the selected preset a new name and category."},
                   {"SET CURRENT", setCurrentCommand, "Import current preset to the preset bank.",
                    "SET CURRENT: store the edited program in a preset you choose."},
                   {"DONE", doneCommand, "", "DONE: close the library window."}}),
      processor(p), host(h)
{
    list = std::make_unique<Plugin_File>(processor.getState());
    list->setTooltip("Presets: a click makes a preset the current program, a double click or Return also closes the "
                     "window; Up and Down step through them.");
    list->addListener(this);
    addAndMakeVisible(*list);
    refreshButtons();
}

Plugin_Bank::~Plugin_Bank()
{
    list->removeListener(this);
    if (renamePanel != nullptr)
        renamePanel->removeListener(this);
    if (setCurrentPanel != nullptr)
        setCurrentPanel->removeListener(this);
}

void Plugin_Bank::resized()
{
    const int h = getHeight();
    list->setBounds(20, 10, 334, 510);
    placeButtons({10, 50, h - 90, h - 130, h - 170, h - 40}, applyCommand);
    if (renamePanel != nullptr && renamePanel->isAsking())
        renamePanel->setBounds(getLocalBounds());
    if (setCurrentPanel != nullptr && setCurrentPanel->isVisible())
        setCurrentPanel->setBounds(getLocalBounds());
}

void Plugin_Bank::refreshButtons()
{
    const bool selected = list->getSelectedRow() >= 0;
    showButtons([selected](int id) { return id == applyCommand ? false : (id == renameCommand ? selected : true); });
}

void Plugin_Bank::refreshList()
{
    list->refresh();
    refreshButtons();
}

void Plugin_Bank::showCurrentPreset()
{
    list->refresh();
    list->showPreset(processor.getState().hostProgramIndex.load());
    refreshButtons();
}

juce::String Plugin_Bank::presetLabel(int preset) const
{
    return juce::String(preset + 1) + "    " + processor.getState().getHostBankProgramName(preset);
}

//==== Listeners ======================================================================================

void Plugin_Bank::libButClicked(LibBut*, int id)
{
    switch (id)
    {
        case loadCommand: showPresetLoadMenu(); break;
        case saveCommand: showPresetSaveMenu(); break;
        case applyCommand:
            if (list->getSelectedRow() >= 0)
                presetChosen(list->getSelectedRow());
            break;
        case renameCommand: renamePreset(); break;
        case setCurrentCommand: showSetCurrent(); break;
        default: break; // DONE: the window's content closes the window
    }
}

void Plugin_Bank::presetChosen(int index)
{
    refreshButtons();
    processor.setCurrentProgram(index);
}

void Plugin_Bank::presetDoubleClicked()
{
    // A key that reached the list under an open panel must not close the window on it.
    if ((renamePanel != nullptr && renamePanel->isAsking()) || (setCurrentPanel != nullptr && setCurrentPanel->isVisible()))
        return;
    getButton(doneCommand).click();
}

//==== Menus ==========================================================================================

MenuModel Plugin_Bank::loadMenu() const
{
    MenuModel menu;
    menu.addItem(loadPresetItem, "Load Single Preset File");
    menu.addItem(loadPresetBankItem, "Load Preset Bank File");
    menu.addSeparator();
    menu.addItem(loadBankFileItem, "Load Program Bank From File");
    menu.addSeparator();
    for (int bank = 0; bank < ProgramBankSet::numBanks; ++bank)
    {
        if (bank == ProgramBankSet::numUserBanks)
            menu.addSeparator();
        menu.addItem(loadFirstBankItem + bank, "Load From " + ProgramBankSet::bankName(bank));
    }
    return menu;
}

void Plugin_Bank::handleLoadMenuResult(int result)
{
    const SafePointer<Plugin_Bank> alive(this);
    auto afterLoad = [alive] {
        if (alive != nullptr)
            alive->refreshList();
    };
    switch (result)
    {
        case loadPresetItem:
            FileCommands::load(host, FileMan::loadPreset, [this, afterLoad](const Bytes& bytes) {
                PresetFile::loadPreset(processor, bytes);
                afterLoad();
            });
            return;
        case loadPresetBankItem:
            FileCommands::load(host, FileMan::loadPresetBank, [this, afterLoad](const Bytes& bytes) {
                PresetFile::loadPresetBank(processor, bytes);
                afterLoad();
            });
            return;
        case loadBankFileItem:
            FileCommands::load(host, FileMan::loadBank, [this, afterLoad](const Bytes& bytes) {
                PresetBankCommands::loadRecords(processor, FileMan::readBankFile(bytes));
                afterLoad();
            });
            return;
        default:
            if (result >= loadFirstBankItem && result < loadFirstBankItem + ProgramBankSet::numBanks)
            {
                PresetBankCommands::loadBank(processor, result - loadFirstBankItem);
                refreshList();
            }
    }
}

MenuModel Plugin_Bank::saveMenu()
{
    auto& state = processor.getState();
    if (state.hostProgramIndex.load() < 0)
        state.hostProgramIndex = 0;
    const auto name = state.getHostBankProgramName(PresetBankCommands::targetPreset(processor)).trimEnd();
    MenuModel menu;
    menu.addItem(savePresetItem, "Save " + name + " Preset as");
    menu.addItem(savePresetBankItem, "Save Preset Bank as");
    return menu;
}

void Plugin_Bank::handleSaveMenuResult(int result)
{
    if (result == savePresetItem)
    {
        const auto name = processor.getState().getHostBankProgramName(PresetBankCommands::targetPreset(processor));
        FileCommands::save(host, FileMan::savePreset, name, PresetFile::presetOf(processor));
    }
    else if (result == savePresetBankItem)
    {
        FileCommands::save(host, FileMan::savePresetBank, "Mopho X4 Preset Bank", PresetFile::presetBankOf(processor));
    }
}

void Plugin_Bank::showPresetLoadMenu()
{
    AsyncMenu::show(loadMenu().toPopupMenu(), juce::PopupMenu::Options().withTargetComponent(getButton(loadCommand)),
                    *this, [](Plugin_Bank& page, int result) { page.handleLoadMenuResult(result); });
}

void Plugin_Bank::showPresetSaveMenu()
{
    AsyncMenu::show(saveMenu().toPopupMenu(), juce::PopupMenu::Options().withTargetComponent(getButton(saveCommand)),
                    *this, [](Plugin_Bank& page, int result) { page.handleSaveMenuResult(result); });
}

//==== Panels =========================================================================================

void Plugin_Bank::renamePreset()
{
    const int preset = list->getSelectedRow();
    if (preset < 0)
        return;
    if (renamePanel == nullptr)
    {
        renamePanel = std::make_unique<TextInputCont>();
        renamePanel->addListener(this);
        addChildComponent(*renamePanel);
    }
    const auto record = processor.getState().getHostBankProgram(preset);
    renamePanel->ask(TextInputCont::renameQuestion(DSI_Program::decodeName(record.data(), record.size()),
                                                   LibraryStore::categoryOf(record.data()), renameCommand, preset));
}

void Plugin_Bank::textmsgFirst(int dialogId, int subCode)
{
    const auto text = renamePanel->getText();
    const int category = renamePanel->getCategory();
    renamePanel->hidePanel();
    if (dialogId == renameCommand)
        PresetBankCommands::renamePreset(processor, subCode, text, category);
    refreshList();
}

void Plugin_Bank::textmsgThird(int, int)
{
    renamePanel->hidePanel();
}

void Plugin_Bank::showSetCurrent()
{
    if (setCurrentPanel == nullptr)
    {
        setCurrentPanel = std::make_unique<TextSetCurCont>([this](int preset) { return presetLabel(preset); });
        setCurrentPanel->addListener(this);
        addChildComponent(*setCurrentPanel);
    }
    setCurrentPanel->prepare(PresetBankCommands::proposedName(processor), PresetBankCommands::targetPreset(processor));
}

void Plugin_Bank::setCurrentConfirmed(int target)
{
    const auto name = setCurrentPanel->getText();
    setCurrentPanel->hidePanel();
    PresetBankCommands::storeEdited(processor, target, name);
    showCurrentPreset();
}

void Plugin_Bank::setCurrentCancelled()
{
    setCurrentPanel->hidePanel();
}

} // namespace zarnel
