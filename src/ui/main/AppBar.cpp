#include "AppBar.h"

namespace zarnel
{

namespace
{
struct ButtonPlace
{
    const char* caption;
    int code;
    int x;
};

constexpr ButtonPlace buttonPlaces[AppBar::numButtons] = {
    {"MIDI", AppBar::midiCode, 76},  {"BANK", AppBar::bankCode, 130}, {"FILE", AppBar::fileCode, 184},
    {"EDIT", AppBar::editCode, 235}, {"Send", AppBar::sendCode, 289}, {"Recv", AppBar::recvCode, 340},
    {"WRITE", AppBar::writeCode, 394}};
} // namespace

AppBar::AppBar(MidiCntrState& s) : state(s)
{
    setTitle("Application bar");
    setOpaque(true);

    menuButton = std::make_unique<AppSetBarBut>(state);
    menuButton->setBounds(-4, -4, 36, 36);
    addAndMakeVisible(*menuButton);

    for (size_t i = 0; i < buttons.size(); ++i)
    {
        const auto& place = buttonPlaces[i];
        buttons[i] = std::make_unique<StsBut>(place.caption, place.code, 130);
        buttons[i]->configure(place.x, 2, 50, 18, true);
        addAndMakeVisible(*buttons[i]);
    }

    channelLabel = std::make_unique<StsLabel>();
    channelLabel->configure({}, "Arial", 12.0f, juce::Justification::centred);
    channelLabel->makePressable("MIDI channel");
    channelLabel->setBackgroundMode(StsLabel::filledAndFramed);
    channelLabel->setFillColour(juce::Colour(0xff000000));
    channelLabel->setFrameColour(juce::Colour(0xff9f9f9f));
    channelLabel->setOpaque(true);
    channelLabel->setBounds(511, 3, 62, 15);
    addAndMakeVisible(*channelLabel);

    statusLabel = std::make_unique<StsLabel>();
    statusLabel->configure({}, "Arial", 13.0f, juce::Justification::left);
    statusLabel->setBackgroundMode(StsLabel::filled);
    statusLabel->setFillColour(juce::Colour(barColour));
    statusLabel->setOpaque(true);
    statusLabel->setBounds(582, 2, 300, 15);
    addAndMakeVisible(*statusLabel);

    setSize(1024, barHeight);
}

AppBar::~AppBar() = default;

void AppBar::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(barColour));
}

} // namespace zarnel
