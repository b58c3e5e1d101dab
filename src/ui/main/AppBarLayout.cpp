#include "AppBarLayout.h"

#include "../look/ZarnelLookAndFeel.h"

namespace zarnel
{

namespace
{
constexpr int classicX[AppBarLayout::numButtons] = {76, 130, 184, 235, 289, 340, 394};
constexpr int menuRight = 34; // the menu button's bars end at 28
constexpr int buttonWidth = 50, buttonGap = 3, groupGap = 4;
constexpr int channelWidth = 62;
constexpr int statusMinWidth = 170; // "DSI:  MOPHO X4 ON-LINE" whole
constexpr int historyWidths[AppBarLayout::numHistoryButtons] = {44, 44, 58};
constexpr int historyWidth = 44 + 3 + 44 + 3 + 58 + 2;
constexpr float minFont = 7.0f;

int scaled(int length, float s)
{
    return (int)((float)length * s);
}

// The largest font up to wanted at which every caption fits its button, with a pixel either side.
float fittingFont(const AppBarLayout::Places& p, float wanted)
{
    const auto fits = [&](float height) {
        const auto font = ZarnelLookAndFeel::arial(height);
        for (size_t i = 0; i < p.buttons.size(); ++i)
            if (font.getStringWidthFloat(AppBarLayout::buttonCaptions[i]) > (float)p.buttons[i].getWidth() - 2.0f)
                return false;
        for (size_t i = 0; i < p.historyButtons.size(); ++i)
            if (font.getStringWidthFloat(AppBarLayout::historyCaptions[i]) > (float)p.historyButtons[i].getWidth() - 2.0f)
                return false;
        return true;
    };
    float height = wanted;
    while (height > 4.0f && !fits(height))
        height -= 0.25f;
    return height;
}
} // namespace

AppBarLayout::Places AppBarLayout::forWidth(int width)
{
    Places p;
    const float s = width >= packedMinWidth
                        ? 1.0f
                        : juce::jmax(0.1f, (float)(width - menuRight) / (float)(packedMinWidth - menuRight));
    p.scale = s;
    p.channelFont = juce::jmax(minFont, 12.0f * s);
    p.statusFont = juce::jmax(minFont, 13.0f * s);

    const int historyW = scaled(historyWidth, s);
    p.history = {width - historyW, 0, historyW, 23};
    int hx = 0;
    for (int i = 0; i < numHistoryButtons; ++i)
    {
        p.historyButtons[(size_t)i] = {hx, 2, scaled(historyWidths[i], s), 18};
        hx += scaled(historyWidths[i] + buttonGap, s);
    }

    if (width >= classicMinWidth)
    {
        for (int i = 0; i < numButtons; ++i)
            p.buttons[(size_t)i] = {classicX[i], 2, buttonWidth, 18};
        p.channel = {511, 3, channelWidth, 15};
        p.status = {582, 2, juce::jmin(300, p.history.getX() - groupGap - 582), 15};
        p.buttonFont = fittingFont(p, 12.0f);
        return p;
    }

    int x = menuRight;
    for (int i = 0; i < numButtons; ++i)
    {
        p.buttons[(size_t)i] = {x, 2, scaled(buttonWidth, s), 18};
        x += scaled(buttonWidth + buttonGap, s);
    }
    x += scaled(groupGap - buttonGap, s);
    p.channel = {x, 3, scaled(channelWidth, s), 15};
    x = p.channel.getRight() + scaled(groupGap, s);
    p.status = {x, 2, juce::jmax(0, p.history.getX() - scaled(groupGap, s) - x), 15};
    p.buttonFont = fittingFont(p, juce::jmax(minFont, 12.0f * s));
    return p;
}

} // namespace zarnel
