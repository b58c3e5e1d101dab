#pragma once

#include "files/WriteDestination.h"
#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/RenameCnt.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsGrid.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <memory>

namespace zarnel
{

class MidiCntrState;

// The write dialog: where in the synthesizer's user memory the edited program goes, under which
// name and category. The display shows what WRITE will use; the main component listens to WRITE
// and CANCEL and carries them out. Only the user banks are offered: the factory banks are the
// instrument's read-only memory.
class WriteSnd : public juce::Component,
                 public juce::ChangeBroadcaster,
                 public stsbutChangeListener,
                 public juce::ChangeListener
{
public:
    static constexpr int numBankButtons = 4;
    static constexpr int firstBankId = 500;
    static constexpr int writeId = 971;
    static constexpr int cancelId = 972;

    using CategoryChooser = std::function<void(std::function<void(int)> onChosen)>;

    WriteSnd(MidiCntrState& state, int currentBank, int currentProgram, const juce::String& name, int category);
    ~WriteSnd() override;

    // The main component passes its width and the keyboard's top less 23.
    void layoutFor(int width, int height);
    // The banks changed (0x19).
    void relist();

    // What WRITE uses.
    int getBank() const noexcept { return display->getBank(); }
    int getProgram() const noexcept { return display->getProgram(); }
    const juce::String& getName() const noexcept { return display->getName(); }
    // The stored byte as it was (even above the last category) until one is chosen.
    int getCategory() const noexcept { return categoryToWrite; }

    StsBut& getWriteButton() noexcept { return *writeButton; }
    StsBut& getCancelButton() noexcept { return *cancelButton; }
    StsBut& getBankButton(int bank) noexcept { return *bankButtons[(size_t)bank]; }
    StsGrid& getGrid() noexcept { return *grid; }
    LCD_Comp& getDisplay() noexcept { return *display; }
    RenameCnt* getRenameBox() noexcept { return renameBox.get(); }
    float getContentScale() const noexcept { return contentScale; }
    void setCategoryChooser(CategoryChooser chooser);
    // The display's name area was pressed: a box to type the name in.
    void openRenameBox();
    // A name typed in the open box counts as given, as its OK would take it: WRITE calls this
    // first, so what the user typed is what gets stored.
    void confirmTypedName();

    void paint(juce::Graphics& g) override;
    void stsbutChanged(StsBut* button) override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

private:
    void placeChild(juce::Component& child, int x, int y, int w, int h);
    void showDestination(int bank, int program);
    void acceptRename();
    void closeRenameBox();

    MidiCntrState& state;
    std::array<std::unique_ptr<StsBut>, numBankButtons> bankButtons;
    std::unique_ptr<StsBut> writeButton, cancelButton;
    std::unique_ptr<StsGrid> grid;
    std::unique_ptr<LCD_Comp> display;
    std::unique_ptr<RenameCnt> renameBox;
    CategoryChooser categoryChooser;
    int categoryToWrite = 0;
    juce::Rectangle<int> frameArea; // in the content's unscaled pixels
    int textLeft = 0;
    float contentScale = 1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(WriteSnd)
};

} // namespace zarnel
