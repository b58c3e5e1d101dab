#pragma once

#include <cstddef>
#include <vector>

namespace zarnel
{

class MidiCntrState;

// What the program list shows and where the user is in it, apart from any drawing: the rows of a
// bank or of a category, the selection, the scroll position and what a press means. The banks
// are read through the controller state's locked accessors only, since a bank receive writes
// them on the MIDI input thread.
class ProgramListModel
{
public:
    enum Mode
    {
        bankMode = 0,
        categoryMode = 1
    };

    // What a press reports to the list's owner.
    static constexpr int noCode = 0;
    static constexpr int categoryMenuCode = 88;
    static constexpr int rowMenuCode = 90;
    static constexpr int rowSelectedCode = 91;

    // The thumb travels the scroll bar's height less this.
    static constexpr int thumbTravelMargin = 31;
    static constexpr int categoryColumn = 2;

    struct Row
    {
        int bank = 0;
        int program = 0;
        bool operator==(const Row&) const = default;
    };

    // A new bank or category starts at the top with nothing selected; listing the same one again
    // (the banks changed) keeps the selection on its program and the scroll position, both
    // limited to the new rows.
    void listBank(int bank);
    void listCategory(int category, const MidiCntrState& state);
    // The same mode and bank or category, read again.
    void relist(const MidiCntrState& state);

    // The list's height in pixels and the height of a row.
    void setGeometry(int height, int rowHeight);
    void setColumns(std::vector<int> widths);

    // A press at (x, y) in the rows' area (left of the scroll bar): selects the row there and
    // returns the code for the owner; noCode where there is no row.
    int press(int x, int y, bool rightButton);
    // Selects the row of (bank, program), if listed, and scrolls until it is visible.
    void selectProgram(int bank, int program);
    void clearSelection();

    // Scroll position = first visible row, limited to 0 .. rows - visible rows.
    void scrollTo(int position);
    // From dragging a row past the top or bottom edge.
    void scrollBy(int rows);
    // Dragging the thumb to y; nothing when the thumb has no room to travel.
    void dragThumb(int y);
    // The thumb's top edge in pixels, or -1 when there is no thumb (everything fits, or no room).
    int thumbTop() const;
    int thumbTravel() const;

    int rowAt(int y) const; // -1 where no row is
    int columnAt(int x) const;

    int getMode() const noexcept { return mode; }
    int getModeArgument() const noexcept { return argument; }
    int getNumRows() const noexcept { return (int)rows.size(); }
    const Row& getRow(int index) const { return rows[(std::size_t)index]; }
    int getVisibleRows() const noexcept { return visibleRows; }
    int getFirstRow() const noexcept { return firstRow; }
    int getSelectedRow() const noexcept { return selectedRow; }
    int getSelectedBank() const noexcept { return selectedBank; }
    int getSelectedProgram() const noexcept { return selectedProgram; }
    int getColumnAtPress() const noexcept { return columnAtPress; }
    int getRowHeight() const noexcept { return rowHeight; }
    const std::vector<int>& getColumnWidths() const noexcept { return columnWidths; }

    // The program's category for showing and sorting: bytes above the last category read as it.
    static int categoryOf(int storedByte) noexcept;

private:
    void setRows(int newMode, int newArgument, std::vector<Row> newRows);
    void select(int row);
    int lastPosition() const noexcept;

    int mode = bankMode;
    int argument = -1;
    std::vector<Row> rows;
    std::vector<int> columnWidths;
    int height = 0;
    int rowHeight = 26;
    int visibleRows = 0;
    int firstRow = 0;
    int lastScrollRequest = -1;
    int selectedRow = -1;
    int selectedBank = -1;
    int selectedProgram = -1;
    int columnAtPress = -1;
};

} // namespace zarnel
