#include "GlbCont.h"

#include "../look/AsyncMenu.h"
#include "../look/Pictures.h"
#include "../look/ZarnelLookAndFeel.h"
#include "../widgets/ButtonAccess.h"

#include "../../midi/MidiCntrState.h"
#include "../../model/GlobalSettings.h"

namespace zarnel
{

GlbCont::GlbCont(MidiCntrState& s) : state(s)
{
    ButtonAccess::takeFocusFromKeys(*this);
}

void GlbCont::configure(int settingIndex)
{
    if (!GlobalSettings::isValidIndex(settingIndex))
        return;
    index = settingIndex;
    const auto& c = GlobalPageLayout::control(index);
    style = c.style;
    maximum = GlobalSettings::setting(index).maximum;
    setBounds(c.x, c.y, c.width, c.height);
    setTooltip(GlobalPageLayout::tip(index));
    // Only the pictures this style draws.
    if (style == GlobalPageLayout::menuBox)
        menuBox = Pictures::get(Picture::menuBox);
    else if (style == GlobalPageLayout::toggle)
        switchStrip = Pictures::get(Picture::globalSwitch);
    else
    {
        knobBack = Pictures::get(Picture::knobBack);
        knobStrip = Pictures::get(Picture::knobStrip);
    }
    repaint();
}

int GlbCont::getValue() const
{
    return state.getGlobalValue(index);
}

int GlbCont::getShownValue() const
{
    // A unit may report more than the maximum (or a byte above 127, read as negative): shown
    // clamped, kept as it is until the user changes it.
    return juce::jlimit(0, maximum, getValue());
}

void GlbCont::setValue(int value)
{
    if (index < 0)
        return;
    state.setGlobalValue(index, value);
    repaint();
}

juce::PopupMenu GlbCont::createMenu() const
{
    juce::PopupMenu menu;
    const int current = getShownValue();
    for (const auto& [id, text] : GlobalPageLayout::menuItems(index))
        menu.addItem(id, text, true, id == current + 1);
    return menu;
}

void GlbCont::menuChosen(int result)
{
    if (result >= 1 && result <= maximum + 1)
        setValue(result - 1);
}

void GlbCont::paint(juce::Graphics& g)
{
    if (index < 0)
        return;
    const float s = scale;
    const int value = getShownValue();
    const auto scaled = [s](float v) { return (int)(v * s); };
    switch (style)
    {
        case GlobalPageLayout::menuBox:
        {
            {
                const juce::Graphics::ScopedSaveState clip(g);
                g.reduceClipRegion(getLocalBounds());
                g.drawImage(menuBox, 0, 0, scaled(200), scaled(18), 0, 0, 200, 18);
            }
            g.drawImage(menuBox, scaled((float)getWidth() - 4.0f), 0, scaled(4), scaled(18), 196, 0, 4, 18);
            g.setColour(juce::Colour(0xfff7d8d2));
            g.setFont(ZarnelLookAndFeel::arial(12.0f * s));
            g.drawText(GlobalSettings::valueText(index, value), 0, 0, scaled((float)getWidth()), scaled(18),
                       juce::Justification::centred, false);
            break;
        }
        case GlobalPageLayout::toggle:
            g.drawImage(switchStrip, 0, 0, scaled(35), scaled(22), value == 0 ? 0 : 36, 0, 35, 22);
            break;
        case GlobalPageLayout::knob:
        {
            const int frame = GlobalPageLayout::knobFrame(value, maximum);
            const int x = scaled((float)getWidth() / 2.0f - 16.0f);
            g.drawImage(knobBack, x, 0, scaled(47), scaled(47), 0, 0, 47, 47);
            g.drawImage(knobStrip, x, 0, scaled(47), scaled(47), 49 * frame, 0, 47, 47);
            g.setColour(juce::Colours::white);
            g.setFont(ZarnelLookAndFeel::arial(11.0f * s));
            g.drawText(GlobalSettings::valueText(index, value), 0, scaled(9), scaled((float)getWidth()),
                       scaled((float)getHeight()), juce::Justification::centred, false);
            g.setFont(ZarnelLookAndFeel::arial(12.0f * s));
            g.drawText(GlobalSettings::setting(index).label, 0, scaled(26), scaled((float)getWidth()),
                       scaled((float)getHeight()), juce::Justification::centred, false);
            break;
        }
    }
}

void GlbCont::mouseDown(const juce::MouseEvent& e)
{
    dragStartX = e.x;
    dragStartY = e.y;
    if (style == GlobalPageLayout::menuBox)
        menuArmed = true;
    else if (style == GlobalPageLayout::toggle)
        setValue(GlobalPageLayout::clickedSwitchValue(getShownValue()));
    else
    {
        dragStartValue = getShownValue();
        dragging = true;
    }
}

void GlbCont::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging || style != GlobalPageLayout::knob)
        return;
    setValue(GlobalPageLayout::dragValue(dragStartValue, e.x - dragStartX, e.y - dragStartY, maximum));
}

void GlbCont::mouseUp(const juce::MouseEvent&)
{
    const bool openMenu = menuArmed && style == GlobalPageLayout::menuBox;
    menuArmed = false;
    dragging = false;
    if (openMenu)
        AsyncMenu::show(createMenu(), juce::PopupMenu::Options().withTargetComponent(this), *this,
                        [](GlbCont& control, int result) { control.menuChosen(result); });
}

void GlbCont::mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY > 0.0f)
        setValue(getShownValue() + 1);
    else if (wheel.deltaY < 0.0f)
        setValue(getShownValue() - 1);
}

bool GlbCont::keyPressed(const juce::KeyPress& key)
{
    if (index < 0)
        return false;
    if (style == GlobalPageLayout::menuBox
        && ButtonAccess::pressOnKey(key, [this] {
               AsyncMenu::show(createMenu(), juce::PopupMenu::Options().withTargetComponent(this), *this,
                               [](GlbCont& control, int result) { control.menuChosen(result); });
           }))
        return true;
    const int direction = ButtonAccess::arrowDirection(key);
    if (direction == 0)
        return false;
    setValue(getShownValue() + direction * (key.getModifiers().isShiftDown() ? 10 : 1));
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> GlbCont::createAccessibilityHandler()
{
    ButtonAccess::ValueParts parts;
    parts.title = [this] {
        return index < 0 ? juce::String() : juce::String(GlobalSettings::setting(index).label).trim().trimCharactersAtEnd(":");
    };
    parts.value = [this] { return (double)getShownValue(); };
    parts.text = [this] { return index < 0 ? juce::String() : GlobalSettings::valueText(index, getShownValue()); };
    parts.set = [this](double v) { setValue(juce::roundToInt(v)); };
    parts.maximum = (double)juce::jmax(0, maximum);
    return ButtonAccess::makeValueHandler(*this, std::move(parts));
}

} // namespace zarnel
