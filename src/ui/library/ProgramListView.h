#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The list of programs shared by the library page and the preset bank page: rows of 34 pixels
// with number, name and category, a selected row, scrolling by wheel, drag and a thumb (which
// repeats every 200 ms while held beside it). What the rows hold comes from the subclass.
class ProgramListView : public juce::Component, public juce::SettableTooltipClient, private juce::Timer
{
public:
    static constexpr int rowHeight = 34;
    static constexpr int rowWidth = 302;
    static constexpr int repeatMs = 200;

    ProgramListView();
    ~ProgramListView() override;

    virtual int getNumRows() const = 0;
    // The 256-byte record the row shows.
    virtual const std::uint8_t* getRowRecord(int row) const = 0;

    int getSelectedRow() const noexcept { return selectedRow; }
    int getTopRow() const noexcept { return topRow; }
    int getVisibleRows() const noexcept { return juce::jmax(1, getHeight() / rowHeight); }
    bool hasScrollBar() const { return getNumRows() > getVisibleRows(); }
    void setTopRow(int row);
    // Selects without telling anybody (-1: none).
    void setSelectedRowQuietly(int row);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseDoubleClick(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    // Up and Down choose the row above or below, as a click would; Return is a double click.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

    // A row as a screen reader reads it: number, name and category.
    juce::String rowText(int row) const;

protected:
    // A row chosen by the user (already selected and repainted).
    virtual void rowChosen(int row) = 0;
    virtual void rowDoubleClicked() = 0;

private:
    void timerCallback() override;
    void chooseRow(int row);
    int thumbTop() const;
    double scrollRatio() const;

    int topRow = 0;
    int selectedRow = -1;
    enum class Drag
    {
        none,
        selecting,
        thumb
    } drag = Drag::none;
    int repeatStep = 0;
    juce::Image thumb;
};

} // namespace zarnel
