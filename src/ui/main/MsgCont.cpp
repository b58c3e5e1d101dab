#include "MsgCont.h"

#include <cmath>

namespace zarnel
{

namespace
{
constexpr int margin = 8;      // between the box and the owner's edges
constexpr int sidePad = 14;    // between the box's sides and the text
constexpr int textTop = 10;
constexpr int buttonWidth = 60;
constexpr int buttonHeight = 24;
constexpr int buttonsBelow = 36; // from the buttons' top to the box's bottom
constexpr float largestFont = 18.0f;
constexpr float smallestFont = 11.0f;

juce::AttributedString attributed(const juce::String& text, const juce::Font& font, juce::Colour colour)
{
    juce::AttributedString s;
    s.setJustification(juce::Justification::centred);
    s.setWordWrap(juce::AttributedString::byWord);
    s.append(text, font, colour);
    return s;
}
// The widest wrapped line: the wrap never splits a word, so one long name can run past the box.
float widestLine(const juce::String& text, const juce::Font& font, float width)
{
    juce::TextLayout layout;
    layout.createLayout(attributed(text, font, juce::Colours::white), width);
    float widest = 0.0f;
    for (int i = 0; i < layout.getNumLines(); ++i)
        widest = juce::jmax(widest, layout.getLine(i).getLineBoundsX().getLength());
    return widest;
}

// Words wider than the line broken between characters, so nothing is cut at the box's edge.
juce::String breakLongWords(const juce::String& text, const juce::Font& font, float width)
{
    juce::String out, word;
    const auto flush = [&] {
        if (font.getStringWidthFloat(word) <= width)
        {
            out << word;
            word.clear();
            return;
        }
        juce::String piece;
        for (auto p = word.getCharPointer(); !p.isEmpty(); ++p)
        {
            const auto c = juce::String::charToString(*p);
            if (piece.isNotEmpty() && font.getStringWidthFloat(piece + c) > width)
            {
                out << piece << "\n";
                piece.clear();
            }
            piece << c;
        }
        out << piece;
        word.clear();
    };
    for (auto p = text.getCharPointer(); !p.isEmpty(); ++p)
    {
        if (*p == ' ' || *p == '\n')
        {
            flush();
            out << juce::String::charToString(*p);
        }
        else
        {
            word << juce::String::charToString(*p);
        }
    }
    flush();
    return out;
}
} // namespace

MsgCont::MsgCont(const juce::String& text, int ownerWidth, int ownerHeight)
{
    message.setText(text, juce::dontSendNotification);
    message.setFont(juce::Font("Arial", largestFont, juce::Font::plain));
    message.setJustificationType(juce::Justification::centred);
    message.setColour(juce::Label::textColourId, juce::Colour(0xfffcf5f5));
    addAndMakeVisible(message);

    okButton = std::make_unique<StsBut>("OK", okCode, 140);
    okButton->configure(0, 0, buttonWidth, buttonHeight, true);
    // OK first in Tab order: it is where the keys start.
    okButton->setExplicitFocusOrder(1);
    addAndMakeVisible(*okButton);

    cancelButton = std::make_unique<StsBut>("CANCEL", cancelCode, 140);
    cancelButton->configure(0, 0, buttonWidth, buttonHeight, true);
    cancelButton->setExplicitFocusOrder(2);
    addChildComponent(*cancelButton);

    setTitle("Message");
    setSize(ownerWidth, ownerHeight);
}

MsgCont::~MsgCont() = default;

float MsgCont::wrappedHeight(const juce::String& text, const juce::Font& font, float width)
{
    juce::TextLayout layout;
    layout.createLayout(attributed(text, font, juce::Colours::white), width);
    return layout.getHeight();
}

void MsgCont::resized()
{
    const int w = juce::jmax(2 * sidePad + 40, juce::jmin(boxWidth, getWidth() - 2 * margin));
    const int roomHeight = getHeight() - 2 * margin;
    const int textWidth = w - 2 * sidePad;
    // The largest font whose wrapped lines fit the window; the box keeps its height for short texts.
    auto font = message.getFont();
    int h = boxHeight;
    for (float size = largestFont; size >= smallestFont; size -= 1.0f)
    {
        font = font.withHeight(size);
        const int textHeight = (int)std::ceil(wrappedHeight(message.getText(), font, (float)textWidth));
        h = juce::jmax(boxHeight, textTop + textHeight + 6 + buttonsBelow);
        if (h <= roomHeight && widestLine(message.getText(), font, (float)textWidth) <= (float)textWidth)
            break;
    }
    // Still too wide at the smallest size: break the long words, and measure what is drawn.
    message.lines = breakLongWords(message.getText(), font, (float)textWidth);
    if (message.lines != message.getText())
        h = juce::jmin(juce::jmax(boxHeight, textTop + (int)std::ceil(wrappedHeight(message.lines, font, (float)textWidth))
                                                 + 6 + buttonsBelow),
                       juce::jmax(h, roomHeight));
    h = juce::jmin(h, juce::jmax(buttonsBelow + textTop, roomHeight));
    message.setFont(font);
    box = {(getWidth() - w) / 2, (getHeight() - h) / 2, w, h};

    message.setBounds(box.getX() + sidePad, box.getY() + textTop, textWidth, h - textTop - buttonsBelow - 6);
    const int buttonsTop = box.getBottom() - buttonsBelow;
    okButton->setTopLeftPosition(box.getRight() - 92, buttonsTop);
    cancelButton->setTopLeftPosition(box.getRight() - 180, buttonsTop);
}

void MsgCont::Message::paint(juce::Graphics& g)
{
    juce::TextLayout layout;
    layout.createLayout(attributed(lines.isEmpty() ? getText() : lines, getFont(), findColour(textColourId)),
                        (float)getWidth());
    const float top = juce::jmax(0.0f, ((float)getHeight() - layout.getHeight()) / 2.0f);
    layout.draw(g, getLocalBounds().toFloat().withTrimmedTop(top));
}

void MsgCont::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x66000000));
    const auto area = box.toFloat();
    g.setColour(juce::Colour(0x56000000));
    g.fillRoundedRectangle(area.translated(10.0f, 10.0f), 10.0f);
    g.setColour(juce::Colours::black);
    g.fillRoundedRectangle(area, 10.0f);
    g.setColour(juce::Colour(0xff777777));
    g.drawRoundedRectangle(area, 10.0f, 2.0f);
}

} // namespace zarnel
