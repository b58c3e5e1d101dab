#pragma once

#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsGrid.h"
#include "ui/widgets/SwitchLED.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <memory>

namespace zarnel
{

class MidiCntrState;

// The bank page: the eight banks or one category across them in a program list, the buttons that
// choose them, "Use Loaded Data", and the FILE, MIDI and PRESETS commands. It holds no program
// data; what it cannot do itself (menus, transfers, the program menu) it reports to the main
// component as a code. At sizes too small for its content the content is drawn smaller.
class BankComp : public juce::Component,
                 public juce::ChangeBroadcaster,
                 public stsbutChangeListener,
                 public juce::ChangeListener
{
public:
    static constexpr int numBankButtons = 8;
    static constexpr int numCategoryButtons = 28;
    static constexpr int numShownCategoryButtons = 26;

    // Codes for the main component.
    static constexpr int fileCode = 890;
    static constexpr int midiCode = 891;
    static constexpr int presetsCode = 201;
    static constexpr int programMenuCode = 90;
    static constexpr int useLoadedDataCode = 206;
    static constexpr int okCode = 892;
    static constexpr int firstBankId = 300;
    static constexpr int firstCategoryId = 400;

    // Asks for a category and later calls the continuation with it (0 .. 25); never for a
    // dismissed menu. A pop-up at the mouse unless tests put their own in its place.
    using CategoryChooser = std::function<void(std::function<void(int)> onChosen)>;

    explicit BankComp(MidiCntrState& state);
    ~BankComp() override;

    // The main component passes its width and the height above the keyboard less 24.
    void layoutFor(int width, int height);
    // Shown again: the switch shows the flag, the list the bank with its program selected.
    void showFor(bool useLoadedData, int bank, int program);
    // The banks changed (0x19).
    void relist();

    int getCode() const noexcept { return code; }
    bool isUsingLoadedData() const noexcept { return loadedDataSwitch->isOn(); }
    float getContentScale() const noexcept { return contentScale; }
    StsGrid& getGrid() noexcept { return *grid; }
    StsBut& getBankButton(int bank) noexcept { return *bankButtons[(size_t)bank]; }
    StsBut& getCategoryButton(int category) noexcept { return *categoryButtons[(size_t)category]; }
    StsBut& getOkButton() noexcept { return *okButton; }
    SwitchLED& getLoadedDataSwitch() noexcept { return *loadedDataSwitch; }
    // The FILE, MIDI or PRESETS button of a code, to open its menu under it.
    StsBut* getCommandButton(int commandCode) noexcept;
    void setCategoryChooser(CategoryChooser chooser);

    void paint(juce::Graphics& g) override;
    void stsbutChanged(StsBut* button) override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

private:
    void report(int newCode);
    void setTooltips();
    void placeChild(juce::Component& child, int x, int y, int w, int h);
    void gridPressed();

    MidiCntrState& state;
    std::array<std::unique_ptr<StsBut>, numBankButtons> bankButtons;
    std::array<std::unique_ptr<StsBut>, numCategoryButtons> categoryButtons;
    std::unique_ptr<StsBut> fileButton, midiButton, presetsButton, okButton;
    std::unique_ptr<SwitchLED> loadedDataSwitch;
    std::unique_ptr<StsGrid> grid;
    CategoryChooser categoryChooser;
    juce::Rectangle<int> frameArea; // in the content's unscaled pixels
    float contentScale = 1.0f;
    int code = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BankComp)
};

} // namespace zarnel
