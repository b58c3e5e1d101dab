#include "AppBar.h"

#include "AppBarLayout.h"
#include "../widgets/TipText.h"

namespace zarnel
{

namespace
{
// Captions in AppBarLayout, which fits them.
struct ButtonPlace
{
    int code;
    int x;
    const char* tip;
};

constexpr ButtonPlace buttonPlaces[AppBar::numButtons] = {
    {AppBar::midiCode, 76,
     "MIDI: opens or closes the MIDI setup, where you choose the ports to the Mopho x4, the clock and the latency."},
    {AppBar::bankCode, 130,
     "BANK: shows or hides the bank page, to browse, load, move and transfer the stored programs."},
    {AppBar::fileCode, 184, "FILE: opens the file menu, to load or save a single program and to show the About box."},
    {AppBar::editCode, 235, "EDIT: opens the edit menu, to copy the edited program or paste the copied one."},
    {AppBar::sendCode, 289, "Send: opens the send menu, to send the edited program or the host preset to the Mopho x4's edit buffer."},
    {AppBar::recvCode, 340, "Recv: asks the Mopho x4 for its edit buffer and shows the program it plays now."},
    {AppBar::writeCode, 394, "WRITE: opens the write dialog, to store the edited program in a program slot."}};
} // namespace

AppBar::AppBar(MidiCntrState& s) : state(s)
{
    setTitle("Application bar");
    setOpaque(true);

    menuButton = std::make_unique<AppSetBarBut>(state);
    menuButton->setBounds(0, 0, 32, barHeight);
    TipText::set(*menuButton, "Library: opens the program library window, to keep, find and load your programs.");
    addAndMakeVisible(*menuButton);

    for (size_t i = 0; i < buttons.size(); ++i)
    {
        const auto& place = buttonPlaces[i];
        buttons[i] = std::make_unique<StsBut>(AppBarLayout::buttonCaptions[i], place.code, 130);
        buttons[i]->configure(place.x, 2, 50, 18, true);
        TipText::set(*buttons[i], place.tip);
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
    TipText::set(*channelLabel, "MIDI channel: click to choose the channel the editor and the Mopho x4 talk on.");
    addAndMakeVisible(*channelLabel);

    statusLabel = std::make_unique<StsLabel>();
    statusLabel->configure({}, "Arial", 13.0f, juce::Justification::left);
    statusLabel->setBackgroundMode(StsLabel::filled);
    statusLabel->setFillColour(juce::Colour(barColour));
    statusLabel->setOpaque(true);
    statusLabel->setBounds(582, 2, 300, 15);
    TipText::set(*statusLabel, "Link status: whether the Mopho x4 answers on the MIDI ports chosen in MIDI setup.");
    addAndMakeVisible(*statusLabel);

    setSize(1024, barHeight);
}

AppBar::~AppBar() = default;

void AppBar::resized()
{
    const auto places = AppBarLayout::forWidth(getWidth());
    for (size_t i = 0; i < buttons.size(); ++i)
    {
        const auto& r = places.buttons[i];
        buttons[i]->configure(r.getX(), r.getY(), r.getWidth(), r.getHeight(), true);
        buttons[i]->setFontHeight(places.buttonFont);
    }
    channelLabel->setBounds(places.channel);
    channelLabel->setFontHeight(places.channelFont);
    statusLabel->setBounds(places.status);
    statusLabel->setFontHeight(places.statusFont);
}

void AppBar::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(barColour));
}

} // namespace zarnel
