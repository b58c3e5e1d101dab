#include "LibClass.h"

#include "../look/AsyncMenu.h"
#include "../menus/FileCommands.h"

#include "../../files/FileMan.h"
#include "../../library/LibraryFile.h"
#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"
#include "../../model/ProgramBankSet.h"
#include "../../plugin/ZarnelAudioProcessor.h"

#include <cstring>

namespace zarnel
{

LibClass::LibClass(ZarnelAudioProcessor& p, CommandHost& h, const juce::File& libraryFile)
    // In the order of creation, which is the order their visibility is refreshed in.
    : CommandPage({{"LOAD", loadCommand, "Load Library or Bank Files",
                    "LOAD: add programs from a library file, a program bank file, a bank or the preset bank."},
                   {"SAVE", saveCommand, "Save Library File", "SAVE: write the whole library to a library file."},
                   {"CLEAR ALL", clearCommand, "Remove all items from Library",
                    "CLEAR ALL: remove every program from the library, after offering to save it."},
                   {"APPLY", applyCommand, "Apply selected program and set as the current program",
                    "APPLY: make the selected program the current program."},
                   {"RENAME", renameCommand, "Rename selected program in the Library",
                    "RENAME: give the selected program a new name and category."},
                   {"DELETE", deleteCommand, "Delete selected program from the Library",
                    "DELETE: remove the selected program from the library."},
                   {"ADD CURRENT", addCommand, "Add the current program to the Library",
                    "ADD CURRENT: add the edited program to the library under a name and category."},
                   {"DONE", doneCommand, "", "DONE: close the library window."}}),
      processor(p), host(h), keeper(store, libraryFile)
{
    list = std::make_unique<StsFile>(store);
    list->setTooltip("Library programs: a click applies a program, a double click or Return applies it and closes the "
                     "window; Up and Down step through them.");
    list->addListener(this);
    addAndMakeVisible(*list);

    categories = std::make_unique<CatContainer>();
    categories->addListener(this);
    addAndMakeVisible(*categories);

    categoryTitle = std::make_unique<SimpleLabel>(16.0f, juce::Colour(pageColour), juce::Font::bold, juce::Justification::centredLeft);
    addAndMakeVisible(*categoryTitle);

    searchLabel = std::make_unique<SimpleLabel>(13.0f, juce::Colour(pageColour), juce::Font::plain, juce::Justification::centredLeft);
    searchLabel->setText("Search names:");
    searchLabel->setTextColour(juce::Colour(0xFFCEBDBD));
    addAndMakeVisible(*searchLabel);
    search.setMultiLine(false);
    search.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
    search.setTextToShowWhenEmpty("name contains...", juce::Colour(0xFF8A8585));
    search.setInputRestrictions(16);
    search.setTitle("Search names");
    search.setTooltip("Search names: show only the programs whose names contain this text; Escape clears it.");
    search.onTextChange = [this] { searchChanged(); };
    search.onEscapeKey = [this] { search.clear(); searchChanged(); };
    addAndMakeVisible(search);

    keeper.onMerged = [this] { list->rebuildView(); };
    keeper.onWriteFailed = [this] {
        writeFailureUntold = true;
        tellWriteFailure();
    };
    refreshCounts();
    refreshButtons();
}

LibClass::~LibClass()
{
    saveFixedLibrary();
    keeper.onMerged = nullptr;
    keeper.onWriteFailed = nullptr;
    if (question != nullptr)
        question->removeListener(this);
    list->removeListener(this);
    categories->removeListener(this);
}

void LibClass::loadFixedLibrary()
{
    keeper.load();
    store.setFilter(LibraryStore::listAll);
    list->rebuildView();
}

bool LibClass::saveFixedLibrary()
{
    return keeper.flush();
}

void LibClass::changed()
{
    keeper.changed();
}

//==== Layout =========================================================================================

void LibClass::resized()
{
    const int h = getHeight();
    list->setBounds(20, 10, 334, 510);
    categoryTitle->setBounds(400, 16, 200, 20);
    searchLabel->setBounds(400, 64, 280, 18);
    search.setBounds(400, 84, 280, 26);
    categories->setBounds(400, 140, 440, 380);
    placeButtons({10, 50, 90, h - 90, h - 130, h - 170, h - 210, h - 40}, applyCommand);
    if (question != nullptr && question->isAsking())
        question->setBounds(getLocalBounds());
}

void LibClass::mouseDown(const juce::MouseEvent&)
{
    showCategory(store.isFiltered() ? filterCategory : LibraryStore::listAll);
}

void LibClass::refreshButtons()
{
    const bool rows = list->getNumRows() > 0;
    const bool selected = list->getSelectedIndex() >= 0;
    showButtons([rows, selected](int id) {
        switch (id)
        {
            case saveCommand:
            case clearCommand:
                return rows;
            case applyCommand:
                return false;
            case renameCommand:
            case deleteCommand:
                return selected;
            default:
                return true;
        }
    });
}

void LibClass::refreshCounts()
{
    for (int c = 0; c < LibraryStore::numCategories; ++c)
    {
        const int n = store.getCount(c);
        categories->setCount(c, n > 0 ? juce::String(n) : juce::String());
    }
    categories->setCount(CatContainer::listAll, "Size: " + juce::String(store.size()));
    categories->setShown(store.isFiltered() ? store.getFilter() : CatContainer::listAll);
}

//==== Listeners ======================================================================================

void LibClass::libButClicked(LibBut*, int id)
{
    switch (id)
    {
        case loadCommand: showLoadMenu(); break;
        case saveCommand: saveLibraryAs(); break;
        case clearCommand: clearAll(); break;
        case applyCommand: applySelected(); break;
        case renameCommand: renameSelected(); break;
        case deleteCommand: deleteSelected(); break;
        case addCommand: addCurrentProgram(); break;
        default: break; // DONE: the window's content closes the window
    }
}

void LibClass::stsFileEvent(int, int)
{
    refreshCounts();
    refreshButtons();
    applySelected();
}

void LibClass::stsFileDoubleClicked()
{
    // A key that reached the list under an open question must not close the window on it.
    if (question != nullptr && question->isAsking())
        return;
    getButton(doneCommand).click();
}

void LibClass::categoryChosen(int index)
{
    showCategory(index);
}

void LibClass::searchChanged()
{
    store.setSearch(search.getText());
    list->rebuildView();
}

void LibClass::showCategory(int index)
{
    if (index < 0 || index >= LibraryStore::listAll)
    {
        categoryTitle->setText({});
        store.setFilter(LibraryStore::listAll);
    }
    else
    {
        categoryTitle->setText(ParDes::categoryName(index));
        filterCategory = index;
        store.setFilter(index);
    }
    list->rebuildView();
}

//==== Questions ======================================================================================

void LibClass::ask(const TextInputCont::Question& q)
{
    if (question == nullptr)
    {
        question = std::make_unique<TextInputCont>();
        question->addListener(this);
        addChildComponent(*question);
    }
    question->ask(q);
}

void LibClass::askYesNoCancel(const juce::String& message, int dialogId, int subCode)
{
    TextInputCont::Question q;
    q.message = message;
    q.first = "YES";
    q.second = "NO";
    q.third = "CANCEL";
    q.dialogId = dialogId;
    q.subCode = subCode;
    ask(q);
}

void LibClass::tell(const juce::String& text)
{
    TextInputCont::Question q;
    q.message = text;
    q.second = "OK";
    q.dialogId = infoDialog;
    ask(q);
}

void LibClass::tellWriteFailure()
{
    if (!writeFailureUntold || (question != nullptr && question->isAsking() && question->getDialogId() != infoDialog))
        return;
    writeFailureUntold = false;
    tell("Could not write the library file " + keeper.getFile().getFileName()
         + ". Your programs are kept and saved again with the next change.");
}

void LibClass::textmsgFirst(int dialogId, int subCode)
{
    const auto text = question->getText();
    const int category = question->getCategory();
    question->hidePanel();
    switch (dialogId)
    {
        case importDialog:
            if (subCode == 5)
                merge(true);
            else
                // The library is replaced only once it really is in a file.
                saveLibraryAs([this] { merge(false); });
            break;
        case clearDialog:
            saveLibraryAs([this] { emptyStore(); });
            break;
        case deleteDialog:
            if (const int index = indexOfAskedAbout(); index >= 0)
            {
                store.removeEntry(index);
                changed();
                list->rebuildView();
            }
            break;
        case renameDialog:
            if (const int index = indexOfAskedAbout(); index >= 0 && text.isNotEmpty())
            {
                store.renameEntry(index, text, category);
                changed();
                showCategory(filterCategory);
            }
            break;
        case addDialog:
        {
            auto record = pendingAdd;
            if (category >= 0)
                record[(size_t)LibraryStore::categoryOffset] = (std::uint8_t)category;
            LibraryStore::writeName(record.data(), text.isEmpty() ? juce::String("Untitled") : text);
            // An identical entry already there: nothing is added, selected or applied.
            if (!store.addEntry(record))
                break;
            changed();
            list->rebuildView();
            // Selected (and so applied) when the rows shown include it. Not simply the last row:
            // the write may have taken in another instance's programs after it.
            const auto& view = store.getView();
            for (int row = (int)view.size() - 1; row >= 0; --row)
                if (std::memcmp(store.entry(view[(size_t)row]), record.data(), LibraryStore::recordSize) == 0)
                {
                    list->selectRow(row);
                    break;
                }
            break;
        }
        default:
            break;
    }
    refreshButtons();
    tellWriteFailure();
}

void LibClass::textmsgSecond(int dialogId, int subCode)
{
    question->hidePanel();
    if (dialogId == importDialog && subCode == 5)
    {
        askYesNoCancel("Save the Current Library?", importDialog, 6);
    }
    else if (dialogId == importDialog && subCode == 6)
    {
        merge(false);
    }
    else if (dialogId == clearDialog)
    {
        emptyStore();
    }
    refreshButtons();
    tellWriteFailure();
}

void LibClass::textmsgThird(int, int)
{
    question->hidePanel();
    refreshButtons();
    tellWriteFailure();
}

//==== Commands =======================================================================================

MenuModel LibClass::loadMenu() const
{
    MenuModel menu;
    menu.addItem(fromLibraryFile, "From Library File");
    menu.addItem(fromBankFile, "From Program Bank File");
    menu.addSeparator();
    for (int bank = 0; bank < ProgramBankSet::numBanks; ++bank)
    {
        if (bank == ProgramBankSet::numUserBanks)
            menu.addSeparator();
        menu.addItem(fromFirstBank + bank, ProgramBankSet::bankName(bank));
    }
    menu.addSeparator();
    menu.addItem(fromPresetBank, "Import from FX Preset Bank");
    return menu;
}

void LibClass::showLoadMenu()
{
    AsyncMenu::show(loadMenu().toPopupMenu(), juce::PopupMenu::Options().withTargetComponent(getButton(loadCommand)),
                    *this, [](LibClass& page, int result) { page.handleLoadMenuResult(result); });
}

void LibClass::handleLoadMenuResult(int result)
{
    if (result == fromLibraryFile)
        importFromLibraryFile();
    else if (result == fromBankFile)
        importFromBankFile();
    else if (result == fromPresetBank)
        importFromPresetBank();
    else if (result >= fromFirstBank && result < fromFirstBank + ProgramBankSet::numBanks)
        importFromPluginBank(result - fromFirstBank);
}

void LibClass::importFromLibraryFile()
{
    host.chooseFileToOpen(FileMan::loadLibrary, [this, alive = SafePointer<LibClass>(this)](const juce::File& file) {
        if (alive == nullptr)
            return;
        FileCommands::loadChosen(host, FileMan::loadLibrary, file, [this](const Bytes& bytes) {
            const auto records = LibraryFile::read(bytes, LibraryStore::maxEntries);
            if (!records)
                return;
            store.beginImport();
            store.importRecords(*records);
            importFinished();
        });
    });
}

void LibClass::importFromBankFile()
{
    host.chooseFileToOpen(FileMan::loadBank, [this, alive = SafePointer<LibClass>(this)](const juce::File& file) {
        if (alive == nullptr)
            return;
        FileCommands::loadChosen(host, FileMan::loadBank, file, [this](const Bytes& bytes) {
            // The reader takes the first 128 dumps, as a bank holds.
            const auto records = FileMan::readBankFile(bytes);
            store.beginImport();
            store.importRecords(FileMan::bankDataOf(records));
            importFinished();
        });
    });
}

void LibClass::importFromPluginBank(int bank)
{
    if (!ProgramBankSet::isValidBank(bank))
        return;
    store.beginImport();
    store.importRecords(processor.getState().getBankData(bank), 0, ProgramSysex::numPrograms);
    importFinished();
}

void LibClass::importFromPresetBank()
{
    store.beginImport();
    store.importRecords(processor.getState().getHostBankData(), 0, ProgramSysex::numPrograms);
    importFinished();
}

void LibClass::importFinished()
{
    if (store.getImportSize() == 0)
        return;
    if (store.isEmpty())
    {
        merge(false);
        return;
    }
    askYesNoCancel("Append Programs?", importDialog, 5);
}

void LibClass::merge(bool keepExisting)
{
    if (!store.mergeImport(keepExisting))
        return;
    changed();
    categoryTitle->setText({});
    list->rebuildView();
}

void LibClass::emptyStore()
{
    store.clear();
    changed();
    store.setFilter(LibraryStore::listAll);
    categoryTitle->setText({});
    list->rebuildView();
}

void LibClass::saveLibraryAs(std::function<void()> onSaved)
{
    host.chooseFileToSave(FileMan::saveLibrary, FileMan::proposedFileName("Untitled", FileMan::saveLibrary),
                          [this, alive = SafePointer<LibClass>(this), onSaved = std::move(onSaved)](const juce::File& chosen) {
                              if (alive == nullptr)
                                  return;
                              const auto file = FileMan::withDefaultExtension(chosen, FileMan::saveLibrary);
                              if (file == juce::File())
                                  return;
                              if (!file.existsAsFile())
                              {
                                  writeChosenLibrary(file, onSaved);
                                  return;
                              }
                              host.askQuestion("Replace the existing file " + file.getFileName() + "?",
                                               [this, alive, file, onSaved] {
                                                   if (alive != nullptr)
                                                       writeChosenLibrary(file, onSaved);
                                               });
                          });
}

void LibClass::writeChosenLibrary(const juce::File& file, const std::function<void()>& onSaved)
{
    if (!FileMan::writeFileBytes(file, LibraryFile::make(store.getData())))
    {
        host.showMessage("Could not save " + file.getFileName() + ". Nothing was written.");
        return;
    }
    lastLibraryFile = file;
    if (onSaved)
        onSaved();
    refreshButtons();
}

void LibClass::clearAll()
{
    if (store.isEmpty())
    {
        emptyStore();
        return;
    }
    askYesNoCancel("Save Current Library?", clearDialog, 6);
}

int LibClass::indexOfAskedAbout() const
{
    const auto isIt = [this](int i) { return std::memcmp(store.entry(i), askedAbout.data(), LibraryStore::recordSize) == 0; };
    if (const int selected = list->getSelectedIndex(); selected >= 0 && isIt(selected))
        return selected;
    for (int i = 0; i < store.size(); ++i)
        if (isIt(i))
            return i;
    return -1;
}

void LibClass::renameSelected()
{
    const int index = list->getSelectedIndex();
    if (index < 0)
        return;
    askedAbout = store.getEntry(index);
    ask(TextInputCont::renameQuestion(LibraryStore::shownName(store.entry(index)),
                                      LibraryStore::categoryOf(store.entry(index)), renameDialog, 0));
}

void LibClass::deleteSelected()
{
    const int index = list->getSelectedIndex();
    if (index < 0)
        return;
    askedAbout = store.getEntry(index);
    TextInputCont::Question q;
    q.message = "Delete " + LibraryStore::shownName(store.entry(index)).trimEnd() + " ?";
    q.first = "OK";
    q.third = "CANCEL";
    q.dialogId = deleteDialog;
    ask(q);
}

void LibClass::addCurrentProgram()
{
    pendingAdd = processor.getHistory().getEditedProgram();
    const auto name = DSI_Program::decodeName(pendingAdd.data(), pendingAdd.size()).trimEnd();
    if (store.contains(pendingAdd))
    {
        tell(name + " Program already exists in the library.");
        return;
    }
    TextInputCont::Question q;
    q.message = "Program name:";
    q.text = name;
    q.showField = true;
    q.first = "OK";
    q.third = "CANCEL";
    q.category = LibraryStore::categoryOf(pendingAdd.data());
    q.dialogId = addDialog;
    ask(q);
}

void LibClass::applySelected()
{
    const int index = list->getSelectedIndex();
    if (index < 0)
        return;
    const auto block = ZarnelAudioProcessor::makeProgramChunk(store.getEntry(index));
    processor.setCurrentProgramStateInformation(block.getData(), (int)block.getSize());
}

} // namespace zarnel
