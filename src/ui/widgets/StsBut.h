#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

class StsBut;

class stsbutListener
{
public:
    virtual ~stsbutListener() = default;
    virtual void stsbutPressed(int id) = 0;
};

class stsbutChangeListener
{
public:
    virtual ~stsbutChangeListener() = default;
    virtual void stsbutChanged(StsBut* button) = 0;
};

// The general command button. Style 5 draws itself and reports on the press; styles 130, 135 and
// 140 are drawn by an inner text button and report on its click. Change listeners hear first, then
// id listeners, each list from the last added.
class StsBut : public juce::Component, public juce::Button::Listener
{
public:
    enum Style
    {
        plain = 5,
        tab = 130,
        tabNoLine = 135,
        dialog = 140
    };

    StsBut(const juce::String& caption, int id, int style);
    ~StsBut() override;

    void configure(int x, int y, int width, int height, bool applyBounds);

    void addListener(stsbutListener* listener);
    void removeListener(stsbutListener* listener);
    void addChangeListener(stsbutChangeListener* listener);
    void removeChangeListener(stsbutChangeListener* listener);

    void setFontHeight(float height);
    float getFontHeight() const noexcept { return fontHeight; }
    int getId() const noexcept { return id; }
    const juce::String& getCaption() const noexcept { return caption; }
    void setCaption(const juce::String& newCaption);
    int getStyle() const noexcept { return style; }
    bool isPressed() const noexcept { return pressed; }
    juce::TextButton* getInnerButton() const noexcept { return inner.get(); }

    void paint(juce::Graphics& g) override;
    void paintOverChildren(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void buttonClicked(juce::Button* button) override;
    // Styles drawn by an inner text button leave keys and screen readers to it.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void applyStyle();
    void tellListeners();
    bool drawsItself() const noexcept { return style == plain; }

    // One lock for both lists (the id list is only touched on the message thread anyway).
    juce::CriticalSection changeListenerLock;
    juce::Array<stsbutListener*> idListeners;
    juce::Array<stsbutChangeListener*> changeListeners;

    juce::String caption;
    int id;

    juce::Colour edgeA, edgeB, face, pressedFace, textColour, pressedTextColour;
    int style;
    float fontHeight = 13.0f;
    std::unique_ptr<juce::TextButton> inner;
    bool pressed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsBut)
};

} // namespace zarnel
