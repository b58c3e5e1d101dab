#include "MenuTestSupport.h"

#include "files/FileMan.h"
#include "library/LibraryStore.h"
#include "library/LibraryTestSupport.h"
#include "model/DSI_Program.h"
#include "plugin/StateBlocks.h"
#include "support/MessagePump.h"
#include "ui/files/Plugin_Bank.h"
#include "ui/files/PresetBankCommands.h"
#include "ui/library/Lib_Manager_Win.h"
#include "ui/main/MainComp.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zarnel;
using test::libraryRecord;
using Record = ProgramSysex::Record;

namespace
{

class PresetBankPageTest : public ::testing::Test
{
public:
    test::CommandRig rig;
    Plugin_Bank page{rig.processor, rig.host};

    PresetBankPageTest() { page.setSize(1000, 528); }

    Record preset(int i) { return rig.state().getHostBankProgram(i); }
};

} // namespace

TEST_F(PresetBankPageTest, ABankFileOfFiveDumpsReplacesTheFirstFivePresets)
{
    const auto kept = preset(5);
    Bytes file;
    for (int k = 0; k < 5; ++k)
    {
        const auto r = libraryRecord(k + 40);
        const auto dump = ProgramSysex::programDump(0, k, r.data(), r.size());
        file.insert(file.end(), dump.begin(), dump.end());
    }
    rig.host.chosen = rig.rig.folder.file("five.m_b");
    ASSERT_TRUE(FileMan::writeFileBytes(rig.host.chosen, file));
    page.handleLoadMenuResult(Plugin_Bank::loadBankFileItem);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(preset(k), libraryRecord(k + 40)) << k;
    EXPECT_EQ(preset(5), kept);
}

TEST_F(PresetBankPageTest, LoadsTakeAtMost128Presets)
{
    std::vector<Record> many;
    for (int k = 0; k < 200; ++k)
        many.push_back(libraryRecord(k));
    PresetBankCommands::loadRecords(rig.processor, many);
    EXPECT_EQ(rig.state().getHostBankData().size(), Bank_Program::fullSize);
    EXPECT_EQ(preset(127), libraryRecord(127));

    page.handleLoadMenuResult(Plugin_Bank::loadFirstBankItem + 5);
    EXPECT_EQ(rig.state().getHostBankData(), rig.state().getBankData(5));
}

TEST_F(PresetBankPageTest, SetCurrentWithoutAValidPresetStoresIntoPresetZero)
{
    auto edited = libraryRecord(7, "---");
    rig.state().setCurrentProgram(edited);
    rig.state().hostProgramIndex = -1;
    EXPECT_EQ(PresetBankCommands::targetPreset(rig.processor), 0);
    page.showSetCurrent();
    auto* panel = page.getSetCurrentPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getText(), "Untitled");
    EXPECT_EQ(panel->getTarget(), 0);
    EXPECT_TRUE(panel->getTargetText().startsWith("1    "));
    panel->getField().setText("Stored");
    panel->getButton(TextSetCurCont::okId).click();
    EXPECT_EQ(rig.state().hostProgramIndex.load(), 0);
    EXPECT_EQ(rig.state().getHostBankProgramName(0), "Stored          ");
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(PresetBankPageTest, AWholeBankLoadIsNeverSeenHalfDone)
{
    const auto bankOf = [](int seed) {
        std::vector<Record> records(128, libraryRecord(seed));
        return StateBlocks::makeBankBlock(FileMan::bankDataOf(records));
    };
    const auto first = bankOf(1), second = bankOf(2);
    std::atomic<bool> done{false};
    std::atomic<int> mixed{0};
    std::thread saver([&] {
        while (!done)
        {
            const auto data = rig.state().getHostBankData();
            if (data.size() == Bank_Program::fullSize
                && !std::equal(data.begin(), data.begin() + 256, data.end() - 256))
                ++mixed;
        }
    });
    for (int k = 0; k < 300; ++k)
    {
        const auto& block = k % 2 == 0 ? first : second;
        rig.processor.setStateInformation(block.data(), (int)block.size());
    }
    done = true;
    saver.join();
    EXPECT_EQ(mixed.load(), 0);
}

TEST_F(PresetBankPageTest, SavedPresetBankIsThePlainBlock)
{
    rig.state().hostProgramIndex = -1;
    const auto menu = page.saveMenu();
    EXPECT_EQ(rig.state().hostProgramIndex.load(), 0);
    EXPECT_EQ(menu.getEntries()[0].text, "Save " + rig.state().getHostBankProgramName(0).trimEnd() + " Preset as");
    rig.host.chosen = rig.rig.folder.file("bank.fxb");
    page.handleSaveMenuResult(Plugin_Bank::savePresetBankItem);
    EXPECT_EQ(rig.host.chosen.getSize(), 32793);
    rig.host.chosen = rig.rig.folder.file("one.fxp");
    page.handleSaveMenuResult(Plugin_Bank::savePresetItem);
    EXPECT_EQ(rig.host.chosen.getSize(), 285);
}

TEST_F(PresetBankPageTest, RenameWithAnEmptyTextChangesOnlyTheCategory)
{
    const auto before = rig.state().getHostBankProgramName(3);
    page.getList().showPreset(3);
    page.getButton(Plugin_Bank::renameCommand).click();
    auto* panel = page.getRenamePanel();
    ASSERT_NE(panel, nullptr);
    panel->getField().setText("");
    panel->setCategory(12);
    panel->getButton(TextInputCont::firstId).click();
    EXPECT_EQ(rig.state().getHostBankProgramName(3), before);
    EXPECT_EQ(preset(3)[117], 12);
}

TEST_F(PresetBankPageTest, RenameKeepsACategoryByteAboveRangeTheUserLeftAlone)
{
    auto odd = preset(4);
    odd[117] = 200;
    rig.state().setHostBankProgram(4, odd);
    page.getList().showPreset(4);
    page.getButton(Plugin_Bank::renameCommand).click();
    auto* panel = page.getRenamePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getCategory(), 25);
    panel->getField().setText("Odd One");
    panel->getButton(TextInputCont::firstId).click();
    EXPECT_EQ(rig.state().getHostBankProgramName(4).trimEnd(), "Odd One");
    EXPECT_EQ(preset(4)[117], 200);
}

TEST_F(PresetBankPageTest, ButtonsAndHelp)
{
    EXPECT_FALSE(page.getButton(Plugin_Bank::renameCommand).isVisible());
    EXPECT_FALSE(page.getButton(Plugin_Bank::applyCommand).isVisible());
    EXPECT_EQ(page.getButton(Plugin_Bank::saveCommand).getHelp(), "Save the current preset or preset bank.");
    page.getList().showPreset(2);
    page.presetChosen(2);
    EXPECT_TRUE(page.getButton(Plugin_Bank::renameCommand).isVisible());
    EXPECT_EQ(rig.state().hostProgramIndex.load(), 2);
}

TEST(LibraryWindowTest, MenuButtonOpensThePresetPageFirstAndDoneOnlyHidesTheWindow)
{
    juce::ScopedJuceInitialiser_GUI gui;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    Lib_Manager_Win::showOnDesktop = false;
    {
        MainComp main(processor);
        main.setSize(1191, 700);
        main.changeListenerCallback(&main.getAppBar().getMenuButton());
        auto* window = main.getLibraryWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        auto& content = window->getContent();
        EXPECT_EQ(content.getPage(), Lib_Manager_Comp::presetPageId);
        EXPECT_NE(content.getPresetPage(), nullptr);
        EXPECT_EQ(content.getLibraryPage(), nullptr) << "the library is read only when first shown";

        content.getPageButton(Lib_Manager_Comp::libraryPageId).click();
        ASSERT_NE(content.getLibraryPage(), nullptr);
        content.getLibraryPage()->getButton(LibClass::doneCommand).click();
        EXPECT_FALSE(window->isVisible());
        main.showLibraryWindow();
        EXPECT_EQ(main.getLibraryWindow(), window) << "kept, not made again";
        EXPECT_TRUE(window->isVisible());
    }
    Lib_Manager_Win::showOnDesktop = true;
}

TEST_F(PresetBankPageTest, ThePresetListIsReachedWithTabSteppedWithArrowsAndReadOut)
{
    auto& list = page.getList();
    const auto order = page.createKeyboardFocusTraverser()->getAllComponents(&page);
    EXPECT_NE(std::find(order.begin(), order.end(), &list), order.end());
    EXPECT_EQ(list.getTitle(), "Presets");

    list.setSelectedRowQuietly(-1);
    EXPECT_TRUE(list.keyPressed(juce::KeyPress(juce::KeyPress::downKey)));
    EXPECT_EQ(list.getSelectedRow(), 0);
    EXPECT_TRUE(list.keyPressed(juce::KeyPress(juce::KeyPress::downKey)));
    EXPECT_EQ(list.getSelectedRow(), 1);
    EXPECT_EQ(rig.processor.getCurrentProgram(), 1); // as a click on the row
    EXPECT_TRUE(list.keyPressed(juce::KeyPress(juce::KeyPress::upKey)));
    EXPECT_TRUE(list.keyPressed(juce::KeyPress(juce::KeyPress::upKey))); // at the top: stays
    EXPECT_EQ(list.getSelectedRow(), 0);
    EXPECT_FALSE(list.keyPressed(juce::KeyPress('a')));
    const auto spoken = list.createAccessibilityHandler()->getValueInterface()->getCurrentValueAsString();
    EXPECT_TRUE(spoken.startsWith("1 ")) << spoken;
    EXPECT_TRUE(spoken.contains(LibraryStore::shownName(preset(0).data()).trimEnd())) << spoken;

    // Stepping past the shown rows scrolls them along.
    for (int i = 0; i < 40; ++i)
        list.keyPressed(juce::KeyPress(juce::KeyPress::downKey));
    EXPECT_EQ(list.getSelectedRow(), 40);
    EXPECT_GE(list.getSelectedRow(), list.getTopRow());
    EXPECT_LT(list.getSelectedRow(), list.getTopRow() + list.getVisibleRows());
}
