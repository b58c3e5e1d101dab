#include "Global_Container.h"

#include "../look/Pictures.h"
#include "../look/ZarnelLookAndFeel.h"
#include "../widgets/ListenerCalls.h"

#include "../../midi/MidiCntrState.h"
#include "../../model/GlobalSettings.h"

namespace zarnel
{

Global_Container::Global_Container(MidiCntrState& s) : state(s), closeImage(Pictures::get(Picture::closeMark))
{
    static_assert(std::tuple_size_v<decltype(controls)> == GlobalSettings::numSettings);
    for (int i = 0; i < GlobalSettings::numSettings; ++i)
    {
        auto& c = controls[(size_t)i];
        c = std::make_unique<GlbCont>(state);
        c->configure(i);
        addAndMakeVisible(*c);
    }
    setSize(600, 400);
    showWhetherReceived();
}

void Global_Container::showWhetherReceived()
{
    const bool missing = state.getGlobalDumpCount() == 0;
    for (auto& c : controls)
        c->setAlpha(missing ? 0.5f : 1.0f);
    setDescription(missing ? juce::String(notReceivedText) : juce::String());
    if (missing != notReceived)
    {
        notReceived = missing;
        repaint();
    }
}

Global_Container::~Global_Container() = default;

void Global_Container::addGlobalListener(Global_Listener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void Global_Container::removeGlobalListener(Global_Listener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeFirstMatchingValue(listener);
}

void Global_Container::repaintControl(int index)
{
    if (auto* c = getControl(index))
        c->repaint();
}

GlbCont* Global_Container::getControl(int index) noexcept
{
    return GlobalSettings::isValidIndex(index) ? controls[(size_t)index].get() : nullptr;
}

void Global_Container::resized()
{
    renderBackground();
}

void Global_Container::renderBackground()
{
    const int w = getWidth(), h = getHeight();
    if (w <= 0 || h <= 0)
    {
        background = {};
        return;
    }
    background = juce::Image(juce::Image::ARGB, w, h, true);
    juce::Graphics g(background);
    const auto area = getLocalBounds().toFloat().reduced(1.5f);
    g.setColour(juce::Colour(0xdd000000));
    g.fillRoundedRectangle(area, 10.0f);
    g.setColour(juce::Colour(0xdd457089));
    g.drawRoundedRectangle(area, 10.0f, 3.0f);

    g.setColour(juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(16.0f, juce::Font::bold));
    g.drawText("Global Settings:", 14, 4, 200, 30, juce::Justification::centredLeft, false);

    g.setFont(ZarnelLookAndFeel::arial(12.0f));
    for (int i = 0; i < GlobalSettings::numSettings; ++i)
    {
        const auto& c = GlobalPageLayout::control(i);
        if (c.labelDistance > 0)
            g.drawText(GlobalSettings::setting(i).label, c.x - c.labelDistance, c.y + 1, 200, 18,
                       juce::Justification::centredLeft, false);
    }
    g.drawImage(closeImage, w - 25, 10, 15, 15, 0, 0, closeImage.getWidth(), closeImage.getHeight());
}

void Global_Container::paint(juce::Graphics& g)
{
    g.drawImageAt(background, 0, 0);
    if (notReceived)
    {
        g.setColour(juce::Colour(0xffffb347));
        g.setFont(ZarnelLookAndFeel::arial(12.0f));
        g.drawFittedText(notReceivedText, 160, 4, juce::jmax(0, getWidth() - 200), 30,
                         juce::Justification::centredLeft, 2);
    }
}

void Global_Container::mouseDown(const juce::MouseEvent& e)
{
    if (!GlobalPageLayout::isOnCloseMark(e.x, e.y, getWidth()))
        return;
    ListenerCalls::tell(*this, listenerLock, listeners,
                        [](Global_Listener& l) { l.globalPageMessage(GlobalPageLayout::closeCode, 0); });
}

} // namespace zarnel
