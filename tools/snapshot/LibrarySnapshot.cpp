#include "LibrarySnapshot.h"

#include "MenuPicture.h"

#include "support/MessagePump.h"
#include "ui/library/Lib_Manager_Win.h"
#include "ui/main/MainComp.h"

namespace
{

// The content with a menu drawn under the button it opens from.
bool writeWithMenu(juce::Component& content, juce::Component& button, const zarnel::MenuModel& menu,
                   const juce::File& file)
{
    auto image = content.createComponentSnapshot(content.getLocalBounds(), true, 1.0f);
    {
        juce::Graphics g(image);
        const auto at = content.getLocalArea(&button, button.getLocalBounds()).getBottomLeft();
        MenuPicture::draw(g, menu, at, content.getLocalBounds());
    }
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    return out.openedOk() && png.writeImageToStream(image, out);
}

} // namespace

bool writeLibrarySnapshots(zarnel::MainComp& main, const juce::File& outFolder,
                           bool (*writePng)(juce::Component&, const juce::File&))
{
    using namespace zarnel;
    bool ok = true;
    Lib_Manager_Win::showOnDesktop = false;
    main.showLibraryWindow();
    auto& content = main.getLibraryWindow()->getContent();
    const auto shot = [&](const char* name) { ok &= writePng(content, outFolder.getChildFile(name)); };

    // The preset bank page first, as the window opens, then its panels.
    auto& presets = *content.getPresetPage();
    presets.getList().showPreset(4);
    presets.presetChosen(4);
    shot("library-window-presets.png");
    ok &= writeWithMenu(content, presets.getButton(Plugin_Bank::loadCommand), presets.loadMenu(),
                        outFolder.getChildFile("library-window-presets-load-menu.png"));
    presets.showSetCurrent();
    shot("library-window-presets-set-current.png");
    presets.getSetCurrentPanel()->getButton(TextSetCurCont::cancelId).click();
    presets.renamePreset();
    shot("library-window-presets-rename.png");
    presets.getRenamePanel()->getButton(TextInputCont::thirdId).click();

    content.getPageButton(Lib_Manager_Comp::libraryPageId).click();
    auto& library = *content.getLibraryPage();
    library.getStore().clear();
    library.showCategory(LibraryStore::listAll);
    shot("library-window-empty.png");
    ok &= writeWithMenu(content, library.getButton(LibClass::loadCommand), library.loadMenu(),
                        outFolder.getChildFile("library-window-load-menu.png"));

    // Two factory banks, the second appended.
    library.handleLoadMenuResult(LibClass::fromFirstBank + 4);
    library.handleLoadMenuResult(LibClass::fromFirstBank + 5);
    shot("library-window-append-question.png");
    library.getQuestion()->getButton(TextInputCont::firstId).click();
    library.categoryChosen(8); // Soft Bass
    library.getList().selectRow(1);
    shot("library-window-category.png");

    library.categoryChosen(26);
    library.getSearchField().setText("lead", true);
    test::pumpMessages(20);
    library.getList().selectRow(2);
    shot("library-window-search.png");

    library.addCurrentProgram();
    shot("library-window-exists.png");
    library.getQuestion()->getButton(TextInputCont::secondId).click();
    library.renameSelected();
    shot("library-window-rename.png");
    library.getQuestion()->getButton(TextInputCont::thirdId).click();
    library.deleteSelected();
    shot("library-window-delete.png");
    library.getQuestion()->getButton(TextInputCont::thirdId).click();
    library.clearAll();
    shot("library-window-clear.png");
    library.getQuestion()->getButton(TextInputCont::thirdId).click();

    // Adding the edited program under a new name: the name and category dialog.
    library.getSearchField().setText({}, true);
    test::pumpMessages(20);
    library.getStore().clear();
    library.showCategory(LibraryStore::listAll);
    library.addCurrentProgram();
    shot("library-window-add.png");
    library.getQuestion()->getButton(TextInputCont::thirdId).click();

    // A question of the window's own commands, over the window, not over the editor.
    content.getMessages().askQuestion("Replace the existing file My Library.m_l?", [] {});
    shot("library-window-replace-question.png");
    content.getMessages().answer(false);
    Lib_Manager_Win::showOnDesktop = true;
    return ok;
}
