#include "TextSetCurCont.h"

#include "../look/AsyncMenu.h"
#include "../widgets/ListenerCalls.h"

namespace zarnel
{

TextSetCurCont::TextSetCurCont(PresetNamer n)
    : namer(std::move(n)), targetBox("Replace preset", 128, [this](int k) { return namer(k); })
{
    setWantsKeyboardFocus(true);
    setFocusContainerType(FocusContainerType::keyboardFocusContainer);
    setTitle("Store the edited program in a preset");
    field.setMultiLine(false);
    field.setFont(juce::Font("Arial", 16.0f, juce::Font::plain));
    field.setInputRestrictions(16);
    field.setTitle("Preset name");
    field.setTooltip("Preset name: the name the stored program gets.");
    field.onReturnKey = [this] { ok.click(); };
    field.onEscapeKey = [this] { cancel.click(); };
    addAndMakeVisible(field);
    targetBox.setLook({juce::Colours::black, juce::Colours::white, juce::Colours::white, 20.0f});
    targetBox.setTooltip("Replace: the preset the edited program is stored in; Up and Down step it, Space lists all 128.");
    targetBox.onChange = [this] { target = targetBox.getChoice(); };
    targetBox.onMenu = [this] { showTargetMenu(); };
    addAndMakeVisible(targetBox);
    ok.setTooltip("OK: store the edited program under this name in the chosen preset and make it current.");
    cancel.setTooltip("CANCEL: close this panel and store nothing.");
    for (auto* b : {&ok, &cancel})
    {
        b->setSize(100, 34);
        b->addListener(this);
        addAndMakeVisible(*b);
    }
    setSize(600, 400);
}

TextSetCurCont::~TextSetCurCont()
{
    ok.removeListener(this);
    cancel.removeListener(this);
}

void TextSetCurCont::prepare(const juce::String& name, int preset)
{
    const bool wasShown = isVisible();
    field.setText(name, false);
    setTarget(preset);
    if (auto* parent = getParentComponent())
        setBounds(parent->getLocalBounds());
    setVisible(true);
    toFront(false);
    if (!wasShown)
        focusBefore = juce::Component::getCurrentlyFocusedComponent();
    if (isShowing())
        field.grabKeyboardFocus();
    field.selectAll();
}

void TextSetCurCont::hidePanel()
{
    const bool hadFocus = hasKeyboardFocus(true);
    setVisible(false);
    if (hadFocus && focusBefore != nullptr && focusBefore->isShowing())
        focusBefore->grabKeyboardFocus();
    focusBefore = nullptr;
}

void TextSetCurCont::setTarget(int preset)
{
    target = juce::jlimit(0, 127, preset);
    targetBox.setChoice(target);
    targetBox.repaint(); // the name may have changed, not the number
}

bool TextSetCurCont::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::returnKey)
    {
        ok.click();
        return true;
    }
    if (key == juce::KeyPress::escapeKey)
    {
        cancel.click();
        return true;
    }
    return false;
}

juce::PopupMenu TextSetCurCont::targetMenu() const
{
    juce::PopupMenu menu;
    for (int k = 0; k < 128; ++k)
        menu.addItem(firstPresetItem + k, namer(k), true, k == target);
    return menu;
}

void TextSetCurCont::resized()
{
    field.setBounds((getWidth() - 280) / 2, 64, 280, 24);
    targetBox.setBounds(getTargetArea().getX() - 1, 139, 282, 34);
    ok.setTopLeftPosition((getWidth() - 220) / 2, 256);
    cancel.setTopLeftPosition((getWidth() - 220) / 2 + 120, 256);
}

void TextSetCurCont::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xFF191919));
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font("Arial", 24.0f, juce::Font::plain));
    g.drawText("Preset name:", 20, 24, getWidth() - 40, 30, juce::Justification::centred, false);
    g.drawText("Replace:", 20, 24, getWidth() - 40, 180, juce::Justification::centred, false);
}

void TextSetCurCont::showTargetMenu()
{
    AsyncMenu::show(targetMenu(), juce::PopupMenu::Options().withTargetComponent(targetBox).withMousePosition(), *this,
                    [](TextSetCurCont& panel, int result) {
                        if (result >= firstPresetItem && result < firstPresetItem + 128)
                            panel.targetBox.choose(result - firstPresetItem);
                    });
}

void TextSetCurCont::addListener(textSetCurListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void TextSetCurCont::removeListener(textSetCurListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeAllInstancesOf(listener);
}

void TextSetCurCont::libButClicked(LibBut*, int id)
{
    const int chosen = target;
    ListenerCalls::tell(*this, listenerLock, listeners, [id, chosen](textSetCurListener& l) {
        if (id == okId)
            l.setCurrentConfirmed(chosen);
        else
            l.setCurrentCancelled();
    });
}

} // namespace zarnel
