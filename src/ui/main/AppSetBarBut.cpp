#include "AppSetBarBut.h"

#include "../widgets/ButtonAccess.h"

namespace zarnel
{

AppSetBarBut::AppSetBarBut(MidiCntrState& s) : state(s)
{
    juce::ignoreUnused(state);
    ButtonAccess::takeFocusFromKeys(*this);
}

void AppSetBarBut::paint(juce::Graphics& g)
{
    g.setColour(juce::Colour(0xffcccccc));
    // Inside the bar's top left corner: the three bars sit 4 pixels in.
    for (int y : {4, 10, 16})
        g.fillRect(4, y, 20, 3);
}

void AppSetBarBut::mouseUp(const juce::MouseEvent&)
{
    press();
}

void AppSetBarBut::press()
{
    code = menuCode;
    sendChangeMessage();
}

bool AppSetBarBut::keyPressed(const juce::KeyPress& key)
{
    return ButtonAccess::pressOnKey(key, [this] { press(); });
}

std::unique_ptr<juce::AccessibilityHandler> AppSetBarBut::createAccessibilityHandler()
{
    return ButtonAccess::makeHandler(*this, {juce::AccessibilityRole::button, [] { return juce::String("Menu"); },
                                             [this] { press(); }, {}});
}

} // namespace zarnel
