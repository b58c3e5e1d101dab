#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

class MainComp;

// The main component's commands: opens the menus of the application bar, the program display and
// the bank page where they belong and hands their results to the menus' dispatch, after the menu
// has closed and only while the editor exists. Also the editor's side of the commands: the file
// choosers (asynchronous, starting in the settings folder) and, through the main component,
// messages, questions and overlays. Owns the clipboard.
class MainCommands : public CommandHost
{
public:
    // Codes the bank page reports.
    static constexpr int bankFileCode = 890;
    static constexpr int bankTransferCode = 891;
    static constexpr int presetsCode = 201;
    static constexpr int programMenuCode = 90;
    static constexpr int useLoadedDataCode = 206;

    MainCommands(MainComp& main, ZarnelAudioProcessor& processor);
    ~MainCommands() override;

    // The bar's FILE, EDIT, Send and Recv buttons; false for codes that are not ours.
    bool barButtonPressed(int code, juce::Component* button);
    void openChannelMenu(juce::Component* label);
    // The program display's place zone: opens at the mouse.
    void openProgramSelectMenu();
    // A code of the bank page, with the slot of its list that was pressed for the program menu.
    void bankPageCommand(int code, juce::Component* button, int bank, int program);

    const CommandContext& getContext() const noexcept { return context; }

    // Shows a menu and later calls onResult with the chosen id (0 when dismissed). By default a
    // pop-up through AsyncMenu, under the anchor or at the mouse when there is none; tests and the
    // snapshot tool put their own in its place, and an empty one brings the pop-up back.
    using MenuShower = std::function<void(const MenuModel& menu, juce::Component* anchor,
                                          std::function<void(int)> onResult)>;
    void setMenuShower(MenuShower shower);

    //==== CommandHost ================================================================================
    void chooseFileToOpen(int type, FileAction onChosen) override;
    void chooseFileToSave(int type, const juce::String& proposedName, FileAction onChosen) override;
    void showMessage(const juce::String& text) override;
    void askQuestion(const juce::String& text, std::function<void()> onYes) override;
    bool isWriteDialogShown() const override;
    void toggleAbout() override;
    void closeWriteDialog() override;
    void startBankTransfer(int mode, int bank) override;
    bool isBankTransferRunning() const override;
    void showChannel(int channel) override;

private:
    template <typename Menu>
    void show(Menu menu, juce::Component* anchor);

    juce::File settingsFolder() const;
    void launch(int type, int flags, const juce::File& start, FileAction onChosen);

    MainComp& main;
    Clipboard clipboard;
    CommandContext context;
    std::unique_ptr<juce::FileChooser> chooser;
    MenuShower menuShower;
};

} // namespace zarnel
