#include "AppSetBarBut.h"

namespace zarnel
{

AppSetBarBut::AppSetBarBut(MidiCntrState& s) : state(s)
{
    juce::ignoreUnused(state);
}

void AppSetBarBut::paint(juce::Graphics& g)
{
    g.setColour(juce::Colour(0xffcccccc));
    for (int y : {8, 14, 20})
        g.fillRect(8, y, 20, 3);
}

void AppSetBarBut::mouseUp(const juce::MouseEvent&)
{
    code = menuCode;
    sendChangeMessage();
}

} // namespace zarnel
