#include "MIDI_Setup.h"

#include "FitScale.h"
#include "../widgets/TipText.h"

#include "../look/AsyncMenu.h"
#include "../look/ZarnelLookAndFeel.h"

#include "../../midi/MidiCntrState.h"

#include <climits>
#include <cmath>

namespace zarnel
{

namespace
{
constexpr int boxLeft = 61, boxRight = 349; // the port boxes take presses from here to there
constexpr int inputBoxY = 80, outputBoxY = 130;
const juce::Colour panelFill(0xdd15222a), panelEdge(0xdd457089), captionColour(0xfff3f3f3);
} // namespace

const char* const MIDI_Setup::instructions =
    "  Mopho global settings should be set manually as follows:\n\n  MIDI Channel = All channels\n  MIDI sysex "
    "send/receive = ON\n  MIDI Controller Send = ON\n  MIDI Controller Receive = ON\n  Parameter send = NRPN\n  "
    "Parameter Receive = ALL\n  MIDI Out select = OUT\n";

MIDI_Setup::MIDI_Setup(MidiCntrState& s) : state(s)
{
    statusLabel.configure(initialStatus, "Arial", 13.0f, juce::Justification::centred);
    addAndMakeVisible(statusLabel);

    for (auto* button : {&okButton, &globalsButton, &searchButton})
    {
        button->configure(0, 0, 74, 18, true);
        button->addChangeListener(this);
        addAndMakeVisible(*button);
    }

    clockBox.configure("Clock ON/OFF", 0, 300, 14.0f);
    hostToOutBox.configure("THRU: Host -> MIDI Out Port", 0, 300, 13.0f);
    inToHostBox.configure("THRU: MIDI In Port -> Host", 0, 300, 13.0f);
    for (auto* box : {&clockBox, &hostToOutBox, &inToHostBox})
    {
        box->addChangeListener(this);
        addAndMakeVisible(*box);
    }

    instructionsLabel.setText(instructions, juce::dontSendNotification);
    instructionsLabel.setFont(ZarnelLookAndFeel::arial(14.0f));
    instructionsLabel.setJustificationType(juce::Justification::centredLeft);
    instructionsLabel.setColour(juce::Label::textColourId, juce::Colour(0xffdddddd));
    instructionsLabel.setInterceptsMouseClicks(false, false);
    addAndMakeVisible(instructionsLabel);

    addAndMakeVisible(sync);

    for (auto* field : {&inputField, &outputField})
    {
        const auto box = field == &inputField ? inputBox : outputBox;
        field->setBounds(60, box == inputBox ? inputBoxY : outputBoxY, 290, 24);
        field->onMenu = [this, box] { openPortMenu(box, false); };
        field->onStep = [this, box](int step) { stepPort(box, step); };
        // Its clicks are judged by the panel, which knows where a box takes presses.
        field->addMouseListener(this, false);
        addAndMakeVisible(*field);
    }
    showPorts();

    TipText::set(inputField, "MIDI In port: the input the Mopho x4's answers arrive on; click or press Space to "
                               "choose it, Up and Down step through the ports.");
    TipText::set(outputField, "MIDI Out port: the output that leads to the Mopho x4; click or press Space to choose "
                                "it, Up and Down step through the ports.");
    TipText::set(okButton, "OK: closes the MIDI setup (Return or Escape).");
    TipText::set(globalsButton, "GLOBALS: shows or hides the Mopho x4's global settings, read from the instrument.");
    TipText::set(searchButton, "SEARCH: tries every pair of MIDI ports until the Mopho x4 answers and keeps the "
                                 "pair that works.");
    TipText::set(clockBox, "Clock ON/OFF: sends MIDI clock from the host's transport to the MIDI Out port.");
    TipText::set(hostToOutBox, "THRU Host to MIDI Out: passes the host's MIDI for this track on to the MIDI Out "
                                 "port.");
    TipText::set(inToHostBox, "THRU MIDI In to Host: passes what arrives at the MIDI In port on to the host.");
    TipText::set(sync.getSlider(), "Delay: how many milliseconds MIDI to the instrument waits at this sample rate, "
                                     "to line it up with the audio.");

    setTitle("MIDI setup");
    setWantsKeyboardFocus(true);
    // Tab goes round the panel's own controls only.
    setFocusContainerType(FocusContainerType::keyboardFocusContainer);
}

MIDI_Setup::~MIDI_Setup()
{
    stopTimer();
    for (auto* field : {&inputField, &outputField})
        field->removeMouseListener(this);
    if (globalPage != nullptr)
        globalPage->removeGlobalListener(this);
    for (auto* box : {&clockBox, &hostToOutBox, &inToHostBox})
        box->removeChangeListener(this);
    for (auto* button : {&okButton, &globalsButton, &searchButton})
        button->removeChangeListener(this);
}

void MIDI_Setup::setPortLists(const juce::StringArray& inputs, const juce::StringArray& outputs)
{
    inputNames = juce::StringArray("NONE");
    inputNames.addArray(inputs);
    outputNames = juce::StringArray("NONE");
    outputNames.addArray(outputs);
    showPorts();
}

void MIDI_Setup::setInputPort(int position, bool open)
{
    inputPosition = position;
    inputOpen = open;
    showPorts();
}

void MIDI_Setup::setOutputPort(int position, bool open)
{
    outputPosition = position;
    outputOpen = open;
    showPorts();
}

void MIDI_Setup::showPorts()
{
    inputField.show(inputNames[inputPosition], inputOpen);
    outputField.show(outputNames[outputPosition], outputOpen);
}

void MIDI_Setup::setCheckStates(bool clock, bool hostToOut, bool inToHost)
{
    clockBox.setTicked(clock);
    hostToOutBox.setTicked(hostToOut);
    inToHostBox.setTicked(inToHost);
}

void MIDI_Setup::setStatus(const juce::String& text)
{
    statusLabel.setText(text);
}

void MIDI_Setup::layoutFor(int width, int height)
{
    laidOutWidth = width;
    laidOutHeight = height;
    // The panel stays in its own unscaled pixels: a small window scales the whole of it.
    const int barHeight = 23;
    const int available = juce::jmax(1, height - barHeight);
    scale = FitScale::toFit(width, available, contentWidth,
                            globalPage != nullptr ? contentHeightWithGlobals : contentHeight);
    // As tall as the window, as it always was: the part below the window is never seen.
    if (scale >= 1.0f)
    {
        setTransform({});
        setBounds(0, barHeight, width, height);
    }
    else
    {
        setBounds(0, 0, (int)std::ceil((float)width / scale), (int)std::ceil((float)height / scale));
        setTransform(juce::AffineTransform::scale(scale).translated(0.0f, (float)barHeight));
    }
    instructionsLabel.setBounds(40, 310, 750, 160);
    okButton.setBounds(690, 240, 74, 18);
    globalsButton.setBounds(690, 200, 74, 18);
    searchButton.setBounds(276, 170, 74, 18);
    statusLabel.setBounds(40, 30, 400, 14);
    clockBox.setBounds(60, 220, 300, 18);
    hostToOutBox.setBounds(390, 108, 300, 18);
    inToHostBox.setBounds(390, 84, 300, 18);
    sync.setBounds(373, 184, 300, 80);
    if (globalPage != nullptr)
        globalPage->setBounds(38, 285, 750, 310);
    setVisible(true);
}

//==== Port menus =====================================================================================

MIDI_Setup::PortBox MIDI_Setup::portBoxAt(int x, int y) noexcept
{
    if (x < boxLeft || x > boxRight)
        return noBox;
    if (y >= inputBoxY + 1 && y <= inputBoxY + 23)
        return inputBox;
    if (y >= outputBoxY + 1 && y <= outputBoxY + 23)
        return outputBox;
    return noBox;
}

juce::PopupMenu MIDI_Setup::createPortMenu(PortBox box) const
{
    juce::PopupMenu menu;
    const auto& names = box == inputBox ? inputNames : outputNames;
    if (box == noBox || names.size() <= 1)
        return menu;
    const int current = box == inputBox ? inputPosition : outputPosition;
    for (int k = 0; k < names.size(); ++k)
        menu.addItem(k + 1, names[k], true, k == current);
    return menu;
}

void MIDI_Setup::portChosen(PortBox box, int result)
{
    const auto& names = box == inputBox ? inputNames : outputNames;
    if (box == noBox || result < 1 || result > names.size())
        return;
    if (box == inputBox)
        inputPosition = result - 1;
    else
        outputPosition = result - 1;
    showPorts();
    getPortField(box).announce();
    report(box == inputBox ? inputChosen : outputChosen, result - 1);
}

void MIDI_Setup::mouseDown(const juce::MouseEvent& e)
{
    // Presses on the port fields come here too: judged in the panel's pixels.
    const auto at = e.getEventRelativeTo(this).getPosition();
    const auto box = portBoxAt(at.x, at.y);
    if (box != noBox)
        openPortMenu(box, true);
}

void MIDI_Setup::openPortMenu(PortBox box, bool atMouse)
{
    auto menu = createPortMenu(box);
    if (menu.getNumItems() == 0)
        return;
    auto options = atMouse ? juce::PopupMenu::Options().withMousePosition()
                           : juce::PopupMenu::Options().withTargetComponent(&getPortField(box));
    AsyncMenu::show(std::move(menu), options, *this, [box](MIDI_Setup& setup, int result) { setup.portChosen(box, result); });
}

void MIDI_Setup::stepPort(PortBox box, int step)
{
    const int count = (box == inputBox ? inputNames : outputNames).size();
    const int now = box == inputBox ? inputPosition : outputPosition;
    int next = now;
    if (step == INT_MIN)
        next = 0;
    else if (step == INT_MAX)
        next = count - 1;
    else
        next = juce::jlimit(0, count - 1, now + step);
    if (next != now)
        portChosen(box, next + 1);
}

//==== Keyboard =======================================================================================

bool MIDI_Setup::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey)
    {
        if (globalPage != nullptr)
            closeGlobalPage();
        else
            report(okPressed, value);
        return true;
    }
    if (key == juce::KeyPress::returnKey || (key == juce::KeyPress::spaceKey && hasKeyboardFocus(false)))
    {
        report(okPressed, value);
        return true;
    }
    // The panel itself holds the focus when shown: Tab goes on to its first control.
    if (hasKeyboardFocus(false) && key.getKeyCode() == juce::KeyPress::tabKey)
    {
        const auto order = createKeyboardFocusTraverser()->getAllComponents(this);
        if (order.empty())
            return false;
        (key.getModifiers().isShiftDown() ? order.back() : order.front())->grabKeyboardFocus();
        return true;
    }
    return false;
}

//==== Reports ========================================================================================

void MIDI_Setup::report(int newCommand, int newValue)
{
    command = newCommand;
    value = newValue;
    // At once: a second report before the message loop ran must not replace this one unread.
    sendSynchronousChangeMessage();
}

void MIDI_Setup::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == &clockBox)
        report(clockToggled, clockBox.isTicked() ? 1 : 0);
    else if (source == &hostToOutBox)
        report(hostToOutToggled, hostToOutBox.isTicked() ? 1 : 0);
    else if (source == &inToHostBox)
        report(inToHostToggled, inToHostBox.isTicked() ? 1 : 0);
}

void MIDI_Setup::stsbutChanged(StsBut* button)
{
    if (button == &okButton)
        report(okPressed, value);
    else if (button == &searchButton)
        report(searchPressed, value);
    else if (button == &globalsButton)
        toggleGlobalPage();
}

//==== Global settings page ==========================================================================

void MIDI_Setup::toggleGlobalPage()
{
    if (globalPage != nullptr)
    {
        closeGlobalPage();
        return;
    }
    state.requestGlobalDump();
    instructionsLabel.setVisible(false);
    globalPage = std::make_unique<Global_Container>(state);
    globalPage->setBounds(38, 285, 750, 310);
    globalPage->addGlobalListener(this);
    globalPage->setAlwaysOnTop(true);
    addAndMakeVisible(*globalPage);
    if (laidOutWidth > 0)
        layoutFor(laidOutWidth, laidOutHeight);
}

void MIDI_Setup::globalPageMessage(int code, int)
{
    // Not here: the page is still inside its own mouse handler.
    if (code == GlobalPageLayout::closeCode && globalPage != nullptr)
        startTimer(globalPageCloseDelayMs);
}

void MIDI_Setup::timerCallback()
{
    closeGlobalPage();
}

void MIDI_Setup::closeGlobalPage()
{
    // A close by GLOBALS while the delayed one waits: the delayed one must find nothing to do.
    stopTimer();
    if (globalPage == nullptr)
        return;
    globalPage->removeGlobalListener(this);
    const bool hadFocus = globalPage->hasKeyboardFocus(true);
    globalPage.reset();
    instructionsLabel.setVisible(true);
    if (laidOutWidth > 0)
        layoutFor(laidOutWidth, laidOutHeight);
    if (hadFocus)
        grabKeyboardFocus();
}

void MIDI_Setup::repaintGlobalPage()
{
    if (globalPage != nullptr)
    {
        globalPage->showWhetherReceived();
        globalPage->repaint();
    }
}

//==== Painting =======================================================================================

void MIDI_Setup::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x88000000));

    const auto panel = [&](juce::Rectangle<float> area) {
        g.setColour(panelFill);
        g.fillRoundedRectangle(area, 10.0f);
        g.setColour(panelEdge);
        g.drawRoundedRectangle(area, 10.0f, 3.0f);
    };
    if (instructionsLabel.isVisible())
        panel(instructionsLabel.getBounds().toFloat().withTrimmedRight(1.0f));
    panel({40.0f, 20.0f, 749.0f, 250.0f});

    g.setColour(captionColour);
    g.setFont(ZarnelLookAndFeel::arial(14.0f));
    g.drawSingleLineText("MIDI In Port", 60, 74);
    g.drawSingleLineText("MIDI Out Port", 60, 124);
    g.setColour(juce::Colour(0xffbbbbbb));
    g.setFont(ZarnelLookAndFeel::arial(13.0f));
    g.drawSingleLineText("Find the instrument by itself:", 60, 183);

    for (const auto* box : {&clockBox, &hostToOutBox, &inToHostBox})
        box->drawCaptionOn(g);
}

} // namespace zarnel
