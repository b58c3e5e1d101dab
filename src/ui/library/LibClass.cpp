#include "LibClass.h"

#include "../look/AsyncMenu.h"
#include "../menus/FileCommands.h"

#include "../../files/FileMan.h"
#include "../../library/LibraryFile.h"
#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"
#include "../../model/ProgramBankSet.h"
#include "../../plugin/ZarnelAudioProcessor.h"

namespace zarnel
{

namespace
{
const juce::Colour pageColour(0xFF373535);

struct ButtonRow
{
    const char* text;
    int id;
    const char* help;
};

// In the order of creation, which is the order their visibility is refreshed in.
const ButtonRow buttonRows[] = {
    {"LOAD", LibClass::loadCommand, "Load Library or Bank Files"},
    {"SAVE", LibClass::saveCommand, "Save Library File"},
    {"CLEAR ALL", LibClass::clearCommand, "Remove all items from Library"},
    {"APPLY", LibClass::applyCommand, "Apply selected program and set as the current program"},
    {"RENAME", LibClass::renameCommand, "Rename selected program in the Library"},
    {"DELETE", LibClass::deleteCommand, "Delete selected program from the Library"},
    {"ADD CURRENT", LibClass::addCommand, "Add the current program to the Library"},
    {"DONE", LibClass::doneCommand, ""},
};
} // namespace

LibClass::LibClass(ZarnelAudioProcessor& p, CommandHost& h, const juce::File& libraryFile)
    : processor(p), host(h), keeper(store, libraryFile)
{
    list = std::make_unique<StsFile>(store);
    list->addListener(this);
    addAndMakeVisible(*list);

    categories = std::make_unique<CatContainer>();
    categories->addListener(this);
    addAndMakeVisible(*categories);

    categoryTitle = std::make_unique<SimpleLabel>(16.0f, pageColour, juce::Font::bold, juce::Justification::centredLeft);
    addAndMakeVisible(*categoryTitle);
    status = std::make_unique<SimpleLabel>(15.0f, pageColour, juce::Font::plain, juce::Justification::centredLeft);
    status->setTextColour(juce::Colour(0xFFCEBDBD));
    addAndMakeVisible(*status);

    searchLabel = std::make_unique<SimpleLabel>(13.0f, pageColour, juce::Font::plain, juce::Justification::centredLeft);
    searchLabel->setText("Search names:");
    searchLabel->setTextColour(juce::Colour(0xFFCEBDBD));
    addAndMakeVisible(*searchLabel);
    search.setMultiLine(false);
    search.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
    search.setTextToShowWhenEmpty("name contains...", juce::Colour(0xFF8A8585));
    search.setInputRestrictions(16);
    search.onTextChange = [this] { searchChanged(); };
    search.onEscapeKey = [this] { search.clear(); searchChanged(); };
    addAndMakeVisible(search);

    for (const auto& row : buttonRows)
    {
        auto b = std::make_unique<LibBut>(row.text, row.id);
        b->setHelp(row.help);
        b->setSize(100, 34);
        b->addListener(this);
        addChildComponent(*b);
        buttons.push_back(std::move(b));
    }

    keeper.onMerged = [this] { list->rebuildView(); };
    keeper.onWriteFailed = [this] {
        tell("Could not write the library file " + keeper.getFile().getFileName()
             + ". Your programs are kept and saved again with the next change.");
    };
    setSize(500, 600);
    refreshCounts();
    refreshButtons();
}

LibClass::~LibClass()
{
    saveFixedLibrary();
    keeper.onMerged = nullptr;
    keeper.onWriteFailed = nullptr;
    for (auto& b : buttons)
        b->removeListener(this);
    if (question != nullptr)
        question->removeListener(this);
    list->removeListener(this);
    categories->removeListener(this);
}

LibBut& LibClass::getButton(int id)
{
    for (auto& b : buttons)
        if (b->getId() == id)
            return *b;
    return *buttons.front();
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
    const int w = getWidth(), h = getHeight();
    list->setBounds(20, 10, 334, 510);
    categoryTitle->setBounds(400, 16, 200, 20);
    searchLabel->setBounds(400, 64, 280, 18);
    search.setBounds(400, 84, 280, 26);
    categories->setBounds(400, 140, 440, 380);
    status->setBounds(400, h - 30, 400, 24);
    const int places[] = {10, 50, 90, h - 90, h - 130, h - 170, h - 210, h - 40};
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setTopLeftPosition(buttons[i]->getId() == applyCommand ? -(w - 120) : w - 120, places[i]);
    if (question != nullptr && question->isAsking())
        question->setBounds(getLocalBounds());
}

void LibClass::paint(juce::Graphics& g)
{
    g.fillAll(pageColour);
    g.setColour(juce::Colour(0xFF0A0A0A));
    g.fillRect(0, 4, getWidth(), 2);
}

void LibClass::mouseDown(const juce::MouseEvent&)
{
    showCategory(store.isFiltered() ? filterCategory : LibraryStore::listAll);
}

void LibClass::refreshButtons()
{
    const bool rows = list->getNumRows() > 0;
    const bool selected = list->getSelectedIndex() >= 0;
    for (auto& b : buttons)
    {
        bool shown = true;
        switch (b->getId())
        {
            case saveCommand:
            case clearCommand:
                shown = rows;
                break;
            case applyCommand:
                shown = false;
                break;
            case renameCommand:
            case deleteCommand:
                shown = selected;
                break;
            default:
                break;
        }
        if (b->isVisible() != shown)
            b->setVisible(shown);
    }
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

void LibClass::libButEntered(LibBut* button, int)
{
    status->setText(button->getHelp());
}

void LibClass::libButExited(LibBut*, int)
{
    status->setText({});
}

void LibClass::stsFileEvent(int, int)
{
    refreshCounts();
    refreshButtons();
    applySelected();
}

void LibClass::stsFileDoubleClicked()
{
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

void LibClass::tell(const juce::String& text)
{
    TextInputCont::Question q;
    q.message = text;
    q.second = "OK";
    q.dialogId = infoDialog;
    ask(q);
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
            if (const int index = list->getSelectedIndex(); index >= 0)
            {
                store.removeEntry(index);
                changed();
                list->rebuildView();
            }
            break;
        case renameDialog:
            if (const int index = list->getSelectedIndex(); index >= 0 && text.isNotEmpty())
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
            // Selected (and so applied) when the rows shown include it: it is the last one.
            if (const auto& view = store.getView(); !view.empty() && view.back() == store.size() - 1)
                list->selectRow((int)view.size() - 1);
            break;
        }
        default:
            break;
    }
    refreshButtons();
}

void LibClass::textmsgSecond(int dialogId, int subCode)
{
    question->hidePanel();
    if (dialogId == importDialog && subCode == 5)
    {
        TextInputCont::Question q;
        q.message = "Save the Current Library?";
        q.first = "YES";
        q.second = "NO";
        q.third = "CANCEL";
        q.dialogId = importDialog;
        q.subCode = 6;
        ask(q);
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
}

void LibClass::textmsgThird(int, int)
{
    question->hidePanel();
    refreshButtons();
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
    TextInputCont::Question q;
    q.message = "Append Programs?";
    q.first = "YES";
    q.second = "NO";
    q.third = "CANCEL";
    q.dialogId = importDialog;
    q.subCode = 5;
    ask(q);
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
    TextInputCont::Question q;
    q.message = "Save Current Library?";
    q.first = "YES";
    q.second = "NO";
    q.third = "CANCEL";
    q.dialogId = clearDialog;
    q.subCode = 6;
    ask(q);
}

void LibClass::renameSelected()
{
    const int index = list->getSelectedIndex();
    if (index < 0)
        return;
    const auto name = LibraryStore::shownName(store.entry(index));
    TextInputCont::Question q;
    // The name without its padding: "Rename Bravo:", not "Rename Bravo           :".
    q.message = "Rename " + name.trimEnd() + ":";
    q.text = name;
    q.showField = true;
    q.first = "OK";
    q.third = "CANCEL";
    q.category = LibraryStore::categoryOf(store.entry(index));
    q.dialogId = renameDialog;
    ask(q);
}

void LibClass::deleteSelected()
{
    const int index = list->getSelectedIndex();
    if (index < 0)
        return;
    TextInputCont::Question q;
    q.message = "Delete " + LibraryStore::shownName(store.entry(index)).trimEnd() + " ?";
    q.first = "OK";
    q.third = "CANCEL";
    q.dialogId = deleteDialog;
    ask(q);
}

void LibClass::addCurrentProgram()
{
    pendingAdd = processor.getState().getCurrentProgram();
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
