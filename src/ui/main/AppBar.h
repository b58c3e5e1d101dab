#pragma once

#include "AppSetBarBut.h"

#include "../widgets/StsBut.h"
#include "../widgets/StsLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace zarnel
{

class MidiCntrState;

// The strip across the top of the editor: the main commands, the MIDI channel and the link
// status. It only reports; the main component carries out the commands and writes the labels.
class AppBar : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int barHeight = 23;
    static constexpr juce::uint32 barColour = 0xff404040;

    // Button codes.
    enum Code
    {
        midiCode = 77,
        bankCode = 99,
        fileCode = 75,
        editCode = 73,
        sendCode = 701,
        recvCode = 71,
        writeCode = 969
    };

    explicit AppBar(MidiCntrState& state);
    ~AppBar() override;

    void paint(juce::Graphics& g) override;
    // Packs and shrinks the commands on narrow bars (AppBarLayout).
    void resized() override;

    AppSetBarBut& getMenuButton() noexcept { return *menuButton; }
    StsLabel& getChannelLabel() noexcept { return *channelLabel; }
    StsLabel& getStatusLabel() noexcept { return *statusLabel; }
    // The seven command buttons, in bar order: MIDI, BANK, FILE, EDIT, Send, Recv, WRITE.
    StsBut& getButton(int position) noexcept { return *buttons[(size_t)position]; }
    static constexpr int numButtons = 7;

private:
    MidiCntrState& state;
    std::unique_ptr<AppSetBarBut> menuButton;
    std::array<std::unique_ptr<StsBut>, numButtons> buttons;
    std::unique_ptr<StsLabel> channelLabel;
    std::unique_ptr<StsLabel> statusLabel;
};

} // namespace zarnel
