#include "MenuTestSupport.h"

#include "files/FileMan.h"
#include "library/LibraryFile.h"
#include "library/LibraryTestSupport.h"
#include "model/DSI_Program.h"
#include "model/ProgramBankSet.h"
#include "support/MessagePump.h"
#include "ui/library/LibClass.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::libraryRecord;
using test::recordsOf;
using Record = ProgramSysex::Record;

namespace
{

class LibraryPageTest : public ::testing::Test
{
public:
    test::CommandRig rig;
    juce::File libraryFile = rig.rig.folder.file("x4Lib.m_l");
    std::unique_ptr<LibClass> page = makePage();

    const Record a = libraryRecord(1, "Alpha"), b = libraryRecord(2, "Bravo"), c = libraryRecord(3, "Charlie"),
                 z = libraryRecord(26, "Zulu");

    std::unique_ptr<LibClass> makePage()
    {
        auto p = std::make_unique<LibClass>(rig.processor, rig.host, libraryFile);
        p->setSize(1000, 528);
        p->loadFixedLibrary();
        return p;
    }

    LibraryStore& store() { return page->getStore(); }

    void answer(int buttonId)
    {
        ASSERT_NE(page->getQuestion(), nullptr);
        ASSERT_TRUE(page->getQuestion()->isAsking());
        page->getQuestion()->getButton(buttonId).click();
    }

    juce::String asked() const
    {
        auto* q = page->getQuestion();
        return q != nullptr && q->isAsking() ? q->getMessage() : juce::String();
    }

    // A bank of A, B, A, C and then C again in every other slot.
    static Bytes bankWithABAC(const Record& a, const Record& b, const Record& c)
    {
        std::vector<Record> records{a, b, a, c};
        records.resize(128, c);
        return FileMan::bankDataOf(records);
    }

    Bytes onDisk() const
    {
        const auto content = FileMan::readFileBytes(libraryFile, FileMan::maxLibraryFileSize);
        return LibraryFile::read(content.bytes, LibraryStore::maxEntries).value_or(Bytes{1});
    }

    // Makes the library hold these records, written through as the page writes.
    void holdInLibrary(std::initializer_list<Record> records)
    {
        store().replaceAll(recordsOf(records));
        page->getKeeper().changed();
        page->showCategory(LibraryStore::listAll);
    }
};

} // namespace

TEST_F(LibraryPageTest, ImportFromEachSourceDropsDuplicatesOfTheImportAndAppends)
{
    struct Source
    {
        const char* name;
        int menuItem;
        std::function<void(LibraryPageTest&)> prepare;
    };
    const auto fileWith = [](LibraryPageTest& t, const char* name, const Bytes& bytes) {
        const auto file = t.rig.rig.folder.file(name);
        ASSERT_TRUE(FileMan::writeFileBytes(file, bytes));
        t.rig.host.chosen = file;
    };
    std::vector<Source> sources{
        {"library file", LibClass::fromLibraryFile,
         [&](LibraryPageTest& t) { fileWith(t, "in.m_l", LibraryFile::make(recordsOf({t.a, t.b, t.a, t.c}))); }},
        {"program bank file", LibClass::fromBankFile,
         [&](LibraryPageTest& t) {
             Bytes file;
             int k = 0;
             for (const auto& r : {t.a, t.b, t.a, t.c})
             {
                 const auto dump = ProgramSysex::programDump(0, k++, r.data(), r.size());
                 file.insert(file.end(), dump.begin(), dump.end());
                 file.push_back(0x55); // stray bytes between dumps
             }
             fileWith(t, "in.m_b", file);
         }},
        {"preset bank", LibClass::fromPresetBank,
         [](LibraryPageTest& t) { t.rig.state().replaceHostBankData(bankWithABAC(t.a, t.b, t.c)); }},
    };
    for (int bank = 0; bank < ProgramBankSet::numBanks; ++bank)
        sources.push_back({"a bank", LibClass::fromFirstBank + bank, [bank](LibraryPageTest& t) {
                               t.rig.state().replaceBankData(bank, bankWithABAC(t.a, t.b, t.c));
                           }});

    for (const auto& source : sources)
    {
        holdInLibrary({a});
        source.prepare(*this);
        page->handleLoadMenuResult(source.menuItem);
        ASSERT_EQ(asked(), "Append Programs?") << source.name << " " << source.menuItem;
        answer(TextInputCont::firstId);
        // A held already is not appended again: its copies would defeat the merge of instances.
        EXPECT_EQ(store().getData(), recordsOf({a, b, c})) << source.name << " " << source.menuItem;
        EXPECT_EQ(page->getCategories().getCount(CatContainer::listAll), "Size: 3");
    }
}

TEST_F(LibraryPageTest, ABankFileOfMoreThan128DumpsImportsTheFirst128)
{
    Bytes file;
    for (int k = 0; k < 130; ++k)
    {
        const auto r = libraryRecord(100 + k);
        const auto dump = ProgramSysex::programDump(0, k % 128, r.data(), r.size());
        file.insert(file.end(), dump.begin(), dump.end());
    }
    rig.host.chosen = rig.rig.folder.file("long.syx");
    ASSERT_TRUE(FileMan::writeFileBytes(rig.host.chosen, file));
    page->handleLoadMenuResult(LibClass::fromBankFile);
    ASSERT_EQ(store().size(), 128);
    EXPECT_EQ(store().getEntry(127), libraryRecord(227));
}

TEST_F(LibraryPageTest, ReplacingAfterSaveTheCurrentLibraryWaitsForARealSave)
{
    const auto folderNamedLikeTheFile = rig.rig.folder.file("taken.m_l");
    ASSERT_TRUE(folderNamedLikeTheFile.createDirectory());
    struct Case
    {
        const char* what;
        juce::File chosen;
        bool replaced;
    } const cases[] = {
        {"chooser cancelled", {}, false},
        {"write failed", folderNamedLikeTheFile, false},
        {"saved", rig.rig.folder.file("saved.m_l"), true},
    };
    for (const auto& saving : cases)
    {
        holdInLibrary({a});
        rig.state().replaceBankData(0, bankWithABAC(b, b, b));
        rig.host.chosen = saving.chosen;
        rig.host.messages.clear();
        page->handleLoadMenuResult(LibClass::fromFirstBank);
        answer(TextInputCont::secondId); // not appended:
        ASSERT_EQ(asked(), "Save the Current Library?");
        answer(TextInputCont::firstId);
        EXPECT_EQ(store().getData(), saving.replaced ? recordsOf({b}) : recordsOf({a})) << saving.what;
        EXPECT_EQ(rig.host.messages.size(), juce::String(saving.what) == "write failed" ? 1 : 0) << saving.what;
    }
    EXPECT_EQ(LibraryFile::read(FileMan::readFileBytes(rig.rig.folder.file("saved.m_l"), 1 << 20).bytes, 10),
              recordsOf({a}));
}

TEST_F(LibraryPageTest, ClearAllIsWrittenAndLastsPastReopening)
{
    holdInLibrary({a, b});
    page->clearAll();
    ASSERT_EQ(asked(), "Save Current Library?");
    answer(TextInputCont::secondId);
    EXPECT_TRUE(store().isEmpty());
    test::pumpMessages(LibraryKeeper::writeIntervalMs + 300);
    EXPECT_EQ(onDisk(), Bytes()) << "written as soon as a second allows";
    page.reset();
    page = makePage();
    EXPECT_TRUE(store().isEmpty());
}

TEST_F(LibraryPageTest, EveryChangeReachesTheFileWithoutClosingThePage)
{
    rig.state().setCurrentProgram(a);
    page->addCurrentProgram();
    answer(TextInputCont::firstId);
    EXPECT_EQ(onDisk(), recordsOf({a}));

    page->getList().selectRow(0);
    page->deleteSelected();
    answer(TextInputCont::firstId);
    test::pumpMessages(LibraryKeeper::writeIntervalMs + 300);
    EXPECT_EQ(onDisk(), Bytes());
}

TEST_F(LibraryPageTest, AddingAProgramAlreadyThereSelectsAndAppliesNothing)
{
    holdInLibrary({a, z});
    // Identical to A: refused before the name is asked.
    rig.state().setCurrentProgram(a);
    page->addCurrentProgram();
    EXPECT_EQ(asked(), "Alpha Program already exists in the library.");
    answer(TextInputCont::secondId);

    // Named into a copy of A: refused after the dialog, and Zulu (the last row) is not applied.
    auto almostA = a;
    DSI_Program::encodeName("Other", almostA.data() + DSI_Program::nameOffset);
    rig.state().setCurrentProgram(almostA);
    page->addCurrentProgram();
    ASSERT_EQ(asked(), "Program name:");
    page->getQuestion()->getField().setText("Alpha");
    answer(TextInputCont::firstId);
    EXPECT_EQ(store().size(), 2);
    EXPECT_EQ(page->getList().getSelectedIndex(), -1);
    EXPECT_EQ(rig.state().getCurrentProgram(), almostA);
}

TEST_F(LibraryPageTest, AnAddedProgramIsSelectedAndAppliedWhenShown)
{
    holdInLibrary({z});
    rig.state().setCurrentProgram(b);
    page->addCurrentProgram();
    page->getQuestion()->getField().setText("");
    answer(TextInputCont::firstId);
    ASSERT_EQ(store().size(), 2);
    EXPECT_EQ(LibraryStore::shownName(store().entry(1)), "Untitled        ");
    EXPECT_EQ(page->getList().getSelectedIndex(), 1);
    EXPECT_EQ(rig.state().getHostBankProgram(rig.state().hostProgramIndex.load()), store().getEntry(1));
}

TEST_F(LibraryPageTest, AnAddTakingInAnotherInstancesProgramsSelectsAndAppliesTheAddedOne)
{
    // Another instance wrote the file after this page read it: the add's write merges that first.
    ASSERT_TRUE(FileMan::writeFileBytes(libraryFile, LibraryFile::make(recordsOf({z}))));
    rig.state().setCurrentProgram(b);
    page->addCurrentProgram();
    answer(TextInputCont::firstId);
    ASSERT_EQ(store().getData(), recordsOf({b, z}));
    EXPECT_EQ(page->getList().getSelectedIndex(), 0);
    EXPECT_EQ(rig.state().getCurrentProgram(), b);
}

TEST_F(LibraryPageTest, ButtonsFollowTheListAndTheSelection)
{
    const auto shown = [&] {
        juce::StringArray texts;
        for (int id : {1319, 1209, 1205, 1206, 1203, 1204, 1207, 1201})
            if (page->getButton(id).isVisible())
                texts.add(page->getButton(id).getText());
        return texts.joinIntoString(",");
    };
    EXPECT_EQ(shown(), "LOAD,ADD CURRENT,DONE");
    holdInLibrary({a, b});
    EXPECT_EQ(shown(), "LOAD,SAVE,CLEAR ALL,ADD CURRENT,DONE");
    page->getList().selectRow(1);
    EXPECT_EQ(shown(), "LOAD,SAVE,CLEAR ALL,RENAME,DELETE,ADD CURRENT,DONE");
    EXPECT_EQ(rig.state().getCurrentProgram(), b) << "selecting applies";
}

TEST_F(LibraryPageTest, CategoryFilterSearchAndCounts)
{
    holdInLibrary({libraryRecord(1, "Warm Pad", 24), libraryRecord(2, "Pad Bass", 8), libraryRecord(3, "Glass Pad", 24)});
    page->categoryChosen(24);
    EXPECT_EQ(page->getCategoryTitle(), "Pads");
    EXPECT_EQ(page->getList().getNumRows(), 2);
    page->getSearchField().setText("GLASS", true);
    test::pumpMessages(20);
    EXPECT_EQ(page->getList().getNumRows(), 1);
    page->categoryChosen(CatContainer::listAll);
    page->getSearchField().setText("pad", true);
    test::pumpMessages(20);
    EXPECT_EQ(page->getList().getNumRows(), 3);
    EXPECT_EQ(page->getCategories().getCount(24), "2");
    EXPECT_EQ(page->getCategories().getCount(1), "");
    EXPECT_EQ(page->getCategories().getCount(CatContainer::listAll), "Size: 3");
}

TEST_F(LibraryPageTest, RenameWritesNameAndCategoryAndShowsTheLastChosenCategory)
{
    holdInLibrary({a, b});
    page->getList().selectRow(1);
    page->renameSelected();
    ASSERT_EQ(asked(), "Rename Bravo:");
    page->getQuestion()->getField().setText("Renamed");
    page->getQuestion()->setCategory(0);
    answer(TextInputCont::firstId);
    EXPECT_EQ(LibraryStore::shownName(store().entry(1)), "Renamed         ");
    EXPECT_EQ(store().entry(1)[117], 0);
    EXPECT_TRUE(store().isFiltered());
    EXPECT_EQ(page->getCategoryTitle(), "- Not Assigned -");
}

TEST_F(LibraryPageTest, AnOpenRenameOrDeleteStillActsOnTheSelectedProgramAfterAnotherInstancesChangesCameIn)
{
    for (const bool renaming : {true, false})
    {
        page.reset();
        ASSERT_TRUE(libraryFile.deleteFile());
        page = makePage();
        holdInLibrary({a, b});
        page->getList().selectRow(1);
        if (renaming)
            page->renameSelected();
        else
            page->deleteSelected();
        // Another instance adds C; the write of a change made just before the question takes it in.
        ASSERT_TRUE(FileMan::writeFileBytes(libraryFile, LibraryFile::make(recordsOf({a, b, c}))));
        page->getKeeper().changed();
        ASSERT_TRUE(page->getKeeper().flush());
        ASSERT_EQ(store().size(), 3);
        if (renaming)
            page->getQuestion()->getField().setText("Renamed");
        answer(TextInputCont::firstId);
        if (renaming)
            EXPECT_EQ(LibraryStore::shownName(store().entry(1)), "Renamed         ");
        else
            EXPECT_EQ(store().getData(), recordsOf({a, c}));
    }
}

TEST_F(LibraryPageTest, AWriteFailingWhileAQuestionIsOpenIsShownAfterItsAnswer)
{
    page.reset();
    ASSERT_TRUE(libraryFile.createDirectory());
    page = makePage();
    holdInLibrary({a});
    ASSERT_TRUE(asked().startsWith("Could not write")) << asked();
    answer(TextInputCont::secondId);
    // A change within the second after the failure: written by the timer, while a question is open.
    page->getKeeper().changed();
    page->getList().selectRow(0);
    page->renameSelected();
    test::pumpMessages(LibraryKeeper::writeIntervalMs + 300);
    ASSERT_EQ(asked(), "Rename Alpha:");
    page->getQuestion()->getField().setText("Renamed");
    answer(TextInputCont::firstId);
    EXPECT_EQ(LibraryStore::shownName(store().entry(0)), "Renamed         ");
    EXPECT_TRUE(asked().startsWith("Could not write")) << asked();
}

TEST_F(LibraryPageTest, LoadMenuOffersEverySource)
{
    juce::StringArray items;
    for (const auto& [id, text] : page->loadMenu().flatten())
        items.add(juce::String(id) + " " + text);
    EXPECT_EQ(items.joinIntoString("|"),
              "200 From Library File|300 From Program Bank File|100 Program Bank U1|101 Program Bank U2|"
              "102 Program Bank U3|103 Program Bank U4|104 Program Bank F1|105 Program Bank F2|106 Program Bank F3|"
              "107 Program Bank F4|777 Import from FX Preset Bank");
}

TEST_F(LibraryPageTest, AFailedWriteOfTheLibraryFileIsShown)
{
    page.reset();
    ASSERT_TRUE(libraryFile.createDirectory());
    page = makePage();
    rig.state().setCurrentProgram(a);
    page->addCurrentProgram();
    answer(TextInputCont::firstId);
    EXPECT_TRUE(asked().startsWith("Could not write the library file")) << asked();
    EXPECT_EQ(store().size(), 1);
}
