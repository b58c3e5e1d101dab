#include "MenuTestSupport.h"
#include "UiTestSupport.h"

#include "files/FileMan.h"
#include "files/gui/BankComp.h"
#include "library/LibraryTestSupport.h"
#include "model/DSI_Program.h"
#include "model/ParDes.h"
#include "support/MessagePump.h"
#include "ui/files/Plugin_Bank.h"
#include "ui/library/Lib_Manager_Comp.h"
#include "ui/widgets/TipText.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::libraryRecord;
using test::recordsOf;
using Record = ProgramSysex::Record;

namespace
{

// A key as the window hands it on: to the focused component, then up through its parents until
// one takes it.
bool deliver(juce::Component& focused, const juce::KeyPress& key)
{
    for (auto* c = &focused; c != nullptr; c = c->getParentComponent())
        if (c->keyPressed(key))
            return true;
    return false;
}

const juce::KeyPress returnKey(juce::KeyPress::returnKey), escapeKey(juce::KeyPress::escapeKey);

class LibraryWindowKeysTest : public ::testing::Test, public winToolListener
{
public:
    test::CommandRig rig;
    Lib_Manager_Comp content{rig.processor, rig.host, rig.rig.folder.file("x4Lib.m_l")};
    int closeRequests = 0;

    const Record a = libraryRecord(1, "Alpha"), b = libraryRecord(2, "Bravo"), c = libraryRecord(3, "Charlie");

    LibraryWindowKeysTest()
    {
        content.setSize(1000, 620);
        content.setVisible(true); // as in its window
        content.getCloseHandle().addListener(this);
        content.openPage(Lib_Manager_Comp::libraryPageId);
    }
    ~LibraryWindowKeysTest() override { content.getCloseHandle().removeListener(this); }

    void winToolChanged(WinMovCan*, int code) override
    {
        if (code == WinMovCan::closeCode)
            ++closeRequests;
    }

    LibClass& page() { return *content.getLibraryPage(); }
    LibraryStore& store() { return page().getStore(); }
    TextInputCont& question() { return *page().getQuestion(); }
    bool asking() { return page().getQuestion() != nullptr && page().getQuestion()->isAsking(); }

    void hold(std::initializer_list<Record> records)
    {
        store().replaceAll(recordsOf(records));
        page().getKeeper().changed();
        page().showCategory(LibraryStore::listAll);
    }

    // The key where the question puts the focus; a text field answers from the message queue.
    void keyInQuestion(const juce::KeyPress& key)
    {
        auto* target = question().getFocusTarget();
        ASSERT_NE(target, nullptr);
        deliver(*target, key);
        test::pumpMessages(20);
    }
};

} // namespace

TEST_F(LibraryWindowKeysTest, AClickUnderTheLastRowSelectsAndAppliesNothing)
{
    hold({a, b, c});
    auto& list = page().getList();
    const auto before = rig.state().getCurrentProgram();
    rig.rig.synth.clearLogs();

    list.mouseDown(test::mouseAt(list, 40, 3 * ProgramListView::rowHeight + 10));
    EXPECT_EQ(list.getSelectedRow(), -1);
    EXPECT_EQ(rig.state().getCurrentProgram(), before);
    EXPECT_TRUE(test::receivedSinceLastCall(rig.rig.synth, 0).empty());
    list.mouseDoubleClick(test::mouseAt(list, 40, 3 * ProgramListView::rowHeight + 10));
    EXPECT_EQ(closeRequests, 0) << "a double click on no row closes nothing";

    // On the last row itself it still selects and applies.
    list.mouseDown(test::mouseAt(list, 40, 2 * ProgramListView::rowHeight + 10));
    EXPECT_EQ(list.getSelectedRow(), 2);
    EXPECT_EQ(rig.state().getCurrentProgram(), c);

    // Below the rows a click leaves the selection as it was.
    list.mouseDown(test::mouseAt(list, 40, 8 * ProgramListView::rowHeight));
    EXPECT_EQ(list.getSelectedRow(), 2);
}

TEST_F(LibraryWindowKeysTest, ReturnAndEscapeAnswerEachLibraryQuestionAndTheWindowStaysOpen)
{
    struct Case
    {
        const char* what;
        std::function<void(LibraryWindowKeysTest&)> ask;
        juce::KeyPress key;
        std::function<bool(LibraryWindowKeysTest&)> answered;
    };
    const auto selectAndDo = [](int row, void (LibClass::*command)()) {
        return [row, command](LibraryWindowKeysTest& t) {
            t.hold({t.a, t.b});
            t.page().getList().selectRow(row);
            (t.page().*command)();
        };
    };
    const auto renamedTo = [](const char* name) {
        return [name](LibraryWindowKeysTest& t) { return LibraryStore::shownName(t.store().entry(1)).trimEnd() == name; };
    };
    const auto sizeIs = [](int n) { return [n](LibraryWindowKeysTest& t) { return t.store().size() == n; }; };
    const auto renaming = [&](LibraryWindowKeysTest& t) {
        selectAndDo(1, &LibClass::renameSelected)(t);
        t.question().getField().setText("Renamed");
    };
    const auto adding = [](LibraryWindowKeysTest& t) {
        t.hold({t.a});
        t.rig.state().setCurrentProgram(t.c);
        t.page().addCurrentProgram();
    };
    const auto appending = [](LibraryWindowKeysTest& t) {
        t.hold({t.a});
        t.page().handleLoadMenuResult(LibClass::fromFirstBank + 4);
    };
    const auto exists = [](LibraryWindowKeysTest& t) {
        t.hold({t.a});
        t.rig.state().setCurrentProgram(t.a);
        t.page().addCurrentProgram();
    };
    const std::vector<Case> cases{
        {"rename", renaming, returnKey, renamedTo("Renamed")},
        {"rename", renaming, escapeKey, renamedTo("Bravo")},
        {"add", adding, returnKey, sizeIs(2)},
        {"add", adding, escapeKey, sizeIs(1)},
        {"delete", selectAndDo(1, &LibClass::deleteSelected), returnKey, sizeIs(1)},
        {"delete", selectAndDo(1, &LibClass::deleteSelected), escapeKey, sizeIs(2)},
        // YES appends; CANCEL leaves the library and asks nothing more.
        {"append", appending, returnKey, [](LibraryWindowKeysTest& t) { return t.store().size() > 1; }},
        {"append", appending, escapeKey, sizeIs(1)},
        {"exists", exists, returnKey, sizeIs(1)},
        {"exists", exists, escapeKey, sizeIs(1)},
    };
    for (const auto& k : cases)
    {
        const auto where = juce::String(k.what) + (k.key == returnKey ? " Return" : " Escape");
        k.ask(*this);
        ASSERT_TRUE(asking()) << where;
        keyInQuestion(k.key);
        EXPECT_FALSE(asking()) << where;
        EXPECT_TRUE(k.answered(*this)) << where;
        EXPECT_EQ(closeRequests, 0) << where;
    }
}

TEST_F(LibraryWindowKeysTest, AnOpenQuestionKeepsTheKeysFromTheListBeneath)
{
    hold({a, b});
    auto& list = page().getList();
    list.selectRow(1);
    page().deleteSelected();
    ASSERT_TRUE(asking());

    // The keys start inside the question and Tab walks only its own parts.
    EXPECT_EQ(question().getFocusTarget(), &question().getButton(TextInputCont::firstId));
    EXPECT_TRUE(question().isKeyboardFocusContainer());
    const auto walk = question().createKeyboardFocusTraverser()->getAllComponents(&question());
    EXPECT_FALSE(walk.empty());
    for (auto* part : walk)
        EXPECT_TRUE(question().isParentOf(part));

    // Return reaching the list anyway (the focus left there) closes nothing under the question.
    deliver(list, returnKey);
    EXPECT_EQ(closeRequests, 0);
    EXPECT_TRUE(asking());
    keyInQuestion(escapeKey);
    EXPECT_EQ(store().size(), 2);
}

TEST_F(LibraryWindowKeysTest, TheCategoryOfARenameIsNamedAndSteppedWithKeys)
{
    hold({a, b});
    page().getList().selectRow(1);
    page().renameSelected();
    auto& box = question().getCategoryBox();
    ASSERT_TRUE(box.isVisible());
    EXPECT_EQ(box.getTitle(), "Category");
    EXPECT_TRUE(box.getWantsKeyboardFocus());
    EXPECT_FALSE(TipText::of(box).isEmpty());
    const auto walk = question().createKeyboardFocusTraverser()->getAllComponents(&question());
    EXPECT_NE(std::find(walk.begin(), walk.end(), &box), walk.end());

    EXPECT_EQ(question().getCategory(), 1);
    EXPECT_TRUE(deliver(box, juce::KeyPress(juce::KeyPress::downKey)));
    EXPECT_EQ(question().getCategory(), 2);
    EXPECT_EQ(box.getText(), ParDes::categoryName(2).toUpperCase());
    deliver(box, juce::KeyPress(juce::KeyPress::upKey));
    deliver(box, juce::KeyPress(juce::KeyPress::upKey));
    deliver(box, juce::KeyPress(juce::KeyPress::upKey)); // stops at the first
    EXPECT_EQ(question().getCategory(), 0);

    // A screen reader reads it and sets it by name.
    auto handler = box.createAccessibilityHandler();
    EXPECT_EQ(handler->getRole(), juce::AccessibilityRole::comboBox);
    handler->getValueInterface()->setValueAsString(ParDes::categoryName(24));
    EXPECT_EQ(question().getCategory(), 24);
    EXPECT_EQ(handler->getValueInterface()->getCurrentValueAsString(), ParDes::categoryName(24).toUpperCase());

    // Return on the box confirms the question with that category.
    deliver(box, returnKey);
    EXPECT_FALSE(asking());
    EXPECT_EQ(LibraryStore::categoryOf(store().entry(1)), 24);
}

TEST_F(LibraryWindowKeysTest, TheLibraryWindowsMessagesShowInItNotInTheEditor)
{
    hold({a});
    auto& messages = content.getMessages();

    // A failed save: the box is in the library window, over all of it.
    const auto folder = rig.rig.folder.file("taken.m_l");
    ASSERT_TRUE(folder.createDirectory());
    rig.host.chosen = folder;
    page().saveLibraryAs();
    ASSERT_TRUE(messages.isShowingBox());
    EXPECT_TRUE(messages.getText().startsWith("Could not save taken.m_l")) << messages.getText();
    EXPECT_EQ(messages.getBounds(), content.getLocalBounds());
    EXPECT_TRUE(rig.host.messages.isEmpty());
    EXPECT_TRUE(rig.host.questions.isEmpty());

    // Replacing a file: asked here; Escape says no, Return yes. The window stays open.
    const auto file = rig.rig.folder.file("old.m_l");
    ASSERT_TRUE(FileMan::writeFileBytes(file, Bytes{1, 2, 3}));
    rig.host.chosen = file;
    for (const auto& key : {escapeKey, returnKey})
    {
        deliver(messages, returnKey); // the failure before
        page().saveLibraryAs();
        ASSERT_TRUE(messages.isQuestion());
        EXPECT_EQ(messages.getText(), "Replace the existing file old.m_l?");
        deliver(messages, key);
        EXPECT_FALSE(messages.isShowingBox());
        EXPECT_EQ(file.getSize() > 3, key == returnKey);
    }
    EXPECT_TRUE(rig.host.questions.isEmpty());
    EXPECT_EQ(closeRequests, 0);

    // The preset page's report of a load refused during the editor's bank transfer shows here too.
    content.openPage(Lib_Manager_Comp::presetPageId);
    rig.host.transferRunning = true;
    content.getPresetPage()->handleLoadMenuResult(Plugin_Bank::loadPresetItem);
    ASSERT_TRUE(messages.isShowingBox());
    EXPECT_EQ(messages.getText(), "A bank transfer is running: old.m_l was not loaded.");
    EXPECT_FALSE(messages.isQuestion());
    deliver(messages, escapeKey); // a message closes on Escape as well
    EXPECT_FALSE(messages.isShowingBox());
    EXPECT_TRUE(rig.host.messages.isEmpty());
    EXPECT_EQ(rig.host.choosers.size(), 4u) << "the choosers are still the editor's";
}

TEST_F(LibraryWindowKeysTest, AnAnswerArrivingAfterTheWindowClosedIsShownByTheEditor)
{
    // A chooser left open answers after the user closed the library window: its report must not
    // wait unseen in the hidden window.
    auto& messages = content.getMessages();
    const auto folder = rig.rig.folder.file("taken.m_l");
    ASSERT_TRUE(folder.createDirectory());
    rig.host.chosen = folder;
    content.setVisible(false);
    page().saveLibraryAs();
    EXPECT_FALSE(messages.isShowingBox());
    ASSERT_EQ(rig.host.messages.size(), 1);
    EXPECT_TRUE(rig.host.messages[0].startsWith("Could not save taken.m_l"));
}

TEST_F(LibraryWindowKeysTest, MessagesWaitTheirTurnAndTabStaysOnTheBox)
{
    auto& messages = content.getMessages();
    int yes = 0;
    messages.showMessage("First");
    messages.askQuestion("Second?", [&] { ++yes; });
    messages.showMessage("First"); // already waiting: told once
    EXPECT_EQ(messages.getText(), "First");
    const auto walk = messages.createKeyboardFocusTraverser()->getAllComponents(&messages);
    for (auto* part : walk)
        EXPECT_TRUE(messages.isParentOf(part));
    EXPECT_TRUE(messages.isKeyboardFocusContainer());

    messages.getBox()->getOkButton().getInnerButton()->triggerClick();
    test::pumpMessages(20);
    EXPECT_EQ(messages.getText(), "Second?");
    deliver(messages, returnKey);
    EXPECT_EQ(yes, 1);
    EXPECT_FALSE(messages.isShowingBox());
    EXPECT_FALSE(messages.isVisible());
    test::pumpMessages(20); // the answered boxes go
}

TEST_F(LibraryWindowKeysTest, TheReplacePresetIsNamedAndSteppedWithKeysAndReturnStoresIt)
{
    content.openPage(Lib_Manager_Comp::presetPageId);
    auto& presets = *content.getPresetPage();
    rig.processor.setCurrentProgram(3);
    presets.showSetCurrent();
    auto& panel = *presets.getSetCurrentPanel();
    auto& box = panel.getTargetBox();
    EXPECT_EQ(box.getTitle(), "Replace preset");
    EXPECT_TRUE(box.getWantsKeyboardFocus());
    EXPECT_FALSE(TipText::of(box).isEmpty());
    EXPECT_EQ(panel.getTarget(), 3);
    EXPECT_TRUE(box.getText().startsWith("4    "));

    deliver(box, juce::KeyPress(juce::KeyPress::downKey));
    deliver(box, juce::KeyPress(juce::KeyPress::downKey));
    EXPECT_EQ(panel.getTarget(), 5);
    box.createAccessibilityHandler()->getValueInterface()->setValueAsString("10");
    EXPECT_EQ(panel.getTarget(), 9);
    EXPECT_TRUE(panel.isKeyboardFocusContainer());

    panel.getField().setText("Stored");
    deliver(box, returnKey);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(rig.state().getHostBankProgramName(9).trimEnd(), "Stored");
    EXPECT_EQ(rig.state().hostProgramIndex.load(), 9);

    // Escape in the name field stores nothing.
    presets.showSetCurrent();
    panel.getField().setText("Not stored");
    deliver(panel.getField(), escapeKey);
    test::pumpMessages(20);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(rig.state().getHostBankProgramName(9).trimEnd(), "Stored");
    EXPECT_EQ(closeRequests, 0);
}

TEST_F(LibraryWindowKeysTest, EveryButtonAndControlOfTheWindowHasATooltipAndTheWindowShowsThem)
{
    content.openPage(Lib_Manager_Comp::presetPageId);
    EXPECT_EQ(content.getTooltipWindow().getParentComponent(), &content);
    auto& presets = *content.getPresetPage();
    EXPECT_EQ(presets.getButton(Plugin_Bank::saveCommand).getHelp(), "Save the current preset or preset bank.");

    std::vector<juce::Component*> controls{&content.getPageButton(Lib_Manager_Comp::presetPageId),
                                           &content.getPageButton(Lib_Manager_Comp::libraryPageId),
                                           &content.getCloseHandle(), &presets.getList(), &page().getList(),
                                           &page().getSearchField()};
    for (int id : {Plugin_Bank::loadCommand, Plugin_Bank::saveCommand, Plugin_Bank::applyCommand,
                   Plugin_Bank::renameCommand, Plugin_Bank::setCurrentCommand, Plugin_Bank::doneCommand})
        controls.push_back(&presets.getButton(id));
    for (int id : {LibClass::loadCommand, LibClass::saveCommand, LibClass::clearCommand, LibClass::applyCommand,
                   LibClass::renameCommand, LibClass::deleteCommand, LibClass::addCommand, LibClass::doneCommand})
        controls.push_back(&page().getButton(id));
    for (int i = 0; i < CatContainer::numButtons; ++i)
        controls.push_back(&page().getCategories().getButton(i));
    for (auto* control : controls)
    {
        const auto tip = TipText::of(*control);
        EXPECT_TRUE(tip.contains(": ") && tip.endsWith(".")) << control->getTitle() << ": \"" << tip << "\"";
    }
    EXPECT_TRUE(TipText::of(page().getButton(LibClass::deleteCommand)).startsWith("DELETE: "));
}

TEST(BankPageTooltips, EveryButtonAndControlOfTheBankPageHasATooltip)
{
    test::CommandRig rig;
    BankComp bankPage(rig.state());
    std::vector<juce::Component*> controls{&bankPage.getGrid(), &bankPage.getLoadedDataSwitch(), &bankPage.getOkButton()};
    for (int bank = 0; bank < BankComp::numBankButtons; ++bank)
        controls.push_back(&bankPage.getBankButton(bank));
    for (int code : {BankComp::fileCode, BankComp::midiCode, BankComp::presetsCode})
        controls.push_back(bankPage.getCommandButton(code));
    for (int category = 0; category < BankComp::numShownCategoryButtons; ++category)
        controls.push_back(&bankPage.getCategoryButton(category));
    for (auto* control : controls)
    {
        const auto tip = TipText::of(*control);
        EXPECT_TRUE(tip.contains(": ") && tip.endsWith(".")) << "\"" << tip << "\"";
    }
    EXPECT_TRUE(TipText::of(bankPage.getBankButton(5)).startsWith("BANK F2: "));
}
