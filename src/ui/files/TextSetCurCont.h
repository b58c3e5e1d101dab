#pragma once

#include "../library/ChoiceBox.h"
#include "../library/LibBut.h"
#include "../widgets/TextField.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zarnel
{

// Told the answer of the store-edited-program panel.
class textSetCurListener
{
public:
    virtual ~textSetCurListener() = default;
    virtual void setCurrentConfirmed(int target) = 0;
    virtual void setCurrentCancelled() = 0;
};

// The panel that stores the edited program into a preset: the name, the target preset (chosen
// from a pop-up of all 128, or stepped with Up and Down) and OK / CANCEL, over the whole page.
// While shown it keeps the keyboard: Return is OK, Escape CANCEL.
class TextSetCurCont : public juce::Component, public juce::ChangeBroadcaster, public LibButListener
{
public:
    static constexpr int okId = 1201;
    static constexpr int cancelId = 1202;
    static constexpr int firstPresetItem = 1000;

    // Names the presets for the box and the pop-up (k + 1, four spaces, the name).
    using PresetNamer = std::function<juce::String(int preset)>;

    explicit TextSetCurCont(PresetNamer namer);
    ~TextSetCurCont() override;

    void prepare(const juce::String& name, int target);
    void hidePanel();
    void setTarget(int preset);
    int getTarget() const noexcept { return target; }
    juce::String getText() const { return field.getText(); }
    juce::TextEditor& getField() noexcept { return field; }
    juce::String getTargetText() const { return targetBox.getText(); }
    ChoiceBox& getTargetBox() noexcept { return targetBox; }
    juce::PopupMenu targetMenu() const;
    LibBut& getButton(int id) { return id == okId ? ok : cancel; }

    void addListener(textSetCurListener* listener);
    void removeListener(textSetCurListener* listener);

    void libButClicked(LibBut* button, int id) override;
    void paint(juce::Graphics& g) override;
    void resized() override;
    bool keyPressed(const juce::KeyPress& key) override;
    juce::Rectangle<int> getTargetArea() const { return {(getWidth() - 280) / 2, 140, 280, 30}; }

private:
    void showTargetMenu();

    PresetNamer namer;
    TextField field;
    ChoiceBox targetBox;
    LibBut ok{"OK", okId}, cancel{"CANCEL", cancelId};
    int target = 0;
    juce::Component::SafePointer<juce::Component> focusBefore;
    juce::CriticalSection listenerLock;
    juce::Array<textSetCurListener*> listeners;
};

} // namespace zarnel
