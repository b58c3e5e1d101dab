#pragma once

#include "LibBut.h"

#include "../widgets/SimpleLabel.h"

#include <functional>
#include <memory>
#include <vector>

namespace zarnel
{

// What the library window's two pages share: the page colour with its top line, a column of
// command buttons made from a table (their help shown in the status line while hovered), and
// the status line itself.
class CommandPage : public juce::Component, public LibButListener
{
public:
    struct ButtonRow
    {
        const char* text;
        int id;
        const char* help; // shown in the status line while hovered
        const char* tip;  // the tooltip: the command's name and what it does
    };

    static constexpr juce::uint32 pageColour = 0xFF373535;

    ~CommandPage() override;

    LibBut& getButton(int id);
    const juce::String& getStatus() const noexcept { return status.getText(); }

    void libButEntered(LibBut* button, int id) override;
    void libButExited(LibBut* button, int id) override;
    void paint(juce::Graphics& g) override;

protected:
    explicit CommandPage(std::initializer_list<ButtonRow> rows);

    // The buttons in table order at x = width - 120 and these y; `hiddenId` off to the left.
    void placeButtons(const std::vector<int>& ys, int hiddenId);
    // Shows each button for which `shown` says so; one whose visibility stays is not touched.
    void showButtons(const std::function<bool(int id)>& shown);

    SimpleLabel status{15.0f, juce::Colour(pageColour), juce::Font::plain, juce::Justification::centredLeft};

private:
    std::vector<std::unique_ptr<LibBut>> buttons;
};

} // namespace zarnel
