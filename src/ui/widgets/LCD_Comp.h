#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The program display: place (U1:001), category and name on a picture of a liquid-crystal screen.
// A press stores the zone it hit and sends one change message; the owner reads getZone().
class LCD_Comp : public juce::Component, public juce::ChangeBroadcaster
{
public:
    enum Zone
    {
        noZone = 0,
        placeZone = 1,
        nameZone = 2,
        categoryZone = 3
    };

    LCD_Comp();

    void showProgram(int bank, int program, int category, const juce::String& name, const juce::String& categoryName);
    void showPlace(int bank, int program);
    void showCategoryName(int category, const juce::String& categoryName);
    void setScale(float newScale);
    int getZone() const noexcept { return zone; }

    // U1..U4 for banks 0..3, F1..F4 for 4..7, then the program number from 001.
    static juce::String placeText(int bank, int program);

    const juce::String& getPlaceText() const noexcept { return place; }
    const juce::String& getName() const noexcept { return name; }
    const juce::String& getCategoryText() const noexcept { return categoryText; }
    int getBank() const noexcept { return bank; }
    int getProgram() const noexcept { return program; }
    int getCategory() const noexcept { return category; }
    float getScale() const noexcept { return scale; }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;

    // From the keyboard and screen readers: Return or Space (a press) acts as a press on this zone,
    // Shift+F10 (show menu) as one on the category.
    void setKeyZone(int z) noexcept { keyZone = z; }
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    // What a screen reader reads: place, name and category.
    juce::String spokenText() const;

private:
    float scale = 1.0f;
    juce::String name, place, categoryText;
    int program = 0, bank = 0, category = 0;
    int zone = noZone;
    int keyZone = placeZone;
    void pressZone(int z);
    juce::Image screen, glass;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(LCD_Comp)
};

} // namespace zarnel
