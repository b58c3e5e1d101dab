#include "ProgramListView.h"

#include "../widgets/ButtonAccess.h"

#include "../look/Pictures.h"

#include "../../library/LibraryStore.h"
#include "../../model/ParDes.h"

namespace zarnel
{

namespace
{
const juce::Colour background(0xFF373535), rowFill(0xFF3B3B43), selectedFill(0xFF7B7F95);
const juce::Colour numberColour(0xFFAAAAAA), nameColour(0xFFCCCCCC), categoryColour(0xFFBBBBBB);
const juce::Colour selectedNumber(0xFFEEEEEE);
constexpr int thumbHeight = 43;
} // namespace

ProgramListView::ProgramListView() : thumb(Pictures::get(Picture::listThumb))
{
    ButtonAccess::takeFocusFromKeys(*this);
}

ProgramListView::~ProgramListView()
{
    stopTimer();
}

void ProgramListView::setTopRow(int row)
{
    const int limit = juce::jmax(0, getNumRows() - getVisibleRows());
    const int top = juce::jlimit(0, limit, row);
    if (top != topRow)
    {
        topRow = top;
        repaint();
    }
}

void ProgramListView::setSelectedRowQuietly(int row)
{
    selectedRow = row >= 0 && row < getNumRows() ? row : -1;
    repaint();
}

double ProgramListView::scrollRatio() const
{
    const int hidden = getNumRows() - getVisibleRows();
    return hidden > 0 ? (double)hidden / (double)juce::jmax(1, getHeight() - thumbHeight) : 0.0;
}

int ProgramListView::thumbTop() const
{
    const double ratio = scrollRatio();
    return ratio > 0.0 ? (int)((double)topRow / ratio) : 0;
}

void ProgramListView::paint(juce::Graphics& g)
{
    g.fillAll(background);
    const int rows = getNumRows();
    const juce::Font numberFont("Arial", 14.0f, juce::Font::plain), nameFont("Arial", 15.0f, juce::Font::plain),
        categoryFont("Arial", 12.0f, juce::Font::plain);
    for (int k = 0; k < getVisibleRows() && topRow + k < rows; ++k)
    {
        const int row = topRow + k;
        const auto* record = getRowRecord(row);
        const bool selected = row == selectedRow;
        const int y = k * rowHeight;
        const juce::Rectangle<float> box(1.0f, (float)y + 5.0f, (float)rowWidth - 6.0f, 24.0f);
        g.setColour(selected ? selectedFill : rowFill);
        g.fillRoundedRectangle(box, 4.0f);
        g.setColour(background.darker(0.4f));
        g.drawRoundedRectangle(box, 4.0f, 2.0f);

        g.setFont(numberFont);
        g.setColour(selected ? selectedNumber : numberColour);
        g.drawText(juce::String(row + 1), 7, y + 4, 50, 20, juce::Justification::centredLeft, false);
        g.setFont(nameFont);
        g.setColour(selected ? juce::Colours::white : nameColour);
        g.drawText(LibraryStore::shownName(record), 44, y + 8, 180, 20, juce::Justification::centredLeft, true);
        g.setFont(categoryFont);
        g.setColour(selected ? juce::Colours::white : categoryColour);
        g.drawText(ParDes::categoryName(LibraryStore::categoryOf(record)), 0, y + 6, 282, 20,
                   juce::Justification::bottomRight, true);
    }

    if (hasScrollBar())
    {
        const juce::Rectangle<float> track(305.0f, 0.0f, 24.0f, (float)getHeight());
        g.setColour(juce::Colour(0x50323030));
        g.fillRoundedRectangle(track, 3.0f);
        g.setColour(juce::Colour(0x5A4B4F57));
        g.drawRoundedRectangle(track, 3.0f, 1.0f);
        g.drawImageAt(thumb, 299, thumbTop());
    }
}

void ProgramListView::mouseDown(const juce::MouseEvent& e)
{
    stopTimer();
    drag = Drag::none;
    const int rows = getNumRows();
    if (e.x >= 0 && e.x < rowWidth - 30)
    {
        // Under the last row there is nothing to choose: a click there must not apply the last program.
        const int row = e.y / rowHeight + topRow;
        if (e.y < 0 || row >= rows)
            return;
        drag = Drag::selecting;
        chooseRow(row);
        return;
    }
    if (!hasScrollBar())
        return;
    const int top = thumbTop();
    if (e.y >= top && e.y < top + thumbHeight)
    {
        drag = Drag::thumb;
        return;
    }
    repeatStep = e.y < top ? -1 : 1;
    setTopRow(topRow + repeatStep);
    startTimer(repeatMs);
}

void ProgramListView::mouseDrag(const juce::MouseEvent& e)
{
    if (drag == Drag::selecting)
    {
        if (e.y > getHeight())
            setTopRow(topRow + 1);
        else if (e.y < 0)
            setTopRow(topRow - 1);
    }
    else if (drag == Drag::thumb)
    {
        const int limit = rowHeight * getVisibleRows() - thumbHeight;
        int a = e.y - thumbHeight + 20;
        a = a < 0 ? 0 : (a > limit ? limit + 1 : a);
        setTopRow((int)(a * scrollRatio()));
    }
}

void ProgramListView::mouseUp(const juce::MouseEvent&)
{
    stopTimer();
    drag = Drag::none;
}

void ProgramListView::mouseDoubleClick(const juce::MouseEvent& e)
{
    if (e.x >= 0 && e.x < rowWidth - 30 && e.y >= 0 && e.y / rowHeight + topRow < getNumRows())
        rowDoubleClicked();
}

void ProgramListView::mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    if (wheel.deltaY != 0.0f)
        setTopRow(topRow + (wheel.deltaY > 0.0f ? -1 : 1));
}

void ProgramListView::chooseRow(int row)
{
    selectedRow = row;
    repaint();
    rowChosen(row);
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
}

bool ProgramListView::keyPressed(const juce::KeyPress& key)
{
    const int rows = getNumRows();
    if (key == juce::KeyPress::returnKey)
    {
        if (rows > 0 && selectedRow >= 0)
            rowDoubleClicked();
        return true;
    }
    const int direction = key == juce::KeyPress::downKey ? 1 : key == juce::KeyPress::upKey ? -1 : 0;
    if (direction == 0 || key.getModifiers().isCommandDown())
        return false;
    const int row = selectedRow < 0 ? 0 : selectedRow + direction;
    if (row < 0 || row >= rows || row == selectedRow)
        return true;
    if (row < topRow)
        setTopRow(row);
    else if (row >= topRow + getVisibleRows())
        setTopRow(row - getVisibleRows() + 1);
    chooseRow(row);
    return true;
}

juce::String ProgramListView::rowText(int row) const
{
    if (row < 0 || row >= getNumRows())
        return {};
    const auto* record = getRowRecord(row);
    return juce::String(row + 1) + " " + LibraryStore::shownName(record).trimEnd() + ", "
           + ParDes::categoryName(LibraryStore::categoryOf(record));
}

std::unique_ptr<juce::AccessibilityHandler> ProgramListView::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler>(
        *this, juce::AccessibilityRole::list, juce::AccessibilityActions{},
        juce::AccessibilityHandler::Interfaces{ButtonAccess::readOnlyText([this] { return rowText(selectedRow); })});
}

void ProgramListView::timerCallback()
{
    setTopRow(topRow + repeatStep);
}

} // namespace zarnel
