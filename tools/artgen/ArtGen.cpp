// Draws every picture of the user interface and writes them as PNG files.
//   zarnel_artgen OUTPUT_FOLDER FONT_FOLDER
// The drawing is deterministic: the same build writes the same bytes.

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <functional>
#include <iostream>

namespace
{

using juce::Colour;
using juce::Graphics;
using juce::Image;
using juce::Path;
using juce::PathStrokeType;

constexpr float pi = juce::MathConstants<float>::pi;

// The palette the widgets' own colours are chosen against.
const Colour accent(0xFF3CC8E6);     // lit rings, ticks
const Colour accentDark(0xFF1F7C93);
const Colour warmOn(0xFFD9493B);     // switches and lights that are on
const Colour ink(0xFF0A0B0C);        // outlines

juce::Typeface::Ptr regularFace, boldFace;

juce::Font face(float height, bool bold)
{
    return juce::Font(bold ? boldFace : regularFace).withHeight(height);
}

Image blank(int w, int h, bool alpha = true)
{
    return Image(alpha ? Image::ARGB : Image::RGB, w, h, true, juce::SoftwareImageType());
}

// A rounded field shaded from top to bottom.
void fillShaded(Graphics& g, juce::Rectangle<float> area, Colour top, Colour bottom, float corner)
{
    g.setGradientFill(juce::ColourGradient(top, 0.0f, area.getY(), bottom, 0.0f, area.getBottom(), false));
    g.fillRoundedRectangle(area, corner);
}

PathStrokeType stroke(float width)
{
    return PathStrokeType(width, PathStrokeType::curved, PathStrokeType::rounded);
}

juce::Point<float> onCircle(float cx, float cy, float r, float angle)
{
    return {cx + r * std::sin(angle), cy - r * std::cos(angle)};
}

//==== Knob ===========================================================================================
// The knob sits in the top-left 33 x 33 of its 47 x 47 frame, so that the value text and the caption
// below it have room and the knob is centred over them.

constexpr float knobCx = 16.5f, knobCy = 16.5f, ringRadius = 14.5f;
constexpr float arcStart = -0.75f * pi, arcEnd = 0.75f * pi;
constexpr int framesLit = 56; // the maximum value shows frame 56

Image knobBack()
{
    auto img = blank(48, 48);
    Graphics g(img);
    for (int i = 0; i < 4; ++i)
    {
        const float r = 12.5f - (float)i * 0.8f;
        g.setColour(juce::Colours::black.withAlpha(0.12f));
        g.fillEllipse(knobCx + 1.2f - r, knobCy + 1.8f - r, 2 * r, 2 * r);
    }
    Path track;
    track.addCentredArc(knobCx, knobCy, ringRadius, ringRadius, 0.0f, arcStart, arcEnd, true);
    g.setColour(Colour(0xFF0D0F11));
    g.strokePath(track, stroke(3.6f));
    g.setColour(Colour(0xFF2B3136));
    g.strokePath(track, stroke(1.2f));
    for (auto angle : {arcStart, arcEnd})
    {
        const auto p = onCircle(knobCx, knobCy, ringRadius + 0.2f, angle);
        g.setColour(Colour(0xFF6E7881));
        g.fillEllipse(p.x - 0.9f, p.y - 0.9f, 1.8f, 1.8f);
    }
    return img;
}

void drawKnobFrame(Graphics& g, float ox, int frame)
{
    const float cx = ox + knobCx, cy = knobCy;
    const float fraction = (float)juce::jmin(frame, framesLit) / (float)framesLit;
    const float angle = arcStart + (arcEnd - arcStart) * fraction;

    if (frame > 0)
    {
        Path lit;
        lit.addCentredArc(cx, cy, ringRadius, ringRadius, 0.0f, arcStart, angle, true);
        g.setColour(accent.withAlpha(0.22f));
        g.strokePath(lit, stroke(5.0f));
        g.setColour(accent);
        g.strokePath(lit, stroke(2.4f));
    }

    const float r = 10.5f;
    g.setGradientFill(juce::ColourGradient(Colour(0xFF6B737B), cx - 6.0f, cy - 9.0f,
                                           Colour(0xFF1C2024), cx + 6.0f, cy + 9.0f, false));
    g.fillEllipse(cx - r, cy - r, 2 * r, 2 * r);
    g.setColour(Colour(0xFF08090A));
    g.drawEllipse(cx - r, cy - r, 2 * r, 2 * r, 1.0f);

    const float cap = 7.5f;
    g.setGradientFill(juce::ColourGradient(Colour(0xFF2A2F34), cx - 4.0f, cy - 6.0f,
                                           Colour(0xFF4A5158), cx + 4.0f, cy + 6.0f, false));
    g.fillEllipse(cx - cap, cy - cap, 2 * cap, 2 * cap);
    g.setColour(juce::Colours::white.withAlpha(0.10f));
    g.drawEllipse(cx - cap, cy - cap, 2 * cap, 2 * cap, 0.8f);

    const auto a = onCircle(cx, cy, 3.0f, angle);
    const auto b = onCircle(cx, cy, 9.2f, angle);
    g.setColour(Colour(0xFFF4F6F7));
    g.drawLine(a.x, a.y, b.x, b.y, 2.0f);
}

Image knobStrip()
{
    auto img = blank(2939, 48);
    Graphics g(img);
    for (int frame = 0; frame < 60; ++frame)
    {
        juce::Graphics::ScopedSaveState s(g);
        g.reduceClipRegion(frame * 49, 0, 47, 47);
        drawKnobFrame(g, (float)(frame * 49), frame);
    }
    return img;
}

//==== Menu box =======================================================================================

void fillMenuField(Graphics& g, juce::Rectangle<float> area, float corner)
{
    g.setGradientFill(juce::ColourGradient(Colour(0xFF0B0D0F), 0.0f, area.getY(),
                                           Colour(0xFF1B1F23), 0.0f, area.getBottom(), false));
    g.fillRoundedRectangle(area, corner);
    g.setColour(Colour(0xFF464E55));
    g.drawRoundedRectangle(area, corner, 1.0f);
}

Image menuBox()
{
    auto img = blank(200, 18);
    Graphics g(img);
    fillMenuField(g, {0.5f, 0.5f, 199.0f, 17.0f}, 3.0f);
    return img;
}

Image menuArrow()
{
    auto img = blank(14, 18);
    Graphics g(img);
    {
        // The box's right end: the same field, cut on the left.
        Graphics::ScopedSaveState s(g);
        fillMenuField(g, {-10.5f, 0.5f, 24.0f, 17.0f}, 3.0f);
    }
    Path arrow;
    arrow.addTriangle(4.0f, 7.5f, 10.0f, 7.5f, 7.0f, 11.0f);
    g.setColour(Colour(0xFF8FD3D6));
    g.fillPath(arrow);
    return img;
}

Image menuOverlay()
{
    auto img = blank(113, 17);
    Graphics g(img);
    g.setGradientFill(juce::ColourGradient(juce::Colours::white.withAlpha(0.11f), 0.0f, 1.0f,
                                           juce::Colours::white.withAlpha(0.0f), 0.0f, 8.0f, false));
    g.fillRect(1, 1, 98, 7);
    g.setColour(juce::Colours::white.withAlpha(0.08f));
    g.fillRect(3, 1, 94, 1);
    return img;
}

//==== Switch =========================================================================================
// Frames at x 0 and x 36 overlap by one column; each keeps its drawing inside columns 1 to 35 of
// its frame, so both show the same way.

void drawSwitch(Graphics& g, float ox, bool on)
{
    const juce::Rectangle<float> pill(ox + 1.5f, 1.5f, 33.0f, 13.0f);
    if (on)
        g.setGradientFill(juce::ColourGradient(warmOn.brighter(0.25f), 0.0f, pill.getY(),
                                               warmOn.darker(0.45f), 0.0f, pill.getBottom(), false));
    else
        g.setGradientFill(juce::ColourGradient(Colour(0xFF121417), 0.0f, pill.getY(),
                                               Colour(0xFF262B30), 0.0f, pill.getBottom(), false));
    g.fillRoundedRectangle(pill, 6.5f);
    g.setColour(on ? Colour(0xFF3A0E0A) : Colour(0xFF040505));
    g.drawRoundedRectangle(pill, 6.5f, 1.0f);

    const float tx = on ? ox + 28.0f : ox + 8.0f, ty = 8.0f, tr = 5.3f;
    g.setGradientFill(juce::ColourGradient(Colour(0xFFE4E8EB), tx - 2.0f, ty - 4.0f,
                                           Colour(0xFF7D858C), tx + 2.0f, ty + 4.0f, false));
    g.fillEllipse(tx - tr, ty - tr, 2 * tr, 2 * tr);
    g.setColour(Colour(0xFF1A1D20));
    g.drawEllipse(tx - tr, ty - tr, 2 * tr, 2 * tr, 0.8f);
}

Image switchStrip()
{
    auto img = blank(74, 20);
    Graphics g(img);
    drawSwitch(g, 0.0f, false);
    drawSwitch(g, 36.0f, true);
    return img;
}

//==== Check box ======================================================================================

Image checkBox(int state) // 0 box, 1 ticked, 2 pressed
{
    auto img = blank(20, 11);
    Graphics g(img);
    const juce::Rectangle<float> box(0.5f, 0.5f, 19.0f, 10.0f);
    g.setColour(state == 2 ? Colour(0xFF2E353A) : Colour(0xFF15181B));
    g.fillRoundedRectangle(box, 2.0f);
    g.setColour(state == 1 ? accent : state == 2 ? Colour(0xFFD0D7DC) : Colour(0xFF8C949B));
    g.drawRoundedRectangle(box, 2.0f, 1.0f);
    if (state == 1)
    {
        Path tick;
        tick.startNewSubPath(6.0f, 5.6f);
        tick.lineTo(8.9f, 8.2f);
        tick.lineTo(14.2f, 2.6f);
        g.setColour(accent);
        g.strokePath(tick, stroke(1.7f));
    }
    return img;
}

//==== Light ==========================================================================================
// Two 14 x 9 lights at x 0 and x 15; the second is cut to 13 columns by the picture's width.

void drawLight(Graphics& g, float cx, bool on)
{
    const float cy = 4.5f, r = 3.6f;
    if (on)
    {
        g.setColour(warmOn.withAlpha(0.35f));
        g.fillEllipse(cx - 4.4f, cy - 4.4f, 8.8f, 8.8f);
        g.setGradientFill(juce::ColourGradient(Colour(0xFFFFC2B6), cx - 1.0f, cy - 1.2f,
                                               Colour(0xFFE2392A), cx + r, cy + r, true));
    }
    else
    {
        g.setGradientFill(juce::ColourGradient(Colour(0xFF5A2420), cx - 1.0f, cy - 1.2f,
                                               Colour(0xFF200A08), cx + r, cy + r, true));
    }
    g.fillEllipse(cx - r, cy - r, 2 * r, 2 * r);
    g.setColour(on ? Colour(0xFF5A120C) : Colour(0xFF0A0303));
    g.drawEllipse(cx - r, cy - r, 2 * r, 2 * r, 0.8f);
    g.setColour(juce::Colours::white.withAlpha(on ? 0.75f : 0.18f));
    g.fillEllipse(cx - 2.0f, cy - 2.4f, 1.6f, 1.4f);
}

Image switchLed()
{
    auto img = blank(28, 9);
    Graphics g(img);
    drawLight(g, 6.5f, false);
    drawLight(g, 21.5f, true);
    return img;
}

//==== Category button ================================================================================
// Only the top nine rows are drawn, stretched to the button's height: a face with two-pixel caps.

Image categoryButton()
{
    auto img = blank(100, 18);
    Graphics g(img);
    for (int y = 0; y < 18; ++y)
    {
        const float t = (float)y / 17.0f;
        g.setColour(Colour(0xFFA2A8AE).interpolatedWith(Colour(0xFF6E747A), t));
        g.fillRect(2, y, 96, 1);
        g.setColour(Colour(0xFF868C92).interpolatedWith(Colour(0xFF5A6066), t));
        g.fillRect(1, y, 1, 1);
        g.fillRect(98, y, 1, 1);
    }
    g.setColour(Colour(0xFFC4C9CE));
    g.fillRect(2, 0, 96, 1);
    g.setColour(Colour(0xFF33373B));
    g.fillRect(0, 0, 1, 18);
    g.fillRect(99, 0, 1, 18);
    g.fillRect(0, 17, 100, 1);
    return img;
}

//==== Program display ================================================================================

Image lcdScreen()
{
    auto img = blank(164, 43, false);
    Graphics g(img);
    g.fillAll(Colour(0xFF17191B));
    const juce::Rectangle<float> glass(2.0f, 2.0f, 160.0f, 39.0f);
    g.setGradientFill(juce::ColourGradient(Colour(0xFFD3E0D8), 0.0f, 2.0f, Colour(0xFFAFC3B8), 0.0f, 41.0f, false));
    g.fillRoundedRectangle(glass, 2.5f);
    // A faint dot-matrix grain.
    for (int x = 3; x < 161; x += 2)
    {
        g.setColour(juce::Colours::black.withAlpha(0.025f));
        g.fillRect(x, 3, 1, 37);
    }
    for (int y = 3; y < 40; y += 2)
    {
        g.setColour(juce::Colours::black.withAlpha(0.02f));
        g.fillRect(3, y, 158, 1);
    }
    // Inner shadow along the top and the left.
    g.setColour(juce::Colours::black.withAlpha(0.22f));
    g.fillRect(3, 2, 158, 1);
    g.fillRect(2, 3, 1, 37);
    g.setColour(juce::Colours::black.withAlpha(0.10f));
    g.fillRect(3, 3, 158, 1);
    // Between the place and category line and the name.
    g.setColour(juce::Colours::black.withAlpha(0.14f));
    g.fillRect(8, 20, 148, 1);
    return img;
}

Image lcdGlass()
{
    auto img = blank(210, 66);
    Graphics g(img);
    g.setGradientFill(juce::ColourGradient(juce::Colours::white.withAlpha(0.40f), 0.0f, 0.0f,
                                           juce::Colours::white.withAlpha(0.0f), 0.0f, 26.0f, false));
    g.fillRect(3, 3, 204, 26);
    Path sheen;
    sheen.startNewSubPath(3.0f, 3.0f);
    sheen.lineTo(96.0f, 3.0f);
    sheen.lineTo(52.0f, 63.0f);
    sheen.lineTo(3.0f, 63.0f);
    sheen.closeSubPath();
    g.setGradientFill(juce::ColourGradient(juce::Colours::white.withAlpha(0.16f), 0.0f, 0.0f,
                                           juce::Colours::white.withAlpha(0.0f), 90.0f, 50.0f, false));
    g.fillPath(sheen);
    g.setColour(juce::Colours::white.withAlpha(0.45f));
    g.fillRect(4, 3, 202, 1);
    return img;
}

//==== Rate slider ====================================================================================

void drawStepButton(Graphics& g, float x, bool pointsRight, bool pressed)
{
    const juce::Rectangle<float> area(x + 0.5f, 0.5f, 17.0f, 17.0f);
    if (pressed)
        g.setGradientFill(juce::ColourGradient(accent, 0.0f, 0.0f, accentDark, 0.0f, 18.0f, false));
    else
        g.setGradientFill(juce::ColourGradient(Colour(0xFF474E55), 0.0f, 0.0f, Colour(0xFF23272B), 0.0f, 18.0f, false));
    g.fillRoundedRectangle(area, 2.5f);
    g.setColour(ink);
    g.drawRoundedRectangle(area, 2.5f, 1.0f);
    const float cx = x + 9.0f, cy = 9.0f;
    Path arrow;
    if (pointsRight)
        arrow.addTriangle(cx - 2.5f, cy - 4.0f, cx - 2.5f, cy + 4.0f, cx + 3.5f, cy);
    else
        arrow.addTriangle(cx + 2.5f, cy - 4.0f, cx + 2.5f, cy + 4.0f, cx - 3.5f, cy);
    g.setColour(pressed ? Colour(0xFF06171C) : Colour(0xFFD5DCE1));
    g.fillPath(arrow);
}

Image rateTrack(bool pressed)
{
    auto img = blank(200, 18);
    Graphics g(img);
    g.fillAll(ink);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF2A86A0), 0.0f, 1.0f, Colour(0xFF154C5B), 0.0f, 17.0f, false));
    g.fillRect(18, 1, 164, 16);
    g.setColour(juce::Colours::white.withAlpha(0.16f));
    g.fillRect(18, 1, 164, 1);
    for (int i = 1; i < 10; ++i)
    {
        g.setColour(juce::Colours::black.withAlpha(0.18f));
        g.fillRect(18 + (int)std::lround(16.4 * i), 13, 1, 4);
    }
    drawStepButton(g, 0.0f, false, pressed);
    drawStepButton(g, 182.0f, true, pressed);
    return img;
}

//==== Window close handle ============================================================================

// A light cross on a dark red rounded square: the close marks of the windows and of the global page.
void crossMark(Graphics& g, juce::Rectangle<float> mark, float corner, Colour edge, float edgeWidth,
               juce::Point<float> crossInset, float crossWidth)
{
    g.setGradientFill(juce::ColourGradient(Colour(0xFF5C2A25), 0.0f, 0.0f, Colour(0xFF3A1714), 0.0f,
                                           mark.getBottom() + 0.5f, false));
    g.fillRoundedRectangle(mark, corner);
    g.setColour(edge);
    g.drawRoundedRectangle(mark, corner, edgeWidth);
    g.setColour(Colour(0xFFF2E9E8));
    const auto cross = mark.reduced(crossInset.x, crossInset.y);
    g.drawLine(cross.getX(), cross.getY(), cross.getRight(), cross.getBottom(), crossWidth);
    g.drawLine(cross.getRight(), cross.getY(), cross.getX(), cross.getBottom(), crossWidth);
}

Image windowClose()
{
    auto img = blank(54, 15);
    Graphics g(img);
    // A grip for moving, then the close mark at (36, 0, 17, 15).
    const juce::Rectangle<float> grip(0.5f, 0.5f, 34.0f, 14.0f);
    g.setColour(Colour(0xFF2A2F33));
    g.fillRoundedRectangle(grip, 3.0f);
    g.setColour(Colour(0xFF121416));
    g.drawRoundedRectangle(grip, 3.0f, 1.0f);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 8; ++col)
        {
            g.setColour(Colour(0xFF8A939B));
            g.fillEllipse(5.0f + 3.5f * (float)col, 3.5f + 3.5f * (float)row, 1.4f, 1.4f);
        }

    crossMark(g, {36.5f, 0.5f, 16.0f, 14.0f}, 3.0f, Colour(0xFF140706), 1.0f, {4.0f, 3.0f}, 1.6f);
    return img;
}

//==== Library window ================================================================================
// The command buttons are a stretched left part (200 x 48) and a right end (10 x 48), drawn at
// twice the height they are shown at; the list's scroll thumb is 36 x 43.

Image libButton(bool end)
{
    const int w = end ? 10 : 200;
    auto img = blank(w, 48);
    Graphics g(img);
    const juce::Rectangle<float> body(end ? -12.0f : 1.0f, 2.0f, end ? 20.0f : 212.0f, 44.0f);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF5C6168), 0.0f, 2.0f, Colour(0xFF2C3035), 0.0f, 46.0f, false));
    g.fillRoundedRectangle(body, 8.0f);
    g.setColour(Colour(0x40FFFFFF));
    g.fillRect(end ? 0.0f : 6.0f, 4.0f, end ? 3.0f : 194.0f, 2.0f);
    g.setColour(Colour(0xFF101214));
    g.drawRoundedRectangle(body, 8.0f, 2.0f);
    return img;
}

Image listThumb()
{
    auto img = blank(36, 43);
    Graphics g(img);
    const juce::Rectangle<float> body(7.0f, 2.0f, 22.0f, 39.0f);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF8C9299), 7.0f, 0.0f, Colour(0xFF4D5258), 29.0f, 0.0f, false));
    g.fillRoundedRectangle(body, 4.0f);
    g.setColour(Colour(0xFF1A1C1F));
    g.drawRoundedRectangle(body, 4.0f, 1.0f);
    g.setColour(Colour(0xFF2E3236));
    for (int k = 0; k < 3; ++k)
        g.fillRect(12.0f, 17.0f + 4.0f * (float)k, 12.0f, 1.5f);
    return img;
}

//==== Global settings page ===========================================================================
// A taller switch than the panel's (35 x 22 frames at x 0 and x 36) and the page's close mark,
// drawn at twice the size it is shown at so that it stays crisp when shrunk.

Image globalSwitch()
{
    auto img = blank(71, 22);
    Graphics g(img);
    for (const bool on : {false, true})
    {
        const float ox = on ? 36.0f : 0.0f;
        const juce::Rectangle<float> pill(ox + 1.5f, 4.5f, 32.0f, 13.0f);
        if (on)
            g.setGradientFill(juce::ColourGradient(warmOn.brighter(0.25f), 0.0f, pill.getY(), warmOn.darker(0.45f),
                                                   0.0f, pill.getBottom(), false));
        else
            g.setGradientFill(juce::ColourGradient(Colour(0xFF121417), 0.0f, pill.getY(), Colour(0xFF262B30), 0.0f,
                                                   pill.getBottom(), false));
        g.fillRoundedRectangle(pill, 6.5f);
        g.setColour(on ? Colour(0xFF3A0E0A) : Colour(0xFF040505));
        g.drawRoundedRectangle(pill, 6.5f, 1.0f);
        const float tx = on ? ox + 27.0f : ox + 8.0f, ty = 11.0f, tr = 6.5f;
        g.setGradientFill(juce::ColourGradient(Colour(0xFFE4E8EB), tx - 2.0f, ty - 4.0f, Colour(0xFF7D858C), tx + 2.0f,
                                               ty + 4.0f, false));
        g.fillEllipse(tx - tr, ty - tr, 2 * tr, 2 * tr);
        g.setColour(Colour(0xFF1A1D20));
        g.drawEllipse(tx - tr, ty - tr, 2 * tr, 2 * tr, 0.8f);
    }
    return img;
}

Image closeMark()
{
    auto img = blank(30, 30);
    Graphics g(img);
    crossMark(g, {1.0f, 1.0f, 28.0f, 28.0f}, 6.0f, Colour(0xFF8A4A42), 2.0f, {8.0f, 8.0f}, 3.0f);
    return img;
}

//==== Program list ==================================================================================
// The list's background, drawn faintly under and over the rows, and the scroll bar's thumb.

Image listBackground()
{
    auto img = blank(246, 360);
    Graphics g(img);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF2E4A55), 0.0f, 0.0f, Colour(0xFF0E1A1F), 0.0f, 360.0f, false));
    g.fillRect(0, 0, 246, 360);
    // Faint lines every 13 pixels: two per row of the list, like the ruling of a ledger.
    for (int y = 0; y < 360; y += 13)
    {
        g.setColour(Colour(0xFF6FA9BC).withAlpha(y % 26 == 0 ? 0.18f : 0.08f));
        g.fillRect(0, y, 246, 1);
    }
    g.setGradientFill(juce::ColourGradient(Colour(0x663CC8E6), 0.0f, 0.0f, Colour(0x003CC8E6), 60.0f, 0.0f, false));
    g.fillRect(0, 0, 60, 360);
    return img;
}

Image scrollThumb()
{
    auto img = blank(25, 43);
    Graphics g(img);
    const juce::Rectangle<float> body(1.5f, 1.5f, 22.0f, 40.0f);
    fillShaded(g, body, Colour(0xFF8E9AA3), Colour(0xFF3A4248), 4.0f);
    g.setColour(ink);
    g.drawRoundedRectangle(body, 4.0f, 1.0f);
    // Three grip ridges across the middle.
    for (int i = -1; i <= 1; ++i)
    {
        const float y = 21.5f + (float)i * 5.0f;
        g.setColour(Colour(0xFF22282C));
        g.fillRect(6.0f, y, 13.0f, 1.0f);
        g.setColour(Colour(0xFFC4CDD3).withAlpha(0.7f));
        g.fillRect(6.0f, y + 1.0f, 13.0f, 1.0f);
    }
    g.setColour(accent.withAlpha(0.5f));
    g.fillRect(3.0f, 3.0f, 2.0f, 37.0f);
    return img;
}

//==== About panel ====================================================================================

// Layered sine lines that swell towards the middle: an abstract picture of sound.
void drawWaves(Graphics& g, juce::Rectangle<float> area, int lines, float amplitude, juce::uint32 seed)
{
    juce::Random random((juce::int64)seed);
    for (int i = 0; i < lines; ++i)
    {
        const float t = (float)i / (float)juce::jmax(1, lines - 1);
        const float wavelength = 60.0f + 90.0f * random.nextFloat();
        const float phase = 2.0f * pi * random.nextFloat();
        const float a = amplitude * (0.35f + 0.65f * random.nextFloat());
        Path p;
        for (float x = area.getX(); x <= area.getRight(); x += 1.0f)
        {
            const float u = (x - area.getX()) / area.getWidth();
            const float swell = std::sin(pi * u);
            const float y = area.getCentreY() + a * swell * std::sin(2.0f * pi * x / wavelength + phase);
            if (x == area.getX())
                p.startNewSubPath(x, y);
            else
                p.lineTo(x, y);
        }
        const Colour c = accent.interpolatedWith(Colour(0xFF8C6CF0), t);
        g.setColour(c.withAlpha(0.10f));
        g.strokePath(p, stroke(4.0f));
        g.setColour(c.withAlpha(0.55f));
        g.strokePath(p, stroke(1.1f));
    }
}

Image aboutMain()
{
    auto img = blank(460, 260);
    Graphics g(img);
    const juce::Rectangle<float> box(1.0f, 1.0f, 458.0f, 258.0f);
    Path outline;
    outline.addRoundedRectangle(box, 12.0f);

    g.setGradientFill(juce::ColourGradient(Colour(0xFF102029), 0.0f, 0.0f, Colour(0xFF05080C), 460.0f, 260.0f, false));
    g.fillPath(outline);
    {
        Graphics::ScopedSaveState s(g);
        g.reduceClipRegion(outline);
        g.setGradientFill(juce::ColourGradient(accent.withAlpha(0.20f), 360.0f, 120.0f,
                                               accent.withAlpha(0.0f), 360.0f, 250.0f, true));
        g.fillRect(0, 0, 460, 260);
        for (int x = 20; x < 460; x += 20)
        {
            g.setColour(juce::Colours::white.withAlpha(0.03f));
            g.fillRect(x, 0, 1, 260);
        }
        drawWaves(g, {236.0f, 76.0f, 222.0f, 140.0f}, 9, 50.0f, 4);
    }

    g.setFont(face(34.0f, true));
    g.setColour(juce::Colours::white);
    g.drawSingleLineText("Zarnel", 36, 66);
    g.setColour(accent);
    g.drawSingleLineText("X4 Editor", 36 + face(34.0f, true).getStringWidth("Zarnel "), 66);

    g.setFont(face(16.0f, false));
    g.setColour(Colour(0xFFB9C6CE));
    g.drawSingleLineText("Sound editor and librarian", 37, 92);
    g.setColour(accent.withAlpha(0.8f));
    g.fillRect(37, 102, 56, 2);

    g.setFont(face(12.0f, false));
    g.setColour(Colour(0xFF86949E));
    g.drawSingleLineText(juce::String::fromUTF8("Programs  \xc2\xb7  Banks  \xc2\xb7  Library  \xc2\xb7  Sequencer"), 37, 228);

    g.setColour(Colour(0xFF457089));
    g.strokePath(outline, PathStrokeType(2.0f));
    return img;
}

Image aboutSecond()
{
    auto img = blank(389, 162);
    Graphics g(img);
    const juce::Rectangle<float> box(1.0f, 1.0f, 387.0f, 160.0f);
    g.setColour(Colour(0xE6070B0F));
    g.fillRoundedRectangle(box, 10.0f);
    g.setColour(Colour(0xFF2D4A5C));
    g.drawRoundedRectangle(box, 10.0f, 1.5f);

    // Four tracks of sixteen steps.
    juce::Random random(7);
    const float x0 = 22.0f, y0 = 18.0f, stepW = 21.5f, rowH = 22.0f;
    for (int track = 0; track < 4; ++track)
        for (int step = 0; step < 16; ++step)
        {
            const float level = 0.25f + 0.75f * random.nextFloat();
            const bool beat = step % 4 == 0;
            const float x = x0 + stepW * (float)step, y = y0 + rowH * (float)track;
            g.setColour(Colour(0xFF151C22));
            g.fillRoundedRectangle(x, y, stepW - 4.0f, rowH - 6.0f, 2.0f);
            const float h = (rowH - 6.0f) * level;
            const Colour c = accent.interpolatedWith(Colour(0xFF8C6CF0), (float)track / 3.0f);
            g.setColour(c.withAlpha(beat ? 0.95f : 0.6f));
            g.fillRoundedRectangle(x, y + (rowH - 6.0f) - h, stepW - 4.0f, h, 2.0f);
        }

    g.setFont(face(15.0f, true));
    g.setColour(juce::Colours::white);
    g.drawSingleLineText("Zarnel X4 Editor", 22, 132);
    g.setFont(face(12.0f, false));
    g.setColour(Colour(0xFF86949E));
    g.drawSingleLineText("Click anywhere to close", 367, 132, juce::Justification::right);
    g.setColour(juce::Colours::white.withAlpha(0.08f));
    g.fillRect(22, 110, 345, 1);
    return img;
}

//==== Editor panel ===================================================================================

// Brushed dark metal; drawn at half size and repeated, so every row's grain repeats along x.
Image panelTile()
{
    auto img = blank(200, 200, false);
    Graphics g(img);
    juce::Random random(11);
    for (int y = 0; y < 200; ++y)
    {
        const float base = 0.235f + 0.030f * random.nextFloat();
        const float phase = 2.0f * pi * random.nextFloat();
        const int periods = 1 + random.nextInt(3);
        for (int x = 0; x < 200; ++x)
        {
            const float grain = 0.012f * std::sin(2.0f * pi * (float)periods * (float)x / 200.0f + phase);
            const float v = juce::jlimit(0.0f, 1.0f, base + grain);
            img.setPixelAt(x, y, Colour::fromFloatRGBA(v * 0.95f, v, v * 1.04f, 1.0f));
        }
    }
    return img;
}

// A cheek of dark anodised metal with a bevel towards the panel and three screws.
Image panelSide(bool left)
{
    auto img = blank(33, 682);
    Graphics g(img);
    const juce::Rectangle<float> body(0.5f, 0.5f, 32.0f, 681.0f);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF2C3136), left ? 0.0f : 33.0f, 0.0f, Colour(0xFF15181B),
                                           left ? 33.0f : 0.0f, 0.0f, false));
    g.fillRoundedRectangle(body, 4.0f);
    g.setColour(ink);
    g.drawRoundedRectangle(body, 4.0f, 1.0f);
    // The edge that meets the panel catches the light.
    g.setColour(juce::Colours::white.withAlpha(0.16f));
    g.fillRect(left ? 30 : 2, 4, 1, 674);
    g.setColour(juce::Colours::black.withAlpha(0.35f));
    g.fillRect(left ? 31 : 1, 4, 1, 674);
    for (float cy : {24.0f, 341.0f, 658.0f})
    {
        const float cx = 16.5f, r = 5.0f;
        g.setGradientFill(juce::ColourGradient(Colour(0xFF8C969F), cx - r, cy - r, Colour(0xFF3B4248), cx + r, cy + r, false));
        g.fillEllipse(cx - r, cy - r, 2 * r, 2 * r);
        g.setColour(ink);
        g.drawEllipse(cx - r, cy - r, 2 * r, 2 * r, 1.0f);
        g.setColour(Colour(0xFF1E2226));
        g.drawLine(cx - 3.2f, cy + 1.6f, cx + 3.2f, cy - 1.6f, 1.4f);
    }
    return img;
}

// The product mark above the program display.
Image panelLogo()
{
    auto img = blank(226, 31);
    Graphics g(img);
    const auto bold = face(26.0f, true);
    const juce::String first("ZARNEL"), second(" X4");
    const float firstWidth = bold.getStringWidthFloat(first), width = firstWidth + bold.getStringWidthFloat(second);
    const float x = (226.0f - width) / 2.0f;
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText(bold, first, x, 25.0f);
    Path word;
    glyphs.createPath(word);
    g.setColour(juce::Colours::black.withAlpha(0.5f));
    g.fillPath(word, juce::AffineTransform::translation(1.0f, 1.5f));
    g.setGradientFill(juce::ColourGradient(Colour(0xFFF4F6F7), 0.0f, 5.0f, Colour(0xFFAEB7BE), 0.0f, 27.0f, false));
    g.fillPath(word);
    g.setFont(bold);
    g.setColour(juce::Colours::black.withAlpha(0.5f));
    g.drawSingleLineText(second, (int)(x + firstWidth) + 1, 27);
    g.setColour(accent);
    g.drawSingleLineText(second, (int)(x + firstWidth), 25);
    return img;
}

// Our maker's mark: a wave in a rounded badge, the name and the line below it.
Image panelMark()
{
    auto img = blank(179, 52);
    Graphics g(img);
    const juce::Rectangle<float> badge(4.5f, 6.5f, 38.0f, 38.0f);
    fillShaded(g, badge, Colour(0xFF25333B), Colour(0xFF101619), 8.0f);
    g.setColour(accent.withAlpha(0.85f));
    g.drawRoundedRectangle(badge, 8.0f, 1.5f);
    Path wave;
    for (int i = 0; i <= 28; ++i)
    {
        const float x = 9.5f + (float)i, u = (float)i / 28.0f;
        const float y = 25.5f - 10.0f * std::sin(pi * u) * std::sin(2.0f * pi * 1.5f * u);
        if (i == 0)
            wave.startNewSubPath(x, y);
        else
            wave.lineTo(x, y);
    }
    g.setColour(accent);
    g.strokePath(wave, stroke(2.2f));

    g.setColour(Colour(0xFFE9EDF0));
    g.setFont(face(24.0f, true));
    g.drawSingleLineText("Zarnel", 52, 30);
    g.setColour(Colour(0xFF9AA6AF));
    g.setFont(face(11.0f, false));
    g.drawSingleLineText(juce::String::fromUTF8("AUDIO  \xc2\xb7  X4 EDITOR"), 53, 45);
    return img;
}

// The envelope's screen: a dark field with a fine grid, lit a little towards the top.
Image envelopeGrid()
{
    auto img = blank(218, 73);
    Graphics g(img);
    const juce::Rectangle<float> field(0.5f, 0.5f, 217.0f, 72.0f);
    fillShaded(g, field, Colour(0xFF1A2024), Colour(0xFF0C0F11), 3.0f);
    for (int x = 12; x < 216; x += 12)
    {
        g.setColour(accent.withAlpha(x % 48 == 12 ? 0.14f : 0.06f));
        g.fillRect(x, 3, 1, 67);
    }
    for (int y = 11; y < 71; y += 9)
    {
        g.setColour(accent.withAlpha(0.06f));
        g.fillRect(3, y, 212, 1);
    }
    // The base line the shape stands on (y 70 of the display is 65 here).
    g.setColour(accent.withAlpha(0.22f));
    g.fillRect(3, 65, 212, 1);
    g.setColour(ink);
    g.drawRoundedRectangle(field, 3.0f, 1.0f);
    return img;
}


//==== Sequencer ======================================================================================

// A track's field: dark glass over sixteen columns, every fourth a shade lighter (a beat).
Image seqTrack()
{
    auto img = blank(458, 155, false);
    Graphics g(img);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF1B2226), 0.0f, 0.0f, Colour(0xFF0C1013), 0.0f, 155.0f, false));
    g.fillAll();
    const float column = 458.0f / 16.0f;
    for (int step = 0; step < 16; ++step)
    {
        const float x = column * (float)step;
        g.setColour(juce::Colours::white.withAlpha(step % 4 == 0 ? 0.045f : 0.02f));
        g.fillRect(x + 1.0f, 16.0f, column - 2.0f, 136.0f);
    }
    g.setColour(accent.withAlpha(0.10f));
    g.fillRect(0, 152, 458, 1);
    g.setColour(ink);
    g.drawRect(0, 0, 458, 155, 1);
    return img;
}

// Light on the glass over a track: a sheen across the top, fading before the bars.
Image seqGlass()
{
    auto img = blank(458, 155);
    Graphics g(img);
    g.setGradientFill(juce::ColourGradient(juce::Colours::white.withAlpha(0.07f), 0.0f, 0.0f,
                                           juce::Colours::white.withAlpha(0.0f), 0.0f, 60.0f, false));
    g.fillRect(1, 1, 456, 60);
    g.setColour(juce::Colours::white.withAlpha(0.10f));
    g.fillRect(1, 1, 456, 1);
    return img;
}

//==== Keyboard =======================================================================================

// The strip's top edge, stretched along the window: rows only, so stretching changes nothing.
Image keyGrip()
{
    auto img = blank(100, 20, false);
    Graphics g(img);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF3A4248), 0.0f, 0.0f, Colour(0xFF1A1E21), 0.0f, 20.0f, false));
    g.fillAll();
    g.setColour(juce::Colours::white.withAlpha(0.22f));
    g.fillRect(0, 0, 100, 1);
    g.setColour(juce::Colours::black.withAlpha(0.6f));
    g.fillRect(0, 19, 100, 1);
    // Two fine ridges to take hold of.
    for (int y : {8, 11})
    {
        g.setColour(juce::Colours::black.withAlpha(0.35f));
        g.fillRect(0, y, 100, 1);
        g.setColour(juce::Colours::white.withAlpha(0.08f));
        g.fillRect(0, y + 1, 100, 1);
    }
    return img;
}

Image wheelWell()
{
    auto img = blank(81, 206);
    Graphics g(img);
    const juce::Rectangle<float> well(2.5f, 2.5f, 76.0f, 201.0f);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF050607), 0.0f, 0.0f, Colour(0xFF1C2125), 0.0f, 206.0f, false));
    g.fillRoundedRectangle(well, 8.0f);
    g.setColour(juce::Colours::white.withAlpha(0.12f));
    g.drawRoundedRectangle(well.translated(0.0f, 1.0f), 8.0f, 1.0f);
    g.setColour(ink);
    g.drawRoundedRectangle(well, 8.0f, 2.0f);
    return img;
}

// A wheel seen edge-on, turned by frame: ridges run past and a lit marker shows the position.
void drawWheelFrame(Graphics& g, float ox, int frame)
{
    const juce::Rectangle<float> body(ox + 4.0f, 4.0f, 47.0f, 192.0f);
    juce::ColourGradient shading(Colour(0xFF14171A), body.getX(), 0.0f, Colour(0xFF14171A), body.getRight(), 0.0f, false);
    shading.addColour(0.5, Colour(0xFF4B545B));
    g.setGradientFill(shading);
    g.fillRoundedRectangle(body, 10.0f);
    const float turn = (float)frame / 34.0f; // 0 at the bottom of the travel, 1 at the top
    for (int i = -12; i <= 12; ++i)
    {
        const float angle = (float)i * 0.13f + (turn - 0.5f) * 1.4f;
        if (std::abs(angle) >= pi / 2.0f * 0.97f)
            continue;
        const float y = 100.0f - 92.0f * std::sin(angle);
        const float shade = std::cos(angle);
        g.setColour(juce::Colours::black.withAlpha(0.45f * shade));
        g.fillRect(body.getX() + 3.0f, y, body.getWidth() - 6.0f, 1.2f);
        g.setColour(juce::Colours::white.withAlpha(0.10f * shade));
        g.fillRect(body.getX() + 3.0f, y + 1.2f, body.getWidth() - 6.0f, 0.8f);
    }
    const float markAngle = (turn - 0.5f) * 1.4f;
    const float markY = 100.0f - 92.0f * std::sin(markAngle);
    g.setColour(accent.withAlpha(0.35f));
    g.fillRoundedRectangle(body.getX() + 2.0f, markY - 4.0f, body.getWidth() - 4.0f, 8.0f, 3.0f);
    g.setColour(accent);
    g.fillRoundedRectangle(body.getX() + 4.0f, markY - 2.0f, body.getWidth() - 8.0f, 4.0f, 2.0f);
    g.setColour(ink);
    g.drawRoundedRectangle(body, 10.0f, 1.5f);
}

Image wheelStrip()
{
    auto img = blank(34 * 54 + 55, 200);
    Graphics g(img);
    for (int frame = 0; frame < 35; ++frame)
    {
        Graphics::ScopedSaveState s(g);
        g.reduceClipRegion(frame * 54, 0, 54, 200);
        drawWheelFrame(g, (float)(frame * 54), frame);
    }
    return img;
}

// The octave strip's keyboard: 25 pixels an octave from note 0 up.
Image octaveMiniature()
{
    auto img = blank(269, 18);
    Graphics g(img);
    const float white = 25.0f / 7.0f;
    g.setColour(Colour(0xFFE9ECEE));
    g.fillRect(0, 0, 269, 18);
    g.setColour(Colour(0xFF7D868C));
    for (int w = 1; (float)w * white < 269.0f; ++w)
        g.fillRect((float)w * white, 0.0f, 0.6f, 18.0f);
    const float blackAt[] = {4.0f, 9.0f, 14.0f, 20.0f, 23.0f};
    for (int octave = 0; octave < 11; ++octave)
        for (float b : blackAt)
        {
            g.setColour(Colour(0xFF15181B));
            g.fillRect(b - 0.9f + 25.0f * (float)octave + 1.0f, 0.0f, 2.2f, 11.0f);
        }
    g.setColour(ink);
    g.drawRect(0, 0, 269, 18, 1);
    return img;
}

Image whiteKey(bool pressed)
{
    auto img = blank(25, 152);
    Graphics g(img);
    const juce::Rectangle<float> key(0.5f, -4.0f, 24.0f, 155.5f);
    if (pressed)
        g.setGradientFill(juce::ColourGradient(Colour(0xFFB5D9E3), 0.0f, 0.0f, Colour(0xFF8FC3D2), 0.0f, 152.0f, false));
    else
        g.setGradientFill(juce::ColourGradient(Colour(0xFFDCE0E2), 0.0f, 0.0f, Colour(0xFFF7F8F8), 0.0f, 152.0f, false));
    g.fillRoundedRectangle(key, 3.0f);
    // The front edge: shorter when the key is down.
    const float lip = pressed ? 3.0f : 7.0f;
    g.setColour(juce::Colours::black.withAlpha(pressed ? 0.10f : 0.16f));
    g.fillRect(1.0f, 151.5f - lip, 23.0f, lip);
    g.setColour(Colour(0xFF3F474D));
    g.drawRoundedRectangle(key, 3.0f, 1.0f);
    return img;
}

Image blackKey(bool pressed)
{
    auto img = blank(16, 100);
    Graphics g(img);
    const juce::Rectangle<float> key(0.5f, -4.0f, 15.0f, 103.5f);
    g.setColour(ink);
    g.fillRoundedRectangle(key, 2.5f);
    const juce::Rectangle<float> top(2.0f, 0.0f, 12.0f, pressed ? 95.0f : 89.0f);
    g.setGradientFill(juce::ColourGradient(pressed ? Colour(0xFF1F5D6E) : Colour(0xFF22272B), 0.0f, 0.0f,
                                           pressed ? Colour(0xFF2C8AA3) : Colour(0xFF3E464C), 0.0f, top.getBottom(), false));
    g.fillRoundedRectangle(top, 2.0f);
    g.setColour(juce::Colours::white.withAlpha(0.14f));
    g.fillRect(3.0f, 2.0f, 1.0f, top.getHeight() - 6.0f);
    return img;
}

// Beside the velocity bar: a box for the number and a wedge from loud to soft below it.
Image velocityIcon()
{
    auto img = blank(30, 103);
    Graphics g(img);
    g.setColour(Colour(0xFF101416));
    g.fillRoundedRectangle(0.5f, 0.5f, 24.0f, 12.0f, 2.0f);
    g.setColour(Colour(0xFF4D5051));
    g.drawRoundedRectangle(0.5f, 0.5f, 24.0f, 12.0f, 2.0f, 1.0f);
    Path wedge;
    wedge.addTriangle(3.0f, 20.0f, 21.0f, 20.0f, 12.0f, 100.0f);
    g.setGradientFill(juce::ColourGradient(Colour(0xFF76BDD2).withAlpha(0.7f), 0.0f, 20.0f,
                                           Colour(0xFF76BDD2).withAlpha(0.08f), 0.0f, 100.0f, false));
    g.fillPath(wedge);
    return img;
}

//==== Output =========================================================================================

bool write(const juce::File& folder, const juce::String& name, const Image& image)
{
    const auto file = folder.getChildFile(name);
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    if (!out.openedOk() || !png.writeImageToStream(image, out))
    {
        std::cerr << "cannot write " << file.getFullPathName() << "\n";
        return false;
    }
    std::cout << name << " " << image.getWidth() << " x " << image.getHeight() << "\n";
    return true;
}

juce::Typeface::Ptr loadFace(const juce::File& file)
{
    juce::MemoryBlock data;
    if (!file.loadFileAsData(data))
        return nullptr;
    return juce::Typeface::createSystemTypefaceFor(data.getData(), data.getSize());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: zarnel_artgen OUTPUT_FOLDER FONT_FOLDER\n";
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juceInit;

    const juce::File out(juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]));
    const juce::File fonts(juce::File::getCurrentWorkingDirectory().getChildFile(argv[2]));
    regularFace = loadFace(fonts.getChildFile("LiberationSans-Regular.ttf"));
    boldFace = loadFace(fonts.getChildFile("LiberationSans-Bold.ttf"));
    if (regularFace == nullptr || boldFace == nullptr)
    {
        std::cerr << "Liberation Sans not found in " << fonts.getFullPathName() << "\n";
        return 1;
    }
    if (!out.createDirectory())
        return 1;

    const std::vector<std::pair<const char*, std::function<Image()>>> pictures{
        {"knob_strip.png", knobStrip},
        {"knob_back.png", knobBack},
        {"menu_box.png", menuBox},
        {"menu_arrow.png", menuArrow},
        {"menu_overlay.png", menuOverlay},
        {"switch_strip.png", switchStrip},
        {"check_box.png", [] { return checkBox(0); }},
        {"check_box_ticked.png", [] { return checkBox(1); }},
        {"check_box_pressed.png", [] { return checkBox(2); }},
        {"switch_led.png", switchLed},
        {"category_button.png", categoryButton},
        {"lcd_screen.png", lcdScreen},
        {"lcd_glass.png", lcdGlass},
        {"rate_track.png", [] { return rateTrack(false); }},
        {"rate_track_pressed.png", [] { return rateTrack(true); }},
        {"about_main.png", aboutMain},
        {"about_second.png", aboutSecond},
        {"window_close.png", windowClose},
        {"panel_tile.png", panelTile},
        {"panel_side_left.png", [] { return panelSide(true); }},
        {"panel_side_right.png", [] { return panelSide(false); }},
        {"panel_logo.png", panelLogo},
        {"panel_mark.png", panelMark},
        {"envelope_grid.png", envelopeGrid},
        {"seq_track.png", seqTrack},
        {"seq_glass.png", seqGlass},
        {"key_grip.png", keyGrip},
        {"wheel_well.png", wheelWell},
        {"wheel_strip.png", wheelStrip},
        {"octave_miniature.png", octaveMiniature},
        {"white_key.png", [] { return whiteKey(false); }},
        {"white_key_pressed.png", [] { return whiteKey(true); }},
        {"black_key.png", [] { return blackKey(false); }},
        {"black_key_pressed.png", [] { return blackKey(true); }},
        {"velocity_icon.png", velocityIcon},
        {"global_switch.png", globalSwitch},
        {"close_mark.png", closeMark},
        {"list_background.png", listBackground},
        {"scroll_thumb.png", scrollThumb},
        {"lib_button.png", [] { return libButton(false); }},
        {"lib_button_end.png", [] { return libButton(true); }},
        {"list_thumb.png", listThumb},
    };

    bool ok = true;
    for (const auto& [name, draw] : pictures)
        ok = write(out, name, draw()) && ok;
    regularFace = nullptr;
    boldFace = nullptr;
    return ok ? 0 : 1;
}
