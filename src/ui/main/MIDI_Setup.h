#pragma once

#include "Global_Container.h"
#include "Global_Listener.h"
#include "MIDI_Sync.h"
#include "PortField.h"

#include "../widgets/Check_But.h"
#include "../widgets/StsBut.h"
#include "../widgets/StsLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

class MidiCntrState;

// The overlay where the user picks the MIDI ports to the synthesizer, the clock and thru
// switches and the output latency, sees whether the synthesizer answers, starts the automatic
// search and opens the global settings page. It changes nothing itself: each choice is reported
// as a command and a value (read at once by the main component, which carries it out).
// It keeps the keyboard while shown: Escape closes the global page, then the panel (as OK does),
// Return answers OK. A window too small for it gets the whole panel scaled down to fit.
class MIDI_Setup : public juce::Component,
                   private juce::Timer,
                   public juce::ChangeListener,
                   public juce::ChangeBroadcaster,
                   public stsbutChangeListener,
                   public Global_Listener
{
public:
    enum Command
    {
        inputChosen = 300,
        outputChosen = 302,
        clockToggled = 206,
        hostToOutToggled = 202,
        inToHostToggled = 210,
        okPressed = 203,
        searchPressed = 310
    };
    static constexpr int okCode = 1111;
    static constexpr int globalsCode = 999;
    static constexpr int searchCode = 998;
    static constexpr int globalPageCloseDelayMs = 100;
    // What the panel needs, unscaled: the main box with the instructions, or with the global page.
    static constexpr int contentWidth = 829;
    static constexpr int contentHeight = 485;
    static constexpr int contentHeightWithGlobals = 610;

    enum PortBox
    {
        noBox = 0,
        inputBox = 1,
        outputBox = 2
    };

    static constexpr const char* initialStatus = "------";
    static const char* const instructions;

    explicit MIDI_Setup(MidiCntrState& state);
    ~MIDI_Setup() override;

    // Each list becomes "NONE" followed by the names.
    void setPortLists(const juce::StringArray& inputs, const juce::StringArray& outputs);
    void setInputPort(int position, bool open);
    void setOutputPort(int position, bool open);
    void setCheckStates(bool clock, bool hostToOut, bool inToHost);
    void setStatus(const juce::String& text);
    // Over the main component's (width, height), below the application bar; scaled down only
    // when the window is too small for it.
    void layoutFor(int width, int height);
    float getScale() const noexcept { return scale; }

    int getCommand() const noexcept { return command; }
    int getValue() const noexcept { return value; }

    // Which port box a press at (x, y) opens.
    static PortBox portBoxAt(int x, int y) noexcept;
    // The port menu of a box: items 1..n are the list's entries, "NONE" first. Empty when the
    // list holds only "NONE" (no menu opens then).
    juce::PopupMenu createPortMenu(PortBox box) const;
    void portChosen(PortBox box, int result);

    // GLOBALS: opens the page, or closes a shown one at once.
    void toggleGlobalPage();
    bool isGlobalPageShown() const noexcept { return globalPage != nullptr; }
    Global_Container* getGlobalPage() noexcept { return globalPage.get(); }
    void repaintGlobalPage();

    MIDI_Sync& getSync() noexcept { return sync; }
    const StsLabel& getStatusLabel() const noexcept { return statusLabel; }
    StsBut& getOkButton() noexcept { return okButton; }
    StsBut& getGlobalsButton() noexcept { return globalsButton; }
    StsBut& getSearchButton() noexcept { return searchButton; }
    Check_But& getClockBox() noexcept { return clockBox; }
    Check_But& getHostToOutBox() noexcept { return hostToOutBox; }
    Check_But& getInToHostBox() noexcept { return inToHostBox; }
    PortField& getPortField(PortBox box) noexcept { return box == outputBox ? outputField : inputField; }
    int getInputPosition() const noexcept { return inputPosition; }
    int getOutputPosition() const noexcept { return outputPosition; }
    bool isInputShownOpen() const noexcept { return inputOpen; }
    bool isOutputShownOpen() const noexcept { return outputOpen; }
    bool areInstructionsVisible() const noexcept { return instructionsLabel.isVisible(); }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void stsbutChanged(StsBut* button) override;
    void globalPageMessage(int code, int value) override;

private:
    void timerCallback() override;
    void report(int newCommand, int newValue);
    void closeGlobalPage();
    void showPorts();
    void openPortMenu(PortBox box, bool atMouse);
    void stepPort(PortBox box, int step);

    MidiCntrState& state;
    juce::StringArray inputNames{"NONE"}, outputNames{"NONE"};
    int inputPosition = 0, outputPosition = 0;
    bool inputOpen = false, outputOpen = false;
    int command = 0, value = 0;
    int laidOutWidth = 0, laidOutHeight = 0;
    float scale = 1.0f;

    StsLabel statusLabel;
    StsBut okButton{"OK", okCode, StsBut::dialog};
    StsBut globalsButton{"GLOBALS", globalsCode, StsBut::dialog};
    StsBut searchButton{"SEARCH", searchCode, StsBut::dialog};
    Check_But clockBox, hostToOutBox, inToHostBox;
    PortField inputField{"MIDI In port"}, outputField{"MIDI Out port"};
    juce::Label instructionsLabel;
    MIDI_Sync sync;
    std::unique_ptr<Global_Container> globalPage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MIDI_Setup)
};

} // namespace zarnel
