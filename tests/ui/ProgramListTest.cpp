#include "UiTestSupport.h"

#include "midi/MidiCntrState.h"
#include "model/DSI_Program.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"
#include "ui/widgets/StsGrid.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

// The list as both owners set it up: columns 50, 140, 100, rows 26 high, a 32-pixel scroll bar.
class ProgramListTest : public ::testing::Test
{
protected:
    ProgramListTest()
    {
        grid.setColumns({50, 140, 100, 0});
        grid.setRowHeight(26);
        grid.setScrollBarWidth(32);
        grid.setBounds(0, 0, 350, 10 * 26);
    }

    void setCategory(int bank, int program, int category)
    {
        auto record = state.getBankProgram(bank, program);
        record[(size_t)DSI_Program::categoryOffset] = (std::uint8_t)category;
        state.setBankProgram(bank, program, record);
    }

    // Every program in category 0, then the given slots in category c.
    void onlyInCategory(int c, std::initializer_list<ProgramListModel::Row> rows)
    {
        for (int b = 0; b < 8; ++b)
            for (int p = 0; p < 128; ++p)
                setCategory(b, p, 0);
        for (const auto& r : rows)
            setCategory(r.bank, r.program, c);
    }

    int press(int x, int y, juce::ModifierKeys mods = test::leftButton())
    {
        test::ChangeCounter messages(grid);
        grid.mouseDown(test::mouseAt(grid, x, y, mods));
        return messages.count() > 0 ? grid.getCode() : 0;
    }

    test::UiEnvironment ui;
    test::TempFolder folder;
    test::VirtualMidiBackend backend;
    MidiCntrState state{folder.get(), backend};
    StsGrid grid{state};
    const ProgramListModel& model = grid.getModel();
};

} // namespace

TEST_F(ProgramListTest, BankListingsReadTheirPlaces)
{
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "U1:001", "U1:128"}, {3, "U4:001", "U4:128"}, {4, "F1:001", "F1:128"}, {7, "F4:001", "F4:128"}};
    for (const auto& [bank, first, last] : cases)
    {
        grid.listBank(bank);
        ASSERT_EQ(model.getNumRows(), 128) << bank;
        EXPECT_EQ(StsGrid::placeText(model.getRow(0).bank, model.getRow(0).program), first);
        EXPECT_EQ(StsGrid::placeText(model.getRow(127).bank, model.getRow(127).program), last);
    }
}

TEST_F(ProgramListTest, ACategoryIsListedByBankThenProgram)
{
    // A stored byte above the last category is shown, and listed, as the last one.
    onlyInCategory(25, {{6, 3}, {0, 90}, {2, 1}, {0, 4}});
    setCategory(5, 7, 200);
    grid.listCategory(25);
    std::vector<ProgramListModel::Row> rows;
    for (int i = 0; i < model.getNumRows(); ++i)
        rows.push_back(model.getRow(i));
    EXPECT_EQ(rows, (std::vector<ProgramListModel::Row>{{0, 4}, {0, 90}, {2, 1}, {5, 7}, {6, 3}}));
}

TEST_F(ProgramListTest, PressesReportTheirRowAfterScrollingAndNothingWhereNoRowIs)
{
    struct Case
    {
        int x, y;
        bool right;
        int code, bank, program;
    };
    // Scrolled by 10 rows in bank U2: the third visible row is program 12 (U2:013).
    const Case cases[] = {
        {100, 2 * 26 + 5, false, 91, 1, 12},
        {100, 2 * 26 + 5, true, 90, 1, 12},
        {20, 5, true, 90, 1, 10},
        {200, 4 * 26 + 5, true, 88, 1, 14},
        // Right of the category text, short of the scroll bar: still the category.
        {300, 26 + 5, true, 88, 1, 11},
    };
    grid.listBank(1);
    for (int i = 0; i < 10; ++i)
        grid.mouseWheelMove(test::mouseAt(grid, 10, 10), test::wheel(-1.0f));
    for (const auto& c : cases)
    {
        ASSERT_EQ(model.getFirstRow(), 10);
        EXPECT_EQ(press(c.x, c.y, c.right ? test::rightButton() : test::leftButton()), c.code) << c.x << "," << c.y;
        EXPECT_EQ(grid.getSelectedBank(), c.bank);
        EXPECT_EQ(grid.getSelectedProgram(), c.program);
    }

    // Below the last row of a short category, and anywhere in an empty one: nothing selected or sent.
    onlyInCategory(4, {{3, 5}, {7, 0}});
    grid.listCategory(4);
    EXPECT_EQ(press(100, 3 * 26 + 2), 0);
    EXPECT_EQ(press(200, 5 * 26, test::rightButton()), 0);
    EXPECT_EQ(grid.getSelectedBank(), -1);
    EXPECT_EQ(grid.getSelectedProgram(), -1);
    grid.listCategory(9);
    EXPECT_EQ(model.getNumRows(), 0);
    EXPECT_EQ(press(100, 5), 0);
    EXPECT_EQ(grid.getSelectedProgram(), -1);
}

TEST_F(ProgramListTest, ListingTheSameAgainKeepsSelectionAndScrollWithinTheNewRows)
{
    std::initializer_list<ProgramListModel::Row> slots = {{0, 1}, {0, 2}, {0, 3}, {1, 0}, {1, 1}, {1, 2},
                                                          {2, 0}, {2, 1}, {2, 2}, {3, 0}, {3, 1}, {3, 2}, {4, 4}};
    onlyInCategory(7, slots);
    grid.listCategory(7);
    grid.mouseWheelMove(test::mouseAt(grid, 10, 10), test::wheel(-1.0f));
    grid.mouseWheelMove(test::mouseAt(grid, 10, 10), test::wheel(-1.0f));
    ASSERT_EQ(model.getFirstRow(), 2);
    ASSERT_EQ(press(100, 26 * 6 + 3), 91);
    ASSERT_EQ(grid.getSelectedBank(), 2);
    ASSERT_EQ(grid.getSelectedProgram(), 2);

    // A program above it leaves the category: the selection follows its program, the list
    // stays where it was as far as the fewer rows allow.
    setCategory(0, 1, 3);
    grid.relist();
    EXPECT_EQ(model.getSelectedRow(), 7);
    EXPECT_EQ(grid.getSelectedProgram(), 2);
    EXPECT_EQ(model.getFirstRow(), 2);

    // The selected program itself leaves: the row number stays.
    setCategory(2, 2, 3);
    grid.relist();
    EXPECT_EQ(model.getSelectedRow(), 7);
    EXPECT_EQ(grid.getSelectedBank(), 3);
    EXPECT_EQ(grid.getSelectedProgram(), 0);
    EXPECT_EQ(model.getFirstRow(), 1) << "limited to the last full page";

    // Another category starts at the top with nothing selected.
    grid.listCategory(3);
    EXPECT_EQ(model.getSelectedRow(), -1);
    EXPECT_EQ(model.getFirstRow(), 0);
}

TEST_F(ProgramListTest, WheelThumbAndRowDraggingShareOneScrollPosition)
{
    grid.listBank(2);
    // The wheel: one row per event, ending at the last full page.
    for (int i = 0; i < 200; ++i)
        grid.mouseWheelMove(test::mouseAt(grid, 10, 10), test::wheel(-1.0f));
    EXPECT_EQ(model.getFirstRow(), 118);
    grid.mouseWheelMove(test::mouseAt(grid, 10, 10), test::wheel(1.0f));
    EXPECT_EQ(model.getFirstRow(), 117);

    // The thumb to the top, then dragging a row past the bottom edge moves on from there.
    grid.mouseDown(test::mouseAt(grid, 340, 0));
    grid.mouseDrag(test::mouseAt(grid, 340, 0));
    EXPECT_EQ(model.getFirstRow(), 0);
    grid.mouseDown(test::mouseAt(grid, 100, 100));
    grid.mouseDrag(test::mouseAt(grid, 100, grid.getHeight() + 5));
    grid.mouseDrag(test::mouseAt(grid, 100, grid.getHeight() + 9));
    EXPECT_EQ(model.getFirstRow(), 2);
    grid.mouseDown(test::mouseAt(grid, 340, 0));
    grid.mouseDrag(test::mouseAt(grid, 340, grid.getHeight()));
    EXPECT_EQ(model.getFirstRow(), 118);

    // A new listing forgets the last request: the same position is reached again.
    grid.listBank(3);
    ASSERT_EQ(model.getFirstRow(), 0);
    grid.mouseDown(test::mouseAt(grid, 340, grid.getHeight()));
    EXPECT_EQ(model.getFirstRow(), 118);
}

TEST_F(ProgramListTest, ShortListsAndTinySizesDoNotScroll)
{
    onlyInCategory(5, {{0, 0}, {1, 1}});
    grid.listCategory(5);
    grid.mouseDown(test::mouseAt(grid, 100, 10));
    grid.mouseDrag(test::mouseAt(grid, 100, grid.getHeight() + 20));
    EXPECT_EQ(model.getFirstRow(), 0);
    EXPECT_EQ(model.thumbTop(), -1);

    // One row high: the thumb has no room to travel, so there is none, and dragging on the bar
    // does nothing instead of dividing by nothing.
    grid.listBank(0);
    grid.setBounds(0, 0, 350, 26);
    EXPECT_LE(model.thumbTravel(), 0);
    EXPECT_EQ(model.thumbTop(), -1);
    grid.mouseDown(test::mouseAt(grid, 340, 5));
    grid.mouseDrag(test::mouseAt(grid, 340, 20));
    EXPECT_EQ(model.getFirstRow(), 0);
    juce::Image image(juce::Image::ARGB, 350, 26, true);
    juce::Graphics g(image);
    grid.paintEntireComponent(g, false);
}

TEST_F(ProgramListTest, ArrowKeysSelectRowsAsClicksDoAndReadersHearTheRow)
{
    grid.listBank(4);
    test::ChangeCounter messages(grid);
    struct Case
    {
        int key;
        int selected;
        int messages;
    };
    const Case cases[] = {
        {juce::KeyPress::downKey, 0, 1}, // nothing selected: the first row
        {juce::KeyPress::downKey, 1, 2},
        {juce::KeyPress::upKey, 0, 3},
        {juce::KeyPress::upKey, 0, 3}, // the top stays
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(grid.keyPressed(juce::KeyPress(c.key)));
        EXPECT_EQ(model.getSelectedRow(), c.selected);
        EXPECT_EQ(messages.count(), c.messages);
        EXPECT_EQ(grid.getCode(), ProgramListModel::rowSelectedCode);
    }
    EXPECT_FALSE(grid.keyPressed(juce::KeyPress('a')));
    const auto handler = grid.createAccessibilityHandler();
    const auto text = handler->getValueInterface()->getCurrentValueAsString();
    EXPECT_TRUE(text.startsWith("F1:001 ")) << text;
    EXPECT_EQ(handler->getRole(), juce::AccessibilityRole::list);
}
