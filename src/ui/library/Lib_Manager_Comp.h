#pragma once

#include "LibBut.h"
#include "LibClass.h"
#include "LibraryHost.h"
#include "LibraryMessages.h"
#include "../widgets/TipWindow.h"

#include "../files/Plugin_Bank.h"
#include "../keyboard/KeyPlayClass.h"
#include "../main/WinMovCan.h"
#include "../widgets/SimpleLabel.h"

#include <memory>

namespace zarnel
{

class ZarnelAudioProcessor;

// The library window's content: the PRESET BANK and LIBRARY pages (each made when first shown,
// the library's file read then), the page buttons, a note player, the close handle and a status
// line. DONE on either page closes the window as the handle does; a drag on the top strip or on
// the note player moves the window. The pages' messages and questions show here, over this
// window, and the window shows its own tooltips.
class Lib_Manager_Comp : public juce::Component,
                         public juce::ChangeBroadcaster,
                         public LibButListener,
                         public KeyPlayListener
{
public:
    static constexpr int libraryPageId = 1217;
    static constexpr int presetPageId = 1218;

    Lib_Manager_Comp(ZarnelAudioProcessor& processor, CommandHost& host, const juce::File& libraryFile);
    ~Lib_Manager_Comp() override;

    void openPage(int id);
    int getPage() const noexcept { return page; }
    LibClass* getLibraryPage() noexcept { return library.get(); }
    Plugin_Bank* getPresetPage() noexcept { return presets.get(); }
    WinMovCan& getCloseHandle() noexcept { return closeHandle; }
    KeyPlayClass& getNotePlayer() noexcept { return notePlayer; }
    LibraryMessages& getMessages() noexcept { return messages; }
    CommandHost& getPageHost() noexcept { return pageHost; }
    juce::TooltipWindow& getTooltipWindow() noexcept { return tooltips; }
    LibBut& getPageButton(int id) { return id == libraryPageId ? libraryButton : presetButton; }

    void libButClicked(LibBut* button, int id) override;
    void libButEntered(LibBut* button, int id) override;
    void libButExited(LibBut* button, int id) override;
    void keyPlayDragStarted(int y) override;
    void keyPlayDragged(int y) override;
    void keyPlayDragEnded() override {}

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseMove(const juce::MouseEvent& e) override;

private:
    void startMove();
    void moveBy(juce::Point<int> screenPosition);

    ZarnelAudioProcessor& processor;
    LibraryMessages messages;
    LibraryHost pageHost;
    juce::File libraryFile;
    LibBut presetButton{"PRESET BANK", presetPageId}, libraryButton{"LIBRARY", libraryPageId};
    WinMovCan closeHandle;
    KeyPlayClass notePlayer;
    SimpleLabel status{15.0f, juce::Colour(0xFF373535), juce::Font::plain, juce::Justification::centredLeft};
    std::unique_ptr<Plugin_Bank> presets;
    std::unique_ptr<LibClass> library;
    int page = 0;
    juce::String pageName;
    juce::Point<int> moveStartMouse, moveStartWindow;
    TipWindow tooltips{this};
};

} // namespace zarnel
