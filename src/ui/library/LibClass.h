#pragma once

#include "CatContainer.h"
#include "CommandPage.h"
#include "StsFile.h"
#include "TextInputCont.h"

#include "../menus/CommandHost.h"
#include "../menus/MenuModel.h"
#include "../widgets/SimpleLabel.h"
#include "../widgets/TextField.h"

#include "../../library/LibraryKeeper.h"
#include "../../library/LibraryStore.h"

#include <functional>
#include <memory>
#include <vector>

namespace zarnel
{

class ZarnelAudioProcessor;

// The library page: the list, the category selector, the name search and the commands. The
// entries live in a LibraryStore that a LibraryKeeper writes to the fixed library file soon after
// every change; questions are asked on the page's own panel, choosers through the host, and
// every answer arrives later, so nothing here waits.
class LibClass : public CommandPage,
                 public textmsgListener,
                 public StsFileListener,
                 public CatListener
{
public:
    enum Command
    {
        loadCommand = 1319,
        saveCommand = 1209,
        clearCommand = 1205,
        applyCommand = 1206,
        renameCommand = 1203,
        deleteCommand = 1204,
        addCommand = 1207,
        doneCommand = 1201
    };
    enum Dialog
    {
        infoDialog = 0,
        importDialog = 256,
        clearDialog = 768,
        deleteDialog = 1024,
        renameDialog = 1280,
        addDialog = 1536
    };
    enum LoadItem
    {
        fromLibraryFile = 200,
        fromBankFile = 300,
        fromFirstBank = 100,
        fromPresetBank = 777
    };

    LibClass(ZarnelAudioProcessor& processor, CommandHost& host, const juce::File& libraryFile);
    ~LibClass() override;

    // Reads the fixed library file into the store (once, when the page is made).
    void loadFixedLibrary();
    // Writes whatever is not written yet.
    bool saveFixedLibrary();

    //==== Commands ==================================================================================
    void showLoadMenu();
    MenuModel loadMenu() const;
    void handleLoadMenuResult(int result);
    void importFromLibraryFile();
    void importFromBankFile();
    void importFromPluginBank(int bank);
    void importFromPresetBank();
    // The chooser, the question before replacing a file, the write; onSaved runs only after
    // the library really was written.
    void saveLibraryAs(std::function<void()> onSaved = {});
    void clearAll();
    void renameSelected();
    void deleteSelected();
    void addCurrentProgram();
    void applySelected();
    void showCategory(int index);

    //==== Parts, for the window and tests ============================================================
    LibraryStore& getStore() noexcept { return store; }
    LibraryKeeper& getKeeper() noexcept { return keeper; }
    StsFile& getList() noexcept { return *list; }
    CatContainer& getCategories() noexcept { return *categories; }
    TextInputCont* getQuestion() noexcept { return question.get(); }
    juce::TextEditor& getSearchField() noexcept { return search; }
    const juce::String& getCategoryTitle() const noexcept { return categoryTitle->getText(); }
    const juce::File& getLastLibraryFile() const noexcept { return lastLibraryFile; }

    //==== Listeners =================================================================================
    void libButClicked(LibBut* button, int id) override;
    void textmsgFirst(int dialogId, int subCode) override;
    void textmsgSecond(int dialogId, int subCode) override;
    void textmsgThird(int dialogId, int subCode) override;
    void stsFileEvent(int code, int value) override;
    void stsFileDoubleClicked() override;
    void categoryChosen(int index) override;

    void resized() override;
    void mouseDown(const juce::MouseEvent& e) override;

private:
    void ask(const TextInputCont::Question& q);
    void askYesNoCancel(const juce::String& message, int dialogId, int subCode);
    void tell(const juce::String& text);
    void importFinished();
    void merge(bool keepExisting);
    void emptyStore();
    void tellWriteFailure();
    // Where the program a rename or delete question is about is now (-1 when gone).
    int indexOfAskedAbout() const;
    void changed();
    void refreshButtons();
    void refreshCounts();
    void searchChanged();
    void writeChosenLibrary(const juce::File& file, const std::function<void()>& onSaved);

    ZarnelAudioProcessor& processor;
    CommandHost& host;
    LibraryStore store;
    LibraryKeeper keeper;

    std::unique_ptr<StsFile> list;
    std::unique_ptr<CatContainer> categories;
    std::unique_ptr<SimpleLabel> categoryTitle;
    std::unique_ptr<SimpleLabel> searchLabel;
    TextField search;
    std::unique_ptr<TextInputCont> question;

    int filterCategory = 0;
    ProgramSysex::Record pendingAdd{};
    // Another instance's changes may come in while the question is open and move the entries.
    ProgramSysex::Record askedAbout{};
    // A write failed while a question was open: told once it is answered, not over it.
    bool writeFailureUntold = false;
    juce::File lastLibraryFile;
};

} // namespace zarnel
