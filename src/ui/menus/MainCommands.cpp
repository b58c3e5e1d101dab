#include "MainCommands.h"

#include "BankFileMenu.h"
#include "BankTransferMenu.h"
#include "ChannelMenu.h"
#include "EditMenu.h"
#include "FileMenu.h"
#include "PresetsMenu.h"
#include "ProgramMenu.h"
#include "ProgramSelectMenu.h"
#include "SendMenu.h"

#include "../look/AsyncMenu.h"
#include "../main/MainComp.h"

#include "../../files/FileMan.h"

namespace zarnel
{

MainCommands::MainCommands(MainComp& m, ZarnelAudioProcessor& processor)
    : main(m), context{processor, clipboard, *this}
{
    setMenuShower({});
}

void MainCommands::setMenuShower(MenuShower shower)
{
    if (shower)
    {
        menuShower = std::move(shower);
        return;
    }
    menuShower = [this](const MenuModel& menu, juce::Component* anchor, std::function<void(int)> onResult) {
        const auto options = anchor != nullptr ? juce::PopupMenu::Options().withTargetComponent(anchor)
                                               : juce::PopupMenu::Options().withMousePosition();
        // The result comes only while the main component, and so these commands, exist.
        AsyncMenu::show(menu.toPopupMenu(), options, main,
                        [onResult = std::move(onResult)](MainComp&, int result) { onResult(result); });
    };
}

MainCommands::~MainCommands() = default;

template <typename Menu>
void MainCommands::show(Menu menu, juce::Component* anchor)
{
    const auto model = menu.items();
    if (model.isEmpty())
        return;
    menuShower(model, anchor, [this, menu = std::move(menu)](int result) {
        if (result != 0)
            menu.dispatch(result, context);
    });
}

bool MainCommands::barButtonPressed(int code, juce::Component* button)
{
    switch (code)
    {
        case AppBar::fileCode:
            show(FileMenu(context), button);
            return true;
        case AppBar::editCode:
            show(EditMenu(context), button);
            return true;
        case AppBar::sendCode:
            show(SendMenu(context), button);
            return true;
        case AppBar::recvCode:
            if (context.state().getPorts().isOutputOpen())
                context.state().requestDump(ProgramSysex::cmdEditBufferDumpRequest, 0, 0);
            else
                showMessage("No MIDI output is open: nothing was requested.");
            return true;
        default:
            return false;
    }
}

void MainCommands::openChannelMenu(juce::Component* label)
{
    show(ChannelMenu(context), label);
}

void MainCommands::openProgramSelectMenu()
{
    show(ProgramSelectMenu(context), nullptr);
}

void MainCommands::bankPageCommand(int code, juce::Component* button, int bank, int program)
{
    switch (code)
    {
        case bankFileCode:
            show(BankFileMenu(), button);
            break;
        case bankTransferCode:
            show(BankTransferMenu(), button);
            break;
        case presetsCode:
            show(PresetsMenu(context), button);
            break;
        case programMenuCode:
            show(ProgramMenu(context, bank, program), nullptr);
            break;
        case useLoadedDataCode:
            context.state().useLoadedData = !context.state().useLoadedData.load();
            break;
        default:
            break;
    }
}

//==== CommandHost ====================================================================================

juce::File MainCommands::settingsFolder() const
{
    return context.state().getSettings().getFile().getParentDirectory();
}

void MainCommands::launch(int type, int flags, const juce::File& start, FileAction onChosen)
{
    // Replacing a chooser that is still open closes it without an answer.
    chooser = std::make_unique<juce::FileChooser>(FileMan::titleOf(type), start, FileMan::patternListOf(type));
    chooser->launchAsync(flags, [safe = juce::Component::SafePointer<MainComp>(&main),
                                 onChosen = std::move(onChosen)](const juce::FileChooser& fc) {
        const auto file = fc.getResult();
        if (file == juce::File())
            return;
        // Carried out after the chooser has finished with its callback.
        juce::MessageManager::callAsync([safe, onChosen, file] {
            if (safe != nullptr)
                onChosen(file);
        });
    });
}

void MainCommands::chooseFileToOpen(int type, FileAction onChosen)
{
    launch(type, juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles, settingsFolder(),
           std::move(onChosen));
}

void MainCommands::chooseFileToSave(int type, const juce::String& proposedName, FileAction onChosen)
{
    // No overwrite warning from the chooser: the question is asked once the extension is added,
    // about the file that will really be written.
    launch(type, juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles,
           settingsFolder().getChildFile(proposedName), std::move(onChosen));
}

void MainCommands::showMessage(const juce::String& text)
{
    main.showMessage(text);
}

void MainCommands::askQuestion(const juce::String& text, std::function<void()> onYes)
{
    main.askQuestion(text, std::move(onYes));
}

bool MainCommands::isWriteDialogShown() const
{
    return main.isWriteDialogShown();
}

void MainCommands::toggleAbout()
{
    main.toggleAbout(main.getAboutPanel() == nullptr, 0);
}

void MainCommands::closeWriteDialog()
{
    main.toggleWriteDialog(false);
}

void MainCommands::startBankTransfer(int mode, int bank)
{
    main.startBankTransfer(mode, bank);
}

bool MainCommands::isBankTransferRunning() const
{
    return main.getProgressBar() != nullptr;
}

void MainCommands::showChannel(int channel)
{
    auto& label = main.getAppBar().getChannelLabel();
    label.setText(ChannelMenu::labelText(channel));
    label.repaint();
}

} // namespace zarnel
