#pragma once

#include "ProgramListModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace zarnel
{

class MidiCntrState;

// The scrolling list of programs of the bank page and the write dialog: place, name and category
// of each row, read from the banks when painted. A press selects a row and sends one change
// message; the owner reads getCode(). The listing, selection and scrolling live in the model.
class StsGrid : public juce::Component, public juce::SettableTooltipClient, public juce::ChangeBroadcaster
{
public:
    struct Colours
    {
        juce::uint32 rowFill = 0, selectedRowFill = 0x22038FBE;
        juce::uint32 place = 0xFF00BBBB, name = 0xFF80FFFF, category = 0xFFCCCCCC;
        juce::uint32 selectedPlace = 0xFF00CCCC, selectedName = 0xFF80FFFF, selectedCategory = 0xFFBBBBBB;
    };

    explicit StsGrid(MidiCntrState& state);

    // What both owners use: columns 50, 140 and 100, rows 26 high, font 15, a 32-pixel scroll
    // bar, the default colours.
    void applyPageSettings();
    void setColumns(std::vector<int> widths);
    void applyDefaultColours() { colours = Colours(); }
    void setColours(const Colours& c) { colours = c; }
    void setRowHeight(int height);
    void setFontHeight(float height) { fontHeight = height; }
    void setScrollBarWidth(int width) { scrollBarWidth = width; }

    void listBank(int bank);
    void listCategory(int category);
    // The banks changed: the same bank or category read again.
    void relist();
    void selectProgram(int bank, int program);

    int getCode() const noexcept { return code; }
    int getSelectedBank() const noexcept { return model.getSelectedBank(); }
    int getSelectedProgram() const noexcept { return model.getSelectedProgram(); }
    int getColumnAtPress() const noexcept { return model.getColumnAtPress(); }
    const ProgramListModel& getModel() const noexcept { return model; }

    // U1:001 .. U4:128, F1:001 .. F4:128.
    static juce::String placeText(int bank, int program);

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    // Up and down select the row above or below, as a click on it does.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    // Place, name and category of a row, as painted; empty for no row.
    juce::String rowText(int row) const;

private:
    void paintRows(juce::Graphics& g);
    void paintScrollBar(juce::Graphics& g);

    MidiCntrState& state;
    ProgramListModel model;
    Colours colours;
    int scrollBarWidth = 18;
    float fontHeight = 15.0f;
    int code = ProgramListModel::noCode;
    bool rowDragging = false;
    bool thumbDragging = false;
    juce::Image background, thumb;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsGrid)
};

} // namespace zarnel
