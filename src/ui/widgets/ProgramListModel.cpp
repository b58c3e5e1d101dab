#include "ProgramListModel.h"

#include "../../midi/MidiCntrState.h"
#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"

#include <algorithm>
#include <utility>

namespace zarnel
{

int ProgramListModel::categoryOf(int storedByte) noexcept
{
    return std::clamp(storedByte, 0, ParDes::numCategories - 1);
}

void ProgramListModel::listBank(int bank)
{
    if (!ProgramBankSet::isValidBank(bank))
        return;
    std::vector<Row> newRows;
    newRows.reserve((size_t)Bank_Program::numSlots);
    for (int p = 0; p < Bank_Program::numSlots; ++p)
        newRows.push_back({bank, p});
    setRows(bankMode, bank, std::move(newRows));
}

void ProgramListModel::listCategory(int category, const MidiCntrState& state)
{
    if (category < 0 || category >= ParDes::numCategories)
        return;
    std::vector<Row> newRows;
    for (int b = 0; b < ProgramBankSet::numBanks; ++b)
    {
        // One locked copy per bank: a receive may be storing into it meanwhile.
        const auto data = state.getBankData(b);
        for (int p = 0; p < Bank_Program::numSlots; ++p)
        {
            const size_t at = (size_t)p * Bank_Program::slotSize + (size_t)DSI_Program::categoryOffset;
            if (at < data.size() && categoryOf(data[at]) == category)
                newRows.push_back({b, p});
        }
    }
    setRows(categoryMode, category, std::move(newRows));
}

void ProgramListModel::relist(const MidiCntrState& state)
{
    if (mode == categoryMode)
        listCategory(argument, state);
    else
        listBank(argument);
}

void ProgramListModel::setRows(int newMode, int newArgument, std::vector<Row> newRows)
{
    const bool same = newMode == mode && newArgument == argument;
    const int oldSelected = selectedRow;
    const Row oldRow = oldSelected >= 0 && oldSelected < getNumRows() ? rows[(size_t)oldSelected] : Row{-1, -1};
    mode = newMode;
    argument = newArgument;
    rows = std::move(newRows);
    lastScrollRequest = -1;
    if (!same)
    {
        clearSelection();
        firstRow = 0;
        return;
    }
    // The selected program keeps its selection where it still is listed; otherwise the row
    // number stays, within the rows left.
    const auto found = std::find(rows.begin(), rows.end(), oldRow);
    if (oldSelected < 0)
        clearSelection();
    else if (found != rows.end())
        select((int)(found - rows.begin()));
    else
        select(std::min(oldSelected, getNumRows() - 1));
    firstRow = std::clamp(firstRow, 0, lastPosition());
}

void ProgramListModel::setGeometry(int newHeight, int newRowHeight)
{
    height = std::max(0, newHeight);
    rowHeight = std::max(1, newRowHeight);
    visibleRows = height / rowHeight;
    lastScrollRequest = -1;
    firstRow = std::clamp(firstRow, 0, lastPosition());
}

void ProgramListModel::setColumns(std::vector<int> widths)
{
    columnWidths = std::move(widths);
    clearSelection();
    firstRow = 0;
    lastScrollRequest = -1;
}

int ProgramListModel::lastPosition() const noexcept
{
    return std::max(0, getNumRows() - visibleRows);
}

int ProgramListModel::rowAt(int y) const
{
    if (y < 0)
        return -1;
    const int r = y / rowHeight + firstRow;
    return r < getNumRows() ? r : -1;
}

int ProgramListModel::columnAt(int x) const
{
    int left = 0;
    for (size_t i = 0; i < columnWidths.size(); ++i)
    {
        if (x > left && x < left + columnWidths[i])
            return (int)i;
        left += columnWidths[i];
    }
    return -1;
}

void ProgramListModel::select(int row)
{
    if (row < 0 || row >= getNumRows())
    {
        clearSelection();
        return;
    }
    selectedRow = row;
    selectedBank = rows[(size_t)row].bank;
    selectedProgram = rows[(size_t)row].program;
}

void ProgramListModel::clearSelection()
{
    selectedRow = -1;
    selectedBank = -1;
    selectedProgram = -1;
}

int ProgramListModel::press(int x, int y, bool rightButton)
{
    columnAtPress = columnAt(x);
    // Below the last row, or in an empty category, there is nothing to select or to report.
    const int row = rowAt(y);
    if (row < 0)
        return noCode;
    select(row);
    if (!rightButton)
        return rowSelectedCode;
    // Everything right of the name column up to the scroll bar is the category's.
    if ((int)columnWidths.size() <= categoryColumn)
        return rowMenuCode;
    int categoryLeft = 0;
    for (int i = 0; i < categoryColumn; ++i)
        categoryLeft += columnWidths[(size_t)i];
    return x > categoryLeft ? categoryMenuCode : rowMenuCode;
}

void ProgramListModel::selectProgram(int bank, int program)
{
    const auto found = std::find(rows.begin(), rows.end(), Row{bank, program});
    if (found == rows.end())
    {
        clearSelection();
        return;
    }
    const int row = (int)(found - rows.begin());
    select(row);
    if (row < firstRow || row >= firstRow + std::max(1, visibleRows))
        scrollTo(row);
}

void ProgramListModel::scrollTo(int position)
{
    if (position == lastScrollRequest)
        return;
    lastScrollRequest = position;
    firstRow = std::clamp(position, 0, lastPosition());
}

void ProgramListModel::scrollBy(int delta)
{
    scrollTo(firstRow + delta);
}

int ProgramListModel::thumbTravel() const
{
    return visibleRows * rowHeight - thumbTravelMargin;
}

void ProgramListModel::dragThumb(int y)
{
    const int travel = thumbTravel();
    if (travel <= 0 || getNumRows() <= visibleRows)
        return;
    const int a = std::clamp(y - thumbTravelMargin, 0, travel);
    scrollTo((int)((double)a * (double)(getNumRows() - visibleRows) / (double)travel));
}

int ProgramListModel::thumbTop() const
{
    const int travel = thumbTravel();
    if (travel <= 0 || getNumRows() <= visibleRows)
        return -1;
    return (int)((double)firstRow * (double)travel / (double)(getNumRows() - visibleRows));
}

} // namespace zarnel
