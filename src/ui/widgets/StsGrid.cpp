#include "StsGrid.h"

#include "ButtonAccess.h"
#include "LCD_Comp.h"

#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

#include "../../midi/MidiCntrState.h"
#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"

namespace zarnel
{

namespace
{
constexpr juce::uint32 separatorColour = 0xFF555555;
constexpr int backgroundMargin = 15;
} // namespace

StsGrid::StsGrid(MidiCntrState& s)
    : state(s), background(Pictures::get(Picture::listBackground)), thumb(Pictures::get(Picture::scrollThumb))
{
    ButtonAccess::takeFocusFromKeys(*this);
    setTitle("Programs");
}

juce::String StsGrid::rowText(int row) const
{
    if (row < 0 || row >= model.getNumRows())
        return {};
    const auto r = model.getRow(row);
    const auto record = state.getBankProgram(r.bank, r.program);
    return placeText(r.bank, r.program) + " " + DSI_Program::decodeName(record.data(), record.size()).trimEnd() + ", "
           + ParDes::categoryName(ProgramListModel::categoryOf(record[(size_t)DSI_Program::categoryOffset]));
}

std::unique_ptr<juce::AccessibilityHandler> StsGrid::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler>(
        *this, juce::AccessibilityRole::list, juce::AccessibilityActions{},
        juce::AccessibilityHandler::Interfaces{ButtonAccess::readOnlyText([this] { return rowText(model.getSelectedRow()); })});
}

bool StsGrid::keyPressed(const juce::KeyPress& key)
{
    const int direction = key == juce::KeyPress::downKey ? 1 : key == juce::KeyPress::upKey ? -1 : 0;
    if (direction == 0)
        return false;
    const int selected = model.getSelectedRow();
    const int row = selected < 0 ? 0 : selected + direction;
    if (row < 0 || row >= model.getNumRows() || row == selected)
        return true;
    const auto target = model.getRow(row);
    model.selectProgram(target.bank, target.program);
    code = ProgramListModel::rowSelectedCode;
    repaint();
    sendChangeMessage();
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
    return true;
}

juce::String StsGrid::placeText(int bank, int program)
{
    return LCD_Comp::placeText(bank, program);
}

void StsGrid::applyPageSettings()
{
    setColumns({50, 140, 100, 0});
    setRowHeight(26);
    setFontHeight(15.0f);
    setScrollBarWidth(32);
    applyDefaultColours();
}

void StsGrid::setColumns(std::vector<int> widths)
{
    model.setColumns(std::move(widths));
    repaint();
}

void StsGrid::setRowHeight(int height)
{
    model.setGeometry(getHeight(), height);
    repaint();
}

void StsGrid::listBank(int bank)
{
    model.listBank(bank);
    repaint();
}

void StsGrid::listCategory(int category)
{
    model.listCategory(category, state);
    repaint();
}

void StsGrid::relist()
{
    model.relist(state);
    repaint();
}

void StsGrid::selectProgram(int bank, int program)
{
    model.selectProgram(bank, program);
    repaint();
}

void StsGrid::resized()
{
    model.setGeometry(getHeight(), model.getRowHeight());
}

void StsGrid::paint(juce::Graphics& g)
{
    const int backgroundWidth = getWidth() - scrollBarWidth - backgroundMargin;
    if (backgroundWidth > 0)
    {
        g.setOpacity(0.25f);
        g.drawImage(background, 0, 0, backgroundWidth, getHeight(), 0, 0, background.getWidth(), background.getHeight());
    }
    paintRows(g);
    paintScrollBar(g);
    if (backgroundWidth > 0)
    {
        g.setOpacity(0.25f);
        g.drawImage(background, 0, 0, backgroundWidth, getHeight(), 0, 0, background.getWidth(), background.getHeight());
    }
}

void StsGrid::paintRows(juce::Graphics& g)
{
    const auto& widths = model.getColumnWidths();
    const int w0 = widths.size() > 0 ? widths[0] : 0;
    const int w1 = widths.size() > 1 ? widths[1] : 0;
    const int w2 = widths.size() > 2 ? widths[2] : 0;
    const int rowWidth = w0 + w1 + w2 + 4;
    const int rowHeight = model.getRowHeight();
    const auto plain = ZarnelLookAndFeel::arial(fontHeight);
    const auto bold = ZarnelLookAndFeel::arial(fontHeight, juce::Font::bold);
    for (int i = 0; i < model.getVisibleRows(); ++i)
    {
        const int r = model.getFirstRow() + i;
        if (r >= model.getNumRows())
            break;
        const int y = i * rowHeight;
        g.setColour(juce::Colour(separatorColour));
        g.fillRect(0, y, rowWidth, 1);

        const auto row = model.getRow(r);
        // A locked copy: a bank receive may be storing into this slot on the input thread.
        const auto record = state.getBankProgram(row.bank, row.program);
        const int category = ProgramListModel::categoryOf(record[(size_t)DSI_Program::categoryOffset]);
        const bool selected = r == model.getSelectedRow();
        const auto fill = selected ? colours.selectedRowFill : colours.rowFill;
        if (fill != 0)
        {
            g.setColour(juce::Colour(fill));
            g.fillRect(0, y, rowWidth, selected ? rowHeight + 3 : rowHeight - 1);
        }
        g.setFont(selected ? bold : plain);
        const int baseline = y + (int)fontHeight + 4;
        g.setColour(juce::Colour(selected ? colours.selectedPlace : colours.place));
        g.drawSingleLineText(placeText(row.bank, row.program), 7, baseline);
        g.setColour(juce::Colour(selected ? colours.selectedName : colours.name));
        g.drawSingleLineText(DSI_Program::decodeName(record.data(), record.size()), w0 + 6, baseline);
        g.setColour(juce::Colour(selected ? colours.selectedCategory : colours.category));
        g.drawSingleLineText(ParDes::categoryName(category), w0 + w1 + 6, baseline);
    }
}

void StsGrid::paintScrollBar(juce::Graphics& g)
{
    const int x0 = getWidth() - scrollBarWidth;
    const int barHeight = model.getVisibleRows() * model.getRowHeight();
    if (colours.rowFill != 0)
    {
        g.setColour(juce::Colour(colours.rowFill));
        g.fillRect(x0, 0, scrollBarWidth - 2, barHeight);
    }
    const int thumbTop = model.thumbTop();
    if (thumbTop < 0)
        return;
    const juce::Rectangle<float> bar((float)x0, 0.0f, (float)(scrollBarWidth - 2), (float)barHeight);
    g.setColour(juce::Colour(0xFF1F2224));
    g.fillRoundedRectangle(bar, 2.0f);
    g.setColour(juce::Colour(0x55808040));
    g.drawRoundedRectangle(bar, 2.0f, 1.0f);
    g.setOpacity(0.9f);
    g.drawImage(thumb, x0 + scrollBarWidth / 18, thumbTop, scrollBarWidth - 2, 33, 0, 0, thumb.getWidth(),
                thumb.getHeight());
}

void StsGrid::mouseDown(const juce::MouseEvent& e)
{
    rowDragging = false;
    thumbDragging = false;
    const int x = e.x;
    const int y = e.y;
    if (x > 0 && x < getWidth() - scrollBarWidth)
    {
        rowDragging = true;
        const int pressCode = model.press(x, y, e.mods.isPopupMenu());
        if (pressCode == ProgramListModel::noCode)
            return;
        code = pressCode;
        repaint();
        sendChangeMessage();
    }
    else if (x >= getWidth() - scrollBarWidth)
    {
        thumbDragging = true;
        model.dragThumb(y);
        repaint();
    }
}

void StsGrid::mouseDrag(const juce::MouseEvent& e)
{
    const int before = model.getFirstRow();
    if (thumbDragging)
        model.dragThumb(e.y);
    else if (rowDragging && e.y > getHeight())
        model.scrollBy(1);
    else if (rowDragging && e.y < 0)
        model.scrollBy(-1);
    if (model.getFirstRow() != before)
        repaint();
}

void StsGrid::mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    if (e.y < 0 || wheel.deltaY == 0.0f)
        return;
    const int before = model.getFirstRow();
    model.scrollBy(wheel.deltaY < 0.0f ? 1 : -1);
    if (model.getFirstRow() != before)
        repaint();
}

} // namespace zarnel
