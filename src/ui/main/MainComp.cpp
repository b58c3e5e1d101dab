#include "MainComp.h"

#include "../../platform/SettingsFolder.h"

#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"
#include "../../plugin/ZarnelAudioProcessor.h"

namespace zarnel
{

namespace
{
constexpr int collapsedKeyboardTop = 680; // the keyboard strip's top edge, unscaled
constexpr int programDisplayX = 14;
constexpr int programDisplayY = 10;
} // namespace

MainComp::MainComp(ZarnelAudioProcessor& p) : processor(p), state(p.getState())
{
    state.addStateListener(this);
    state.endBankReceive();

    // Panels that are not part of this editor yet leave their place empty; the program display
    // stands where the editor panel will show it.
    programDisplay = std::make_unique<LCD_Comp>();
    programDisplay->addChangeListener(this);
    addAndMakeVisible(*programDisplay);

    appBar = std::make_unique<AppBar>(state);
    appBar->setBounds(0, 0, referenceWidth, AppBar::barHeight);
    addAndMakeVisible(*appBar);
    appBar->getMenuButton().addChangeListener(this);
    for (int i = 0; i < AppBar::numButtons; ++i)
        appBar->getButton(i).addListener(this);
    appBar->getChannelLabel().addChangeListener(this);

    appBar->getChannelLabel().setText("Chan: " + juce::String(state.midiChannel.load()));

    state.rxNrpnMsb = 255;
    state.rxNrpnLsb = 255;

    currentPage = editorPage;
    refreshAllControls();
    setSize(referenceWidth, referenceHeight);

    if (!state.editorOpenedBefore.load() && !writeDialogShown)
        toggleAbout(true, 2000);

    state.editorOpenedBefore = true;
    state.requestGlobalDump();

    state.addListener(this);
    layoutChildren();
    state.mainCompBuilt = true;
    built = true;
}

MainComp::~MainComp()
{
    cancelPendingUpdate();
    state.removeListener(this);
    state.removeStateListener(this);
    if (progressBar != nullptr)
        state.endBankReceive();
}

float MainComp::getScale() const noexcept
{
    return (float)getWidth() / (float)referenceWidth;
}

void MainComp::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff151a1c));
}

void MainComp::resized()
{
    layoutChildren();
    if (built)
    {
        auto& settings = state.getSettings();
        settings.setEntry(SettingsList::editorWidthEntry, juce::String(getWidth()));
        settings.setEntry(SettingsList::editorHeightEntry, juce::String(getHeight()));
    }
}

void MainComp::layoutChildren()
{
    const int w = getWidth();
    const int h = getHeight();
    const float s = getScale();
    state.uiScale = s;

    appBar->setBounds(appBar->getX(), appBar->getY(), w, AppBar::barHeight);

    const int keyboardTop = (int)((float)collapsedKeyboardTop * s);
    editorArea = {0, AppBar::barHeight, w, juce::jmax(0, keyboardTop - AppBar::barHeight)};

    programDisplay->setScale(s);
    programDisplay->setBounds((int)((float)programDisplayX * s), editorArea.getY() + (int)((float)programDisplayY * s),
                              (int)(180.0f * s), (int)(43.0f * s));

    if (aboutPanel != nullptr)
        aboutPanel->setBounds(0, 0, w, h);
    if (messageBox != nullptr)
        messageBox->setBounds(0, 0, w, h);
    if (progressBar != nullptr)
        progressBar->setBounds(0, 0, w, h);
}

//==== Notifications ==================================================================================

void MainComp::midiCntrStateChanged(MidiCntrState&)
{
    triggerAsyncUpdate();
}

void MainComp::stateChanged()
{
    triggerAsyncUpdate();
}

void MainComp::handleAsyncUpdate()
{
    drainNotifications();
}

void MainComp::drainNotifications()
{
    std::vector<std::uint32_t> codes;
    std::uint32_t code;
    while (state.popNotification(code))
        codes.push_back(code);
    for (auto c : codes)
        handleStateCode(c);
}

juce::String MainComp::progressText(int bank, int program)
{
    const juce::String label = bank <= 3 ? "U" + juce::String(bank + 1) : "F" + juce::String(bank - 3);
    return label + ":" + juce::String(program + 1);
}

void MainComp::handleStateCode(std::uint32_t code)
{
    const auto type = code >> 24;
    switch (type)
    {
        case 0x10:
            parameterChanged((int)((code >> 8) & 0xFF), (int)(code & 0xFF));
            break;
        case 0x11:
            refreshAllControls();
            break;
        case 0x12:
            setStatus(onlineText);
            break;
        case 0x13:
            setStatus(offlineText);
            break;
        case 0x16:
            endBankTransfer();
            break;
        case 0x17:
            if (progressBar != nullptr)
            {
                const int bank = (int)((code >> 8) & 0xFF);
                const int program = (int)(code & 0xFF);
                progressBar->setProgress(program, progressText(bank, program));
            }
            break;
        case 0x30:
            showFileWriteFailure(code & 0xFF);
            break;
        default:
            // Notes, wheels, bank lists, globals and presets belong to panels this editor does
            // not have yet.
            break;
    }
}

void MainComp::showFileWriteFailure(std::uint32_t which)
{
    // The change stays pending and is written again at the next change; the user must know it
    // is not on disk yet.
    const char* what = which == Notification::bankDataFile ? "the user banks"
                       : which == Notification::portFile   ? "the MIDI port choice"
                                                           : "the settings";
    showMessage(juce::String("Could not save ") + what + " to the folder " + SettingsFolder::folderName
                + ". Check that the disk is not full and the folder can be written.");
}

void MainComp::setStatus(const juce::String& text)
{
    appBar->getStatusLabel().setText(text);
    appBar->getStatusLabel().repaint();
}

void MainComp::refreshAllControls()
{
    const auto program = state.getCurrentProgram();
    const int category = program[117];
    programDisplay->showProgram(state.currentBank.load(), state.currentProgramNumber.load(), category,
                                DSI_Program::decodeName(program.data(), program.size()),
                                ParDes::categoryName(category));
}

void MainComp::parameterChanged(int parameter, int value)
{
    if (parameter < 0 || parameter >= 200)
        return;
    // Name and category are the only parts of the program this editor shows so far.
    if (parameter == 117)
        programDisplay->showCategoryName(value, ParDes::categoryName(value));
    else if (parameter >= 184)
        refreshAllControls();
}

//==== Overlays =======================================================================================

void MainComp::toggleAbout(bool on, int timeMs)
{
    aboutShown = on;
    if (!on)
    {
        if (aboutPanel != nullptr)
        {
            aboutPanel->stopAutoClose();
            aboutPanel->setVisible(false);
            aboutPanel->exitModalState(0);
            aboutPanel.reset();
        }
        return;
    }

    aboutPanel = std::make_unique<AboutPanel>(timeMs);
    aboutPanel->setBounds(getLocalBounds());
    aboutPanel->setAlwaysOnTop(true);
    aboutPanel->addChangeListener(this);
    addAndMakeVisible(*aboutPanel);
    aboutPanel->enterModalState(false);
}

void MainComp::showMessage(const juce::String& text)
{
    removeMessageBox();
    messageBox = std::make_unique<MsgCont>(text, getWidth(), getHeight());
    addAndMakeVisible(*messageBox);
    messageBox->toFront(false);
    messageBox->getOkButton().addListener(this);
    messageBox->getCancelButton().addListener(this);
    messageBox->enterModalState(false);
}

void MainComp::removeMessageBox()
{
    if (messageBox == nullptr)
        return;
    if (messageBox->isCurrentlyModal())
        messageBox->exitModalState(0);
    messageBox.reset();
}

void MainComp::startBankTransfer(int mode, int bank)
{
    progressBar = std::make_unique<ProgBar>(getWidth(), getHeight());
    addAndMakeVisible(*progressBar);
    progressBar->toFront(false);
    progressBar->getCancelButton()->addChangeListener(this);
    progressBar->enterModalState(false);
    if (mode == 0 || mode == 7)
        state.startBankReceive(bank, mode);
}

void MainComp::endBankTransfer()
{
    state.endBankReceive();
    if (progressBar == nullptr)
        return;
    progressBar->setVisible(false);
    if (progressBar->isCurrentlyModal())
        progressBar->exitModalState(0);
    progressBar.reset();
}

void MainComp::handleSetupCommand(int command, int value)
{
    auto& settings = state.getSettings();
    const auto linkTestAndSave = [&] {
        state.requestGlobalDump();
        if (!settings.saveSettings())
            showFileWriteFailure(Notification::settingsFile);
    };
    switch (command)
    {
        case 202:
            state.forwardHostMidi = value != 0;
            settings.setEntry(SettingsList::forwardHostMidiEntry, value != 0 ? "1" : "0");
            linkTestAndSave();
            break;
        case 203:
            state.requestGlobalDump();
            if (!settings.saveSettings())
                showFileWriteFailure(Notification::settingsFile);
            if (!writeDialogShown && !state.getPorts().savePortFile())
                showFileWriteFailure(Notification::portFile);
            break;
        case 206:
            state.clockOutEnabled = value != 0;
            settings.setEntry(SettingsList::midiClockEntry, value != 0 ? "1" : "0");
            linkTestAndSave();
            break;
        case 210:
            state.thruToHost = value != 0;
            settings.setEntry(SettingsList::thruToHostEntry, value != 0 ? "1" : "0");
            linkTestAndSave();
            break;
        case 300:
            state.selectInputPort(value);
            linkTestAndSave();
            break;
        case 302:
            state.selectOutputPort(value);
            linkTestAndSave();
            break;
        default:
            break;
    }
}

//==== Listeners ======================================================================================

void MainComp::stsbutPressed(int id)
{
    if (id == MsgCont::okCode || id == MsgCont::cancelCode)
    {
        // Removed after the button has finished reporting.
        juce::MessageManager::callAsync([safe = juce::Component::SafePointer<MainComp>(this)] {
            if (safe != nullptr)
                safe->removeMessageBox();
        });
    }
    // The bar's commands arrive with the menus that carry them out.
}

void MainComp::stsbutChanged(StsBut* button)
{
    if (progressBar != nullptr && button == progressBar->getCancelButton())
        juce::MessageManager::callAsync([safe = juce::Component::SafePointer<MainComp>(this)] {
            if (safe != nullptr)
                safe->endBankTransfer();
        });
}

void MainComp::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (aboutPanel != nullptr && source == aboutPanel.get())
    {
        if (!writeDialogShown)
            toggleAbout(false, 0);
    }
}

void MainComp::winToolChanged(WinMovCan*, int)
{
}

} // namespace zarnel
