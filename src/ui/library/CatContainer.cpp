#include "CatContainer.h"
#include "../widgets/TipText.h"

#include "../widgets/ListenerCalls.h"

#include "../../model/ParDes.h"

namespace zarnel
{

CatContainer::CatContainer()
{
    setTitle("Categories");
    for (int i = 0; i < numButtons; ++i)
    {
        const juce::String caption = i == 0 ? "-----" : (i == listAll ? "LIST ALL" : ParDes::categoryName(i).toUpperCase());
        auto button = std::make_unique<StBut>(caption, i);
        button->setFontHeight(12.0f);
        TipText::set(*button, i == listAll ? juce::String("LIST ALL: show every program of the library.")
                                           : caption + ": show only the library's programs of this category.");
        const auto at = placeOf(i);
        button->setBounds(at.x, at.y, 100, 18);
        button->addChangeListener(this);
        addAndMakeVisible(*button);
        buttons.push_back(std::move(button));

        auto label = std::make_unique<SimpleLabel>(12.0f, juce::Colour(0xFF373535), juce::Font::plain,
                                                   juce::Justification::centred);
        label->setBounds(at.x, at.y + 18, 100, 18);
        addAndMakeVisible(*label);
        labels.push_back(std::move(label));
    }
    setSize(440, 380);
}

CatContainer::~CatContainer()
{
    for (auto& b : buttons)
        b->removeChangeListener(this);
}

juce::Point<int> CatContainer::placeOf(int index) noexcept
{
    if (index == listAll)
        return {330, 276};
    return {(index % 4) * 110, (index / 4) * 46};
}

void CatContainer::setCount(int index, const juce::String& text)
{
    if (index >= 0 && index < numButtons)
        labels[(size_t)index]->setText(text);
}

void CatContainer::setShown(int index)
{
    for (int i = 0; i < numButtons; ++i)
        buttons[(size_t)i]->setSelected(i == index);
}

void CatContainer::addListener(CatListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void CatContainer::removeListener(CatListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeAllInstancesOf(listener);
}

void CatContainer::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    for (const auto& b : buttons)
        if (source == b.get())
        {
            const int index = b->getId();
            ListenerCalls::tell(*this, listenerLock, listeners, [index](CatListener& l) { l.categoryChosen(index); });
            return;
        }
}

} // namespace zarnel
