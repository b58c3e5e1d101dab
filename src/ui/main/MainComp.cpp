#include "MainComp.h"

#include "../menus/WriteCommand.h"
#include "../widgets/CategoryMenu.h"

#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"
#include "../../platform/SettingsFolder.h"
#include "../../plugin/ZarnelAudioProcessor.h"

#include <algorithm>
#include <utility>

namespace zarnel
{

namespace
{
constexpr int collapsedKeyboardTop = 680; // the keyboard strip's top edge, unscaled
constexpr int numPanelParameters = 115;   // parameters 0..114 have controls on the panels
constexpr int categoryParameter = 117;
constexpr int firstNameParameter = 184;
} // namespace

MainComp::MainComp(ZarnelAudioProcessor& p) : processor(p), state(p.getState())
{
    state.addStateListener(this);

    commands = std::make_unique<MainCommands>(*this, processor);

    bankPage = std::make_unique<BankComp>(state);
    addChildComponent(*bankPage);
    bankPage->addChangeListener(this);
    bankPage->getOkButton().addChangeListener(this);

    editorPanel = std::make_unique<EditorPanel>(processor);
    addChildComponent(*editorPanel);
    editorPanel->addChangeListener(this);
    editorPanel->getProgramDisplay().addChangeListener(this);
    editorPanel->setVisible(true);
    editorPanel->getSequencerButton().addChangeListener(this);

    // Behind the editor panel, whose preview sits on the sequencer page.
    sequencerPanel = std::make_unique<SeqPanel>(processor);
    addChildComponent(*sequencerPanel, 0);
    sequencerPanel->addChangeListener(this);
    sequencerPanel->getProgramButton().addChangeListener(this);

    sectionZoom = std::make_unique<FlashPanel>(processor);
    addChildComponent(*sectionZoom);
    sectionZoom->addChangeListener(this);

    keyboard = std::make_unique<KeyBrd>(state);
    addAndMakeVisible(*keyboard);
    keyboard->addChangeListener(this);

    appBar = std::make_unique<AppBar>(state);
    appBar->setBounds(0, 0, referenceWidth, AppBar::barHeight);
    addAndMakeVisible(*appBar);
    historyBar = std::make_unique<HistoryBar>(processor);
    appBar->addAndMakeVisible(*historyBar);
    addKeyListener(historyBar.get());
    addMouseListener(historyBar.get(), true);
    // Added last, so it hears a key before the shortcuts do: nothing acts under an open overlay.
    overlayKeys = std::make_unique<OverlayKeyTrap>(
        *this, [this] { return getTopOverlay(); }, [this](juce::Component& overlay) { return answersFor(overlay); });
    addKeyListener(overlayKeys.get());
    juce::Desktop::getInstance().addFocusChangeListener(this);
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
    // What was posted before we listened (the link test's "off-line", an early answer) is shown
    // now rather than at the next notification, which may never come.
    triggerAsyncUpdate();
    layoutChildren();
    // Nobody has chosen ports here yet: look for the instrument. A search still running from
    // an earlier opening is shown again.
    if (state.claimFirstRunSearch() || state.getPortSearch().isRunning())
        toggleScan(true);
    // A transfer started in an earlier opening goes on: its bar comes back where it stands, or
    // the user hears how it ended meanwhile.
    if (state.getBankTransfers().isActive())
        showProgressBar();
    else
        showTransferReport(true);
    // A data file that was not taken whole is told once, before the user sends anything.
    if (const auto notice = state.claimBankFileNotice(); notice.isNotEmpty())
        showMessage(notice);
    state.mainCompBuilt = true;
    built = true;
}

MainComp::~MainComp()
{
    cancelPendingUpdate();
    juce::Desktop::getInstance().removeFocusChangeListener(this);
    removeKeyListener(overlayKeys.get());
    removeKeyListener(historyBar.get());
    removeMouseListener(historyBar.get());
    if (libraryWindow != nullptr)
        libraryWindow->getContent().getCloseHandle().removeListener(this);
    libraryWindow.reset();
    state.removeListener(this);
    state.removeStateListener(this);
    editorPanel->getProgramDisplay().removeChangeListener(this);
    editorPanel->removeChangeListener(this);
    sectionZoom->removeChangeListener(this);
    sequencerPanel->removeChangeListener(this);
    sequencerPanel->getProgramButton().removeChangeListener(this);
    editorPanel->getSequencerButton().removeChangeListener(this);
    keyboard->removeChangeListener(this);
    bankPage->removeChangeListener(this);
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
    historyBar->layoutIn(w, AppBar::barHeight);

    keyboard->rescale(s);
    const int keyboardTop = (int)((float)collapsedKeyboardTop * s);
    editorArea = {0, AppBar::barHeight, w, juce::jmax(0, keyboardTop - AppBar::barHeight)};

    layoutPages(s);
    // Both end at the keyboard strip, or at the window's bottom when the strip is below it.
    const int pagesBottom = std::min(keyboardTop, h);
    if (bankPageShown)
        bankPage->layoutFor(w, std::max(0, pagesBottom - AppBar::barHeight - 1));
    if (writeDialog != nullptr)
        writeDialog->layoutFor(w, std::max(0, pagesBottom - AppBar::barHeight));

    // The zoom takes the whole window: its shade covers everything, a click anywhere outside the
    // enlarged section closes it.
    sectionZoom->setBounds(0, 0, w, h);
    if (sectionZoom->isVisible())
    {
        sectionZoom->showSection(sectionZoom->getCurrentSection(), w, h);
        sectionZoom->setVisible(true);
    }

    if (aboutPanel != nullptr)
        aboutPanel->setBounds(0, 0, w, h);
    if (messageBox != nullptr)
        messageBox->setBounds(0, 0, w, h);
    if (progressBar != nullptr)
        progressBar->setBounds(0, 0, w, h);
    if (midiSetup != nullptr)
        midiSetup->layoutFor(w, h);
    if (scanPanel != nullptr)
        scanPanel->setBounds(0, 0, w, h);
    keepFocusReachable();
}

//==== Notifications ==================================================================================

void MainComp::layoutPages(float s)
{
    if (bankPageShown)
    {
        sequencerPanel->setVisible(false);
        editorPanel->setBounds(0, AppBar::barHeight, editorArea.getWidth(), (int)(164.0f * s));
        editorPanel->setScale(s);
        editorPanel->setVisible(true);
    }
    else if (currentPage != sequencerPage)
    {
        sequencerPanel->setVisible(false);
        editorPanel->setBounds(editorArea);
        editorPanel->setScale(s);
        editorPanel->setVisible(true);
    }
    else
    {
        sequencerPanel->setBounds(editorArea);
        sequencerPanel->setScale(s);
        sequencerPanel->setVisible(true);
        // A small preview of the editor beside the overview of the tracks.
        editorPanel->setBounds((int)(700.0f * s), (int)(200.0f * s) + AppBar::barHeight, (int)(456.0f * s),
                               (int)(264.0f * s));
        if (!sequencerPanel->isEditing())
        {
            editorPanel->setScale(s * 456.0f / (float)referenceWidth);
            editorPanel->setVisible(true);
        }
    }
    raiseKeyboard();
}

void MainComp::raiseKeyboard()
{
    keyboard->toFront(false);
    juce::Component* lowestOverlay = nullptr;
    for (juce::Component* overlay : {(juce::Component*)sectionZoom.get(), (juce::Component*)aboutPanel.get(),
                                     (juce::Component*)messageBox.get(), (juce::Component*)progressBar.get(),
                                     (juce::Component*)midiSetup.get(), (juce::Component*)scanPanel.get()})
        if (overlay != nullptr
            && (lowestOverlay == nullptr || getIndexOfChildComponent(overlay) < getIndexOfChildComponent(lowestOverlay)))
            lowestOverlay = overlay;
    if (lowestOverlay != nullptr && getIndexOfChildComponent(lowestOverlay) < getIndexOfChildComponent(keyboard.get()))
        keyboard->toBehind(lowestOverlay);
}

void MainComp::showPage(int page)
{
    if (page != editorPage && page != sequencerPage)
        return;
    // The editor's strip above the bank page still offers the sequencer: the page gives way.
    if (bankPageShown)
    {
        bankPageShown = false;
        bankPage->setVisible(false);
    }
    currentPage = page;
    layoutChildren();
}

void MainComp::handleSequencerChange()
{
    if (sequencerPanel->getChangeCode() == SeqPanel::overviewCode)
    {
        layoutChildren();
    }
    else if (sequencerPanel->getChangeCode() == SeqPanel::editTrackCode)
    {
        editorPanel->setTopLeftPosition(-2000, editorPanel->getY());
        editorPanel->setVisible(false);
        sequencerPanel->showTrack(sequencerPanel->getChangeTrack());
        keepFocusReachable();
    }
}

void MainComp::handleChannelCode(std::uint32_t code)
{
    // The status byte plus one sits above bit 20 (channels 1 to 16), so channel 16 reads right too.
    const auto status = (code >> 20) - 1;
    if ((status & 0xF0) == 0xB0)
    {
        if (((code >> 7) & 0x7F) == 1)
            keyboard->getModWheel().setValue((float)(code & 0x7F), false);
    }
    else if ((status & 0xF0) == 0xE0)
    {
        keyboard->getPitchWheel().setValue((float)((code >> 7) & 0x7F), false);
    }
}

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
    if (type < Notification::parameterChanged >> 24)
    {
        handleChannelCode(code);
        return;
    }
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
            if (midiSetup != nullptr)
                midiSetup->repaintGlobalPage();
            break;
        case 0x13:
            setStatus(offlineText);
            break;
        case 0x16:
            bankTransferEnded();
            break;
        case 0x17:
            if (progressBar != nullptr)
            {
                const int bank = (int)((code >> 8) & 0xFF);
                const int program = (int)(code & 0xFF);
                progressBar->setProgress(program, progressText(bank, program));
            }
            break;
        case 0x19:
            bankPage->relist();
            if (writeDialog != nullptr)
                writeDialog->relist();
            break;
        case 0x20:
            if (midiSetup != nullptr && midiSetup->getGlobalPage() != nullptr)
                midiSetup->getGlobalPage()->repaintControl((int)(code & 0x7F));
            break;
        case 0x22:
            if (libraryWindow != nullptr && libraryWindow->getContent().getPresetPage() != nullptr)
                libraryWindow->getContent().getPresetPage()->showCurrentPreset();
            break;
        case 0x30:
            showFileWriteFailure(code & 0xFF);
            break;
        case 0x31:
            if (scanPanel != nullptr)
                scanPanel->refresh();
            if (!state.getPortSearch().isRunning())
                showSetupPorts();
            break;
        case 0x32:
            showSetupPorts();
            showMessage("The MIDI output stopped responding: it was closed. Choose it again in MIDI setup once "
                        "the device is back.");
            break;
        default:
            // Notes, wheels, globals and presets belong to panels this editor does
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
    if (midiSetup != nullptr)
        midiSetup->setStatus(text);
}

void MainComp::refreshProgramDisplay(const ProgramSysex::Record& program)
{
    const int category = program[categoryParameter];
    editorPanel->getProgramDisplay().showProgram(state.currentBank.load(), state.currentProgramNumber.load(), category,
                                                 DSI_Program::decodeName(program.data(), program.size()),
                                                 ParDes::categoryName(category));
}

void MainComp::refreshAllControls()
{
    const auto program = state.getCurrentProgram();
    refreshProgramDisplay(program);
    for (int p = 0; p < numPanelParameters; ++p)
        if (auto* control = editorPanel->getControl(p))
        {
            // Forgotten first, so that the value is drawn again even when it did not change.
            control->clearShownValue();
            editorPanel->setControlValue(control, program[(size_t)p]);
        }
    editorPanel->repaintPanel();
    if (sectionZoom->isVisible())
        sectionZoom->refreshShown(program);
    sequencerPanel->refresh();
}

void MainComp::parameterChanged(int parameter, int value)
{
    if (parameter < 0 || parameter >= 200)
        return;
    if (parameter >= SeqSteps::firstStepParameter && parameter < SeqSteps::firstStepParameter + SeqSteps::numTracks * SeqSteps::numSteps)
    {
        const int step = parameter - SeqSteps::firstStepParameter;
        sequencerPanel->setStepValue(step / SeqSteps::numSteps, step % SeqSteps::numSteps, value);
    }
    else if (parameter < numPanelParameters)
    {
        editorPanel->setControlValue(editorPanel->getControl(parameter), value);
        sectionZoom->setControlValue(sectionZoom->getControl(parameter), value);
        sequencerPanel->setParameterValue(parameter, value);
    }
    else if (parameter == categoryParameter)
    {
        editorPanel->getProgramDisplay().showCategoryName(value, ParDes::categoryName(value));
    }
    else if (parameter >= firstNameParameter)
    {
        refreshProgramDisplay(state.getCurrentProgram());
    }
}

void MainComp::openSectionZoom(int section)
{
    // Checked before anything is switched off: a section that does not open must not leave the
    // editor panel frozen.
    if (!ControlTable::isZoomable(section))
        return;
    editorPanel->setRepaintEnabled(false);
    sectionZoom->setRepaintEnabled(true);
    sectionZoom->setBounds(getLocalBounds());
    sectionZoom->showSection(section, getWidth(), getHeight());
    for (int index : sectionZoom->getShownList())
    {
        auto* twin = sectionZoom->getControl(index);
        twin->clearShownValue();
        sectionZoom->setControlValue(twin, editorPanel->getControl(index)->getShownValue());
    }
    sectionZoom->toFront(false);
    sectionZoom->setVisible(true);
    keepFocusReachable();
}

void MainComp::closeSectionZoom()
{
    sectionZoom->setVisible(false);
    sectionZoom->setRepaintEnabled(false);
    editorPanel->setRepaintEnabled(true);
    keepFocusReachable(true);
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
            aboutPanel.reset();
        }
        keepFocusReachable(true);
        return;
    }

    aboutPanel = std::make_unique<AboutPanel>(timeMs);
    aboutPanel->setBounds(getLocalBounds());
    aboutPanel->setAlwaysOnTop(true);
    aboutPanel->addChangeListener(this);
    // Covers the editor and takes its clicks and keys. Not a modal state: that is process-wide and
    // would block every other instance of the plug-in.
    addAndMakeVisible(*aboutPanel);
    keepFocusReachable();
}

void MainComp::showMessage(const juce::String& text)
{
    presentMessage(text, nullptr);
}

void MainComp::presentMessage(const juce::String& text, std::function<void()> onYes)
{
    // Two failures in one pass (the banks and the settings on a full disk) must both be seen, and
    // a question asked meanwhile waits its turn with its answer.
    if (messageBox != nullptr)
    {
        const auto sameMessage = [&](const WaitingMessage& w) { return w.onYes == nullptr && w.text == text; };
        if (onYes == nullptr && ((pendingAnswer == nullptr && messageBox->getText() == text)
                                 || std::any_of(waitingMessages.begin(), waitingMessages.end(), sameMessage)))
            return;
        waitingMessages.push_back({text, std::move(onYes)});
        return;
    }
    messageBox = std::make_unique<MsgCont>(text, getWidth(), getHeight());
    addAndMakeVisible(*messageBox);
    messageBox->toFront(false);
    messageBox->getOkButton().addListener(this);
    messageBox->getCancelButton().addListener(this);
    messageBox->getCancelButton().setVisible(onYes != nullptr);
    pendingAnswer = std::move(onYes);
    keepFocusReachable();
}

void MainComp::askQuestion(const juce::String& text, std::function<void()> onYes)
{
    presentMessage(text, std::move(onYes));
}

void MainComp::removeMessageBox(const MsgCont* answered)
{
    if (messageBox == nullptr || messageBox.get() != answered)
        return;
    // A question closed without OK is answered no.
    pendingAnswer = nullptr;
    messageBox->setVisible(false);
    messageBox.reset();
    if (!waitingMessages.empty())
    {
        auto next = std::move(waitingMessages.front());
        waitingMessages.erase(waitingMessages.begin());
        presentMessage(next.text, std::move(next.onYes));
        return;
    }
    keepFocusReachable(true);
}

BankTransmitter& MainComp::getBankTransmitter() noexcept
{
    return state.getBankTransfers().getTransmitter();
}

void MainComp::startBankTransfer(int mode, int bank)
{
    // Factory programs standing in for unread user banks would overwrite the instrument's own.
    if (BankTransfers::isTransmitMode(mode) && state.areUserBanksStandIns())
    {
        askQuestion("The user banks could not be read: these are the factory programs in their place. Send them to "
                    "the Mopho x4 anyway, over its user banks?",
                    [safe = juce::Component::SafePointer<MainComp>(this), mode, bank] {
                        if (safe != nullptr)
                            safe->beginBankTransfer(mode, bank);
                    });
        return;
    }
    beginBankTransfer(mode, bank);
}

void MainComp::beginBankTransfer(int mode, int bank)
{
    const bool transmit = BankTransfers::isTransmitMode(mode);
    switch (state.getBankTransfers().start(mode, bank))
    {
        case BankTransfers::Start::started:
            showProgressBar();
            break;
        case BankTransfers::Start::noOutput:
            showMessage(transmit ? "No MIDI output is open: nothing was transmitted."
                                 : "No MIDI output is open: nothing was requested.");
            break;
        case BankTransfers::Start::busy:
            showMessage("A bank transfer is running: cancel it first.");
            break;
        case BankTransfers::Start::refused:
            showMessage(transmit ? "The bank was not transmitted: only user banks go to the synthesizer, and nothing "
                                   "while a port search runs."
                                 : "The bank was not requested: nothing goes to the synthesizer while a port search "
                                   "runs.");
            break;
    }
}

void MainComp::endBankTransfer()
{
    state.getBankTransfers().cancel();
    state.getBankTransfers().takeReport();
    removeProgressBar();
}

void MainComp::showProgressBar()
{
    if (progressBar == nullptr)
    {
        progressBar = std::make_unique<ProgBar>(getWidth(), getHeight());
        addAndMakeVisible(*progressBar);
        progressBar->getCancelButton()->addChangeListener(this);
    }
    progressBar->toFront(false);
    const auto at = state.getBankTransfers().getProgress();
    if (at.bank >= 0)
        progressBar->setProgress(at.program, progressText(at.bank, at.program));
    keepFocusReachable();
}

void MainComp::removeProgressBar()
{
    if (progressBar == nullptr)
        return;
    progressBar->setVisible(false);
    progressBar.reset();
    keepFocusReachable(true);
}

void MainComp::bankTransferEnded()
{
    // An end posted before a new transfer started (while the editor was closed) is not its end.
    if (state.getBankTransfers().isActive())
        return;
    removeProgressBar();
    showTransferReport(false);
}

void MainComp::showTransferReport(bool opening)
{
    const auto text = transferReportText(state.getBankTransfers().takeReport(), opening);
    if (text.isNotEmpty())
        showMessage(text);
}

juce::String MainComp::transferReportText(const BankTransfers::Report& report, bool whileClosed)
{
    const auto& at = report.progress;
    const bool receive = BankTransfers::isReceiveMode(at.mode);
    const juce::String programs = juce::String(at.count) + (at.count == 1 ? " program" : " programs");
    const juce::String last = at.bank >= 0 ? " (the last " + progressText(at.bank, at.program) + ")" : juce::String();
    switch (report.ending)
    {
        case BankTransfers::Ending::finished:
            // Seen as it happened, the bar going away says it all.
            if (!whileClosed)
                return {};
            return receive ? "The bank receive finished while the editor was closed: " + programs + " received."
                           : "The bank transmission finished while the editor was closed: " + programs + " sent.";
        case BankTransfers::Ending::noAnswer:
            return "The synthesizer stopped answering: the bank receive ended after " + programs + last
                   + ". What arrived is kept.";
        case BankTransfers::Ending::outputLost:
            return receive ? "The MIDI output closed: the bank receive stopped after " + programs + last
                                 + ". What arrived is kept."
                           : "The MIDI output closed: the transmission stopped after " + programs + last
                                 + ". The synthesizer holds the rest of its bank as it was.";
        case BankTransfers::Ending::none:
        case BankTransfers::Ending::cancelled:
            break;
    }
    return {};
}

void MainComp::handleSetupCommand(int command, int value)
{
    auto& settings = state.getSettings();
    const auto saveSettings = [&] {
        if (!settings.saveSettings())
            showFileWriteFailure(Notification::settingsFile);
    };
    const auto linkTestAndSave = [&] {
        state.requestGlobalDump();
        saveSettings();
    };
    switch (command)
    {
        case MIDI_Setup::hostToOutToggled:
            state.forwardHostMidi = value != 0;
            settings.setEntry(SettingsList::forwardHostMidiEntry, value != 0 ? "1" : "0");
            linkTestAndSave();
            break;
        case MIDI_Setup::okPressed:
            linkTestAndSave();
            // With the write dialog open the panel stays, and so does its flag: the next MIDI
            // press must close this panel, not build a second one over it.
            if (!writeDialogShown)
                toggleMidiSetup(false);
            break;
        case MIDI_Setup::clockToggled:
            state.clockOutEnabled = value != 0;
            settings.setEntry(SettingsList::midiClockEntry, value != 0 ? "1" : "0");
            linkTestAndSave();
            break;
        case MIDI_Setup::inToHostToggled:
            state.thruToHost = value != 0;
            settings.setEntry(SettingsList::thruToHostEntry, value != 0 ? "1" : "0");
            linkTestAndSave();
            break;
        case MIDI_Setup::inputChosen:
            state.selectInputPort(value);
            showSetupPorts();
            linkTestAndSave();
            break;
        case MIDI_Setup::outputChosen:
            state.selectOutputPort(value);
            showSetupPorts();
            linkTestAndSave();
            break;
        case MIDI_Setup::searchPressed:
            toggleScan(true);
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
        // Removed after the button has finished reporting; only that box, not one shown meanwhile
        // (a box already removed reads as null, so a second OK never removes the next one). The
        // answer acts once the box is gone.
        auto answer = id == MsgCont::okCode ? std::exchange(pendingAnswer, nullptr) : std::function<void()>();
        juce::MessageManager::callAsync([safe = juce::Component::SafePointer<MainComp>(this),
                                         answered = juce::Component::SafePointer<MsgCont>(messageBox.get()),
                                         answer] {
            if (safe == nullptr || answered == nullptr)
                return;
            safe->removeMessageBox(answered.getComponent());
            if (answer)
                answer();
        });
        return;
    }
    // One full page at a time: the MIDI setup and the bank page replace each other. Neither opens
    // over the write dialog, which holds the edit being stored.
    if (id == AppBar::midiCode)
    {
        if (writeDialogShown)
            return;
        if (!midiSetupShown && bankPageShown)
            toggleBankPage(false);
        toggleMidiSetup(!midiSetupShown);
        return;
    }
    if (id == AppBar::bankCode)
    {
        if (writeDialogShown)
            return;
        if (!bankPageShown && midiSetupShown)
            handleSetupCommand(MIDI_Setup::okPressed, 0);
        toggleBankPage(!bankPageShown);
        return;
    }
    if (id == AppBar::writeCode)
    {
        toggleWriteDialog(!writeDialogShown);
        return;
    }
    for (int i = 0; i < AppBar::numButtons; ++i)
        if (appBar->getButton(i).getId() == id && commands->barButtonPressed(id, &appBar->getButton(i)))
            return;
}

void MainComp::stsbutChanged(StsBut* button)
{
    if (button == &editorPanel->getSequencerButton())
    {
        showPage(sequencerPage);
        return;
    }
    if (button == &sequencerPanel->getProgramButton())
    {
        showPage(editorPage);
        return;
    }
    if (button == &bankPage->getOkButton())
    {
        if (bankPageShown)
            toggleBankPage(false);
        return;
    }
    if (writeDialog != nullptr && button == &writeDialog->getWriteButton())
    {
        writeProgram();
        return;
    }
    if (writeDialog != nullptr && button == &writeDialog->getCancelButton())
    {
        toggleWriteDialog(false);
        return;
    }
    if (progressBar != nullptr && button == progressBar->getCancelButton())
        juce::MessageManager::callAsync([safe = juce::Component::SafePointer<MainComp>(this)] {
            if (safe != nullptr)
                safe->endBankTransfer();
        });
}

void MainComp::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == editorPanel.get())
    {
        const int code = editorPanel->getSectionRequestCode();
        if (code >= ControlTable::sectionRequestBase)
            openSectionZoom(code - ControlTable::sectionRequestBase);
        return;
    }
    if (source == sectionZoom.get())
    {
        closeSectionZoom();
        return;
    }
    if (source == bankPage.get())
    {
        handleBankPageCode();
        return;
    }
    if (source == sequencerPanel.get())
    {
        handleSequencerChange();
        return;
    }
    if (source == keyboard.get())
    {
        raiseKeyboard();
        return;
    }
    if (source == &appBar->getMenuButton())
    {
        showLibraryWindow();
        return;
    }
    if (source == &appBar->getChannelLabel())
    {
        commands->openChannelMenu(&appBar->getChannelLabel());
        return;
    }
    if (source == &editorPanel->getProgramDisplay())
    {
        if (editorPanel->getProgramDisplay().getZone() == LCD_Comp::placeZone)
            commands->openProgramSelectMenu();
        if (editorPanel->getProgramDisplay().getZone() == LCD_Comp::categoryZone)
            CategoryMenu::chooseCategory(*this, [](MainComp& main, int category) {
                main.processor.setParameterFromEditor(categoryParameter, category, true, true);
            });
        return;
    }
    if (midiSetup != nullptr && source == midiSetup.get())
    {
        handleSetupCommand(midiSetup->getCommand(), midiSetup->getValue());
        return;
    }
    if (midiSetup != nullptr && source == &midiSetup->getSync())
    {
        latencyChanged();
        return;
    }
    if (scanPanel != nullptr && source == scanPanel.get())
    {
        toggleScan(false);
        return;
    }
    // Closed even over the write dialog: it covers the whole window, nothing else could be reached.
    if (aboutPanel != nullptr && source == aboutPanel.get())
        toggleAbout(false, 0);
}

void MainComp::winToolChanged(WinMovCan* handle, int code)
{
    if (libraryWindow != nullptr && handle == &libraryWindow->getContent().getCloseHandle() && code == WinMovCan::closeCode)
        libraryWindow->setVisible(false);
}

void MainComp::showLibraryWindow()
{
    if (libraryWindow == nullptr)
    {
        const auto file = state.getSettings().getFile().getSiblingFile(SettingsFolder::libraryFileName);
        libraryWindow = std::make_unique<Lib_Manager_Win>(processor, *commands, file);
        libraryWindow->getContent().getCloseHandle().addListener(this);
    }
    libraryWindow->bringUp();
}

//==== MIDI setup and port search =====================================================================

void MainComp::toggleMidiSetup(bool on)
{
    midiSetupShown = on;
    if (!on)
    {
        if (!state.getPorts().savePortFile())
            showFileWriteFailure(Notification::portFile);
        if (midiSetup != nullptr)
        {
            midiSetup->getSync().removeChangeListener(this);
            midiSetup->removeChangeListener(this);
            removeLater(std::move(midiSetup));
        }
        keepFocusReachable(true);
        return;
    }
    if (midiSetup != nullptr)
    {
        midiSetup->toFront(false);
        keepFocusReachable();
        return;
    }

    midiSetup = std::make_unique<MIDI_Setup>(state);
    midiSetup->addChangeListener(this);
    auto& ports = state.getPorts();
    midiSetup->setPortLists(ports.getInputNames(), ports.getOutputNames());
    showSetupPorts();
    midiSetup->setCheckStates(state.clockOutEnabled.load(), state.forwardHostMidi.load(), state.thruToHost.load());
    addAndMakeVisible(*midiSetup);
    midiSetup->toFront(false);
    midiSetup->layoutFor(getWidth(), getHeight());
    // Shown, not written back: opening the panel changes no setting.
    midiSetup->getSync().setLatencyState(state.getLatencyMode(), state.getSampleRateIndex(), state.getLatencyTable());
    midiSetup->getSync().addChangeListener(this);
    // Above the panel, a search in progress stays in front.
    if (scanPanel != nullptr)
        scanPanel->toFront(false);
    raiseKeyboard();
    state.requestGlobalDump();
    keepFocusReachable();
}

void MainComp::showSetupPorts()
{
    if (midiSetup == nullptr)
        return;
    const auto& ports = state.getPorts();
    midiSetup->setInputPort(ports.inputIndex + 1, ports.isInputOpen());
    midiSetup->setOutputPort(ports.outputIndex + 1, ports.isOutputOpen());
}

void MainComp::latencyChanged()
{
    const auto& sync = midiSetup->getSync();
    state.setLatency(sync.getLatencyMode(), sync.getLatencyTable());
    // Saved when the slider is let go, not only at shut-down.
    if (sync.wasReleased() && state.getSettings().hasUnsavedChanges() && !state.getSettings().saveSettings())
        showFileWriteFailure(Notification::settingsFile);
}

void MainComp::toggleScan(bool on)
{
    if (!on)
    {
        state.getPortSearch().cancel();
        if (scanPanel != nullptr)
        {
            scanPanel->removeChangeListener(this);
            removeLater(std::move(scanPanel));
        }
        keepFocusReachable(true);
        return;
    }
    if (scanPanel == nullptr)
    {
        scanPanel = std::make_unique<MIDI_scan>(state);
        scanPanel->setBounds(getLocalBounds());
        scanPanel->setAlwaysOnTop(true);
        scanPanel->addChangeListener(this);
        addAndMakeVisible(*scanPanel);
    }
    scanPanel->toFront(false);
    state.getPortSearch().start();
    scanPanel->refresh();
    keepFocusReachable();
}

void MainComp::removeLater(std::unique_ptr<juce::Component> overlay)
{
    overlay->setVisible(false);
    removeChildComponent(overlay.get());
    removedOverlays.push_back(std::move(overlay));
    juce::MessageManager::callAsync([safe = juce::Component::SafePointer<MainComp>(this)] {
        if (safe != nullptr)
            safe->removedOverlays.clear();
    });
}

//==== Bank page and write dialog =====================================================================

void MainComp::toggleBankPage(bool on)
{
    if (currentPage != editorPage)
    {
        if (sequencerPanel->isEditing())
            sequencerPanel->showOverview();
        currentPage = editorPage;
    }
    bankPageShown = on;
    if (on)
    {
        bankPage->showFor(state.useLoadedData.load(), state.currentBank.load(), state.currentProgramNumber.load());
        bankPage->setVisible(true);
        bankPage->toFront(false);
    }
    else
    {
        bankPage->setVisible(false);
    }
    layoutChildren();
    keepFocusReachable(!on);
}

void MainComp::handleBankPageCode()
{
    const int code = bankPage->getCode();
    if (code == BankComp::useLoadedDataCode)
    {
        // Taken from the switch rather than inverted: two presses reported as one change
        // message must not leave the flag and the switch disagreeing.
        state.useLoadedData = bankPage->isUsingLoadedData();
        return;
    }
    auto& grid = bankPage->getGrid();
    commands->bankPageCommand(code, bankPage->getCommandButton(code), grid.getSelectedBank(), grid.getSelectedProgram());
}

void MainComp::toggleWriteDialog(bool on)
{
    writeDialogShown = on;
    if (!on)
    {
        if (writeDialog != nullptr)
        {
            writeDialog->getWriteButton().removeChangeListener(this);
            writeDialog->getCancelButton().removeChangeListener(this);
            removeLater(std::move(writeDialog));
        }
        keepFocusReachable(true);
        return;
    }
    // The dialog takes the MIDI setup's place (as its OK would close it); a bank page stays under
    // it, wholly covered, and is back when the dialog goes.
    if (midiSetupShown)
    {
        writeDialogShown = false;
        handleSetupCommand(MIDI_Setup::okPressed, 0);
        writeDialogShown = true;
    }
    if (writeDialog == nullptr)
    {
        // The dialog offers the edits' name and category; WRITE stores the edits.
        processor.setComparing(false);
        const auto program = state.getCurrentProgram();
        writeDialog = std::make_unique<WriteSnd>(state, state.currentBank.load(), state.currentProgramNumber.load(),
                                                 DSI_Program::decodeName(program.data(), program.size()),
                                                 program[(size_t)categoryParameter]);
        writeDialog->getWriteButton().addChangeListener(this);
        writeDialog->getCancelButton().addChangeListener(this);
        addAndMakeVisible(*writeDialog);
    }
    writeDialog->toFront(false);
    layoutChildren();
    keepFocusReachable();
}

void MainComp::writeProgram()
{
    // A name typed but not yet confirmed is the one the user means.
    writeDialog->confirmTypedName();
    // On success the command closes the dialog through closeWriteDialog, after this button's call.
    WriteCommand::write(commands->getContext(), writeDialog->getBank(), writeDialog->getProgram(),
                        writeDialog->getName(), writeDialog->getCategory());
}

} // namespace zarnel

namespace zarnel
{

//==== Keyboard focus =================================================================================

juce::Component* MainComp::getTopOverlay() const
{
    juce::Component* top = nullptr;
    for (juce::Component* overlay :
         {(juce::Component*)messageBox.get(), (juce::Component*)progressBar.get(), (juce::Component*)aboutPanel.get(),
          (juce::Component*)scanPanel.get(), (juce::Component*)midiSetup.get(), (juce::Component*)writeDialog.get(),
          (juce::Component*)sectionZoom.get()})
        if (overlay != nullptr && overlay->isVisible() && overlay->getParentComponent() == this
            && (top == nullptr || getIndexOfChildComponent(overlay) > getIndexOfChildComponent(top)))
            top = overlay;
    return top;
}

std::vector<const juce::Component*> MainComp::getCovers() const
{
    if (bankPageShown && bankPage->isVisible())
        return {bankPage.get()};
    return {};
}

EditorFocusTraverser MainComp::makeFocusTraverser()
{
    return EditorFocusTraverser(
        *this, [this] { return getTopOverlay(); }, [this] { return getCovers(); });
}

std::unique_ptr<juce::ComponentTraverser> MainComp::createKeyboardFocusTraverser()
{
    return std::make_unique<EditorFocusTraverser>(makeFocusTraverser());
}

OverlayKeyTrap::Answers MainComp::answersFor(juce::Component& overlay)
{
    const juce::Component::SafePointer<MainComp> safe(this);
    if (&overlay == messageBox.get())
        return {[safe] { if (safe != nullptr) safe->stsbutPressed(MsgCont::cancelCode); },
                [safe] { if (safe != nullptr) safe->stsbutPressed(MsgCont::okCode); },
                messageBox->getOkButton().getInnerButton()};
    if (&overlay == progressBar.get())
        // Return never stops a transfer: only Escape or CANCEL itself does.
        return {[safe] {
                    if (safe != nullptr && safe->progressBar != nullptr)
                        safe->stsbutChanged(safe->progressBar->getCancelButton());
                },
                {}};
    if (&overlay == aboutPanel.get())
    {
        auto close = [safe] { if (safe != nullptr) safe->toggleAbout(false, 0); };
        return {close, close};
    }
    if (&overlay == writeDialog.get())
        return {[safe] { if (safe != nullptr) safe->toggleWriteDialog(false); },
                [safe] {
                    if (safe != nullptr && safe->writeDialog != nullptr)
                        safe->writeProgram();
                },
                &writeDialog->getWriteButton()};
    if (&overlay == midiSetup.get())
        return {[safe] { if (safe != nullptr) safe->handleSetupCommand(MIDI_Setup::okPressed, 0); }, {}};
    if (&overlay == scanPanel.get())
        return {[safe] { if (safe != nullptr) safe->toggleScan(false); }, {}};
    if (&overlay == sectionZoom.get())
        return {[safe] { if (safe != nullptr) safe->closeSectionZoom(); }, {}};
    return {};
}

bool MainComp::windowKeyPressed(const juce::KeyPress& key)
{
    if (getTopOverlay() != nullptr)
        return overlayKeys->keyPressed(key, this);
    // With nothing focused JUCE does not walk Tab: the first (or last) stop takes the keys.
    if (key.isKeyCode(juce::KeyPress::tabKey) && juce::Component::getCurrentlyFocusedComponent() == nullptr)
    {
        auto traverser = makeFocusTraverser();
        const auto stops = traverser.getAllComponents(this);
        if (stops.empty())
            return false;
        auto* target = key.getModifiers().isShiftDown() ? stops.back() : stops.front();
        target->grabKeyboardFocus();
        return true;
    }
    return historyBar->keyPressed(key, this);
}

void MainComp::globalFocusChanged(juce::Component*)
{
    keepFocusReachable();
}

void MainComp::keepFocusReachable(bool overlayClosed)
{
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    auto* window = getTopLevelComponent();
    // Keys at another window (the library's, another instance's) are left alone.
    if (focused == nullptr ? (getPeer() == nullptr || !getPeer()->isFocused())
                           : (focused != window && !window->isParentOf(focused)))
        return;
    auto* overlay = getTopOverlay();
    const auto covers = getCovers();
    const auto reachable = [&](juce::Component* c) {
        return c != nullptr && isParentOf(c) && EditorFocusTraverser::takesFocus(*c, *this, overlay, covers);
    };
    auto* back = focusBeforeOverlay.getComponent();
    if (overlay == nullptr)
        focusBeforeOverlay = nullptr;
    if (overlay == nullptr && overlayClosed && reachable(back) && back != focused)
    {
        if (back->isShowing())
            back->grabKeyboardFocus();
        return;
    }
    if (overlay == nullptr && overlayClosed && !reachable(back))
    {
        // Nothing was focused before the overlay (or that is gone): the keys go back to the window
        // and the host's shortcuts, not to whichever control comes first.
        if (focused != nullptr && isParentOf(focused))
            focused->giveAwayKeyboardFocus();
        return;
    }
    if (reachable(focused) || (overlay == nullptr && (focused == nullptr || !isParentOf(focused))))
        return;
    // Where the user was, to go back there once the overlay is gone.
    if (overlay != nullptr && focused != nullptr && back == nullptr
        && EditorFocusTraverser::takesFocus(*focused, *this, nullptr, covers))
        focusBeforeOverlay = focused;
    auto* target = reachable(back)                               ? back
                   : overlay != nullptr && overlayKeys != nullptr ? overlayKeys->startOfOverlay()
                                                                  : makeFocusTraverser().entry();
    if (target == back)
        focusBeforeOverlay = nullptr;
    if (target != nullptr && target->isShowing())
        target->grabKeyboardFocus();
}

} // namespace zarnel
