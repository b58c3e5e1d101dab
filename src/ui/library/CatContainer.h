#pragma once

#include "../widgets/SimpleLabel.h"
#include "../widgets/StBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace zarnel
{

// Told the category chosen: 0..25, or 26 for "LIST ALL".
class CatListener
{
public:
    virtual ~CatListener() = default;
    virtual void categoryChosen(int index) = 0;
};

// The library's category selector: 27 buttons in rows of four, each with a count under it.
class CatContainer : public juce::Component, public juce::ChangeListener
{
public:
    static constexpr int numButtons = 27;
    static constexpr int listAll = 26;

    CatContainer();
    ~CatContainer() override;

    void setCount(int index, const juce::String& text);
    const juce::String& getCount(int index) const { return labels[(size_t)index]->getText(); }
    StBut& getButton(int index) { return *buttons[(size_t)index]; }
    // Marks the button of the category shown (listAll for all).
    void setShown(int index);

    void addListener(CatListener* listener);
    void removeListener(CatListener* listener);

    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    // Where button i sits: four columns, "LIST ALL" at (330, 276).
    static juce::Point<int> placeOf(int index) noexcept;

private:
    std::vector<std::unique_ptr<StBut>> buttons;
    std::vector<std::unique_ptr<SimpleLabel>> labels;
    juce::CriticalSection listenerLock;
    juce::Array<CatListener*> listeners;
};

} // namespace zarnel
