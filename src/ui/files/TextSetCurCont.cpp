#include "TextSetCurCont.h"

#include "../look/AsyncMenu.h"
#include "../widgets/ListenerCalls.h"

namespace zarnel
{

TextSetCurCont::TextSetCurCont(PresetNamer n) : namer(std::move(n))
{
    field.setMultiLine(false);
    field.setFont(juce::Font("Arial", 16.0f, juce::Font::plain));
    field.setInputRestrictions(16);
    field.setTitle("Preset name");
    addAndMakeVisible(field);
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
    field.setText(name, false);
    setTarget(preset);
    if (auto* parent = getParentComponent())
        setBounds(parent->getLocalBounds());
    setVisible(true);
    toFront(false);
    if (isShowing())
    {
        field.grabKeyboardFocus();
        field.selectAll();
    }
}

void TextSetCurCont::hidePanel()
{
    setVisible(false);
}

void TextSetCurCont::setTarget(int preset)
{
    target = juce::jlimit(0, 127, preset);
    targetText = namer(target);
    repaint();
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
    const auto box = getTargetBox();
    g.setColour(juce::Colours::black);
    g.fillRect(box.getX() - 1, 139, 282, 34);
    g.setColour(juce::Colours::white);
    g.drawRect(box.getX() - 1, 139, 282, 34, 1);
    g.setFont(juce::Font("Arial", 20.0f, juce::Font::plain));
    g.drawText(targetText, box, juce::Justification::centred, true);
}

void TextSetCurCont::mouseDown(const juce::MouseEvent& e)
{
    if (!getTargetBox().contains(e.getPosition()))
        return;
    AsyncMenu::show(targetMenu(), juce::PopupMenu::Options().withTargetComponent(this).withMousePosition(), *this,
                    [](TextSetCurCont& panel, int result) {
                        if (result >= firstPresetItem && result < firstPresetItem + 128)
                            panel.setTarget(result - firstPresetItem);
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
