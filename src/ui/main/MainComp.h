#pragma once

#include "AboutPanel.h"
#include "AppBar.h"
#include "EditorFocusTraverser.h"
#include "HistoryBar.h"
#include "MIDI_Setup.h"
#include "MIDI_scan.h"
#include "MsgCont.h"
#include "OverlayKeyTrap.h"
#include "WinMovCan.h"

#include "../editor/EditorPanel.h"
#include "../menus/MainCommands.h"
#include "../editor/FlashPanel.h"
#include "../keyboard/KeyBrd.h"
#include "../library/Lib_Manager_Win.h"
#include "../sequencer/SeqPanel.h"
#include "../widgets/LCD_Comp.h"
#include "../widgets/ProgBar.h"
#include "../widgets/StsBut.h"

#include "../../files/gui/BankComp.h"
#include "../../files/gui/WriteSnd.h"
#include "../../midi/BankTransfers.h"
#include "../../midi/MidiCntrStateListener.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace zarnel
{

class ZarnelAudioProcessor;
class MidiCntrState;

// Fills the editor window: owns every panel and overlay, lays them out for the window size,
// carries out the commands of its children and turns the controller state's notifications into
// display updates, on the message thread.
class MainComp : public juce::Component,
                 public stsbutListener,
                 public stsbutChangeListener,
                 public stateListener,
                 public juce::ChangeListener,
                 public MidiCntrStateListener,
                 public winToolListener,
                 private juce::AsyncUpdater,
                 private juce::FocusChangeListener
{
public:
    static constexpr int referenceWidth = 1191;
    static constexpr int referenceHeight = 700;
    static constexpr int editorPage = 97;
    static constexpr int sequencerPage = 98;

    static constexpr const char* onlineText = "DSI:  MOPHO X4 ON-LINE";
    static constexpr const char* offlineText = "OFF-LINE";

    explicit MainComp(ZarnelAudioProcessor& processor);
    ~MainComp() override;

    void resized() override;
    void paint(juce::Graphics& g) override;

    void layoutChildren();
    void handleStateCode(std::uint32_t code);
    // Takes every queued code and handles them in arrival order (the asynchronous update's work).
    void drainNotifications();
    void refreshAllControls();
    void parameterChanged(int parameter, int value);
    void showMessage(const juce::String& text);
    // A message with OK and CANCEL; onYes runs after OK, once the box is gone.
    void askQuestion(const juce::String& text, std::function<void()> onYes);
    // Opens the zoom on a section of the editor panel; sections that do not open change nothing.
    void openSectionZoom(int section);
    void closeSectionZoom();
    void showFileWriteFailure(std::uint32_t which);
    // The transfers run in the controller state; the editor shows their bar and how they ended.
    void startBankTransfer(int mode, int bank);
    // The user's cancel: the transfer stops and its bar goes.
    void endBankTransfer();
    void toggleAbout(bool on, int timeMs);
    void handleSetupCommand(int command, int value);
    // The MIDI setup panel: never a second one over the first.
    void toggleMidiSetup(bool on);
    // The port search with its panel: on starts the search (or shows the one running), off ends
    // it if it still runs and removes the panel.
    void toggleScan(bool on);
    // The library window: made on first use, then brought to the front; closing only hides it.
    void showLibraryWindow();
    Lib_Manager_Win* getLibraryWindow() noexcept { return libraryWindow.get(); }
    MIDI_Setup* getMidiSetup() noexcept { return midiSetup.get(); }
    bool isMidiSetupShown() const noexcept { return midiSetupShown; }
    MIDI_scan* getScanPanel() noexcept { return scanPanel.get(); }

    // The text of a bank transfer's progress: U1:1 .. U4:128, F1:1 .. F4:128.
    static juce::String progressText(int bank, int program);
    // What the user is told of a transfer's end; empty when the end needs no words. An end seen
    // while the editor was closed is told even when all went well.
    static juce::String transferReportText(const BankTransfers::Report& report, bool whileClosed);

    AppBar& getAppBar() noexcept { return *appBar; }
    HistoryBar& getHistoryBar() noexcept { return *historyBar; }
    AboutPanel* getAboutPanel() noexcept { return aboutPanel.get(); }
    MsgCont* getMessageBox() noexcept { return messageBox.get(); }
    ProgBar* getProgressBar() const noexcept { return progressBar.get(); }
    LCD_Comp& getProgramDisplay() noexcept { return editorPanel->getProgramDisplay(); }
    EditorPanel& getEditorPanel() noexcept { return *editorPanel; }
    FlashPanel& getSectionZoom() noexcept { return *sectionZoom; }
    SeqPanel& getSequencerPanel() noexcept { return *sequencerPanel; }
    KeyBrd& getKeyboard() noexcept { return *keyboard; }
    // The editor page (97) or the sequencer page (98), laid out at once.
    void showPage(int page);
    MainCommands& getCommands() noexcept { return *commands; }
    BankTransmitter& getBankTransmitter() noexcept;
    bool isWriteDialogShown() const noexcept { return writeDialogShown; }
    // The bank page over the editor, or hidden (it stays in existence).
    void toggleBankPage(bool on);
    bool isBankPageShown() const noexcept { return bankPageShown; }
    BankComp& getBankPage() noexcept { return *bankPage; }
    // The write dialog for the edited program, or removed once its button has finished reporting.
    void toggleWriteDialog(bool on);
    WriteSnd* getWriteDialog() noexcept { return writeDialog.get(); }
    float getScale() const noexcept;
    int getCurrentPage() const noexcept { return currentPage; }
    // The place the editor panel takes, in this component's coordinates.
    juce::Rectangle<int> getEditorArea() const noexcept { return editorArea; }

    // The overlay that holds the keys now (the topmost open one), or nullptr: a message or
    // question, the progress bar, the about panel, the port search, the MIDI setup, the write
    // dialog or the section zoom.
    juce::Component* getTopOverlay() const;
    // Pages laid over others that hide what is behind them but leave the rest of the window to the
    // keys: the bank page, while shown.
    std::vector<const juce::Component*> getCovers() const;
    // Tab reaches only what is on screen and not covered, and stays inside an open overlay.
    std::unique_ptr<juce::ComponentTraverser> createKeyboardFocusTraverser() override;
    EditorFocusTraverser makeFocusTraverser();
    // What Escape and Return do in the overlay.
    OverlayKeyTrap::Answers answersFor(juce::Component& overlay);
    OverlayKeyTrap& getOverlayKeys() noexcept { return *overlayKeys; }
    // A key that reached the window itself with no control focused: the overlay's first, then the
    // editor's shortcuts. True when used.
    bool windowKeyPressed(const juce::KeyPress& key);

    // Listener callbacks.
    void stsbutPressed(int id) override;
    void stsbutChanged(StsBut* button) override;
    void stateChanged() override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void midiCntrStateChanged(MidiCntrState& state) override;
    void winToolChanged(WinMovCan* handle, int code) override;

private:
    void handleAsyncUpdate() override;
    void setStatus(const juce::String& text);
    // Removes the box that was answered, if it is still the one shown, and shows the next.
    void removeMessageBox(const MsgCont* answered);
    // Shows a message (no onYes) or a question, or lets it wait while another box is open.
    void presentMessage(const juce::String& text, std::function<void()> onYes);
    void refreshProgramDisplay(const ProgramSysex::Record& program);
    void layoutPages(float scale);
    // The keyboard strip in front of the pages, behind whatever covers them.
    void raiseKeyboard();
    // Notes, controllers and wheels reported by the instrument or the host.
    void handleChannelCode(std::uint32_t code);
    void handleSequencerChange();
    void showSetupPorts();
    void latencyChanged();
    // Hidden now and deleted from the message queue: the overlay may be inside its own callback.
    void removeLater(std::unique_ptr<juce::Component> overlay);
    void handleBankPageCode();
    // The bar of the running transfer, at its current progress.
    void showProgressBar();
    // Starts a transfer the user has agreed to.
    void beginBankTransfer(int mode, int bank);
    void removeProgressBar();
    void bankTransferEnded();
    // How the last transfer ended, if nobody was told yet.
    void showTransferReport(bool opening);
    void writeProgram();
    void globalFocusChanged(juce::Component* focused) override;
    // Focus never stays where it may not be: under an overlay it goes into it, off the screen to
    // the first stop; when an overlay closes it goes back where the user was before it opened.
    void keepFocusReachable(bool overlayClosed = false);

    ZarnelAudioProcessor& processor;
    MidiCntrState& state;

    std::unique_ptr<AppBar> appBar;
    std::unique_ptr<HistoryBar> historyBar;
    std::unique_ptr<EditorPanel> editorPanel;
    std::unique_ptr<FlashPanel> sectionZoom;
    std::unique_ptr<SeqPanel> sequencerPanel;
    std::unique_ptr<KeyBrd> keyboard;
    std::unique_ptr<AboutPanel> aboutPanel;
    std::unique_ptr<MsgCont> messageBox;
    struct WaitingMessage
    {
        juce::String text;
        std::function<void()> onYes; // set for a question
    };
    std::vector<WaitingMessage> waitingMessages; // shown one after another, each until it is answered
    std::unique_ptr<ProgBar> progressBar;
    std::unique_ptr<MainCommands> commands;
    std::function<void()> pendingAnswer; // of the question shown
    std::unique_ptr<MIDI_Setup> midiSetup;
    std::unique_ptr<MIDI_scan> scanPanel;
    std::vector<std::unique_ptr<juce::Component>> removedOverlays;
    std::unique_ptr<BankComp> bankPage;
    std::unique_ptr<WriteSnd> writeDialog;
    std::unique_ptr<OverlayKeyTrap> overlayKeys;
    juce::Component::SafePointer<juce::Component> focusBeforeOverlay;
    // Last, so it goes first: its pages use the commands' choosers.
    std::unique_ptr<Lib_Manager_Win> libraryWindow;

    juce::Rectangle<int> editorArea;
    int currentPage = editorPage;
    bool aboutShown = false;
    bool writeDialogShown = false;
    bool midiSetupShown = false;
    bool bankPageShown = false;
    bool built = false;

    friend struct MainCompTestAccess;
};

} // namespace zarnel
