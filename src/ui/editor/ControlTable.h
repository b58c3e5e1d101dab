#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <optional>

namespace zarnel
{

// The front panel as data: every value control (parameter index, caption, section, control type,
// range, display kind, layout), the sections and the envelope bindings. The editor panel and the
// section zoom are both built from it; positions are unscaled units of the 1191 x 700 panel.
class ControlTable
{
public:
    static constexpr int numSlots = 115; // one control slot per parameter index 0..114
    static constexpr int numSections = 11;
    static constexpr int displaySection = 10; // the program display's area: never zoomed
    static constexpr int noSection = -1;
    static constexpr int sectionRequestBase = 100; // a section request carries 100 + section
    static constexpr int numEnvelopes = 3;
    static constexpr int numStages = 4; // attack, decay, sustain, release
    static constexpr int panelWidth = 1191, panelHeight = 700;

    // Control types, as StsCont numbers them.
    enum Type
    {
        menu = 0,
        switchRight = 1,
        knob = 3,
        switchBelow = 101
    };

    struct Row
    {
        int index;
        const char* caption;
        int section; // noSection for the hidden sequencer destinations
        int type;
        int minimum, maximum;
        int displayKind;
        int x, y, width, height; // as configure takes them: the top edge lies 16 above y
    };

    struct Section
    {
        const char* name;
        juce::Rectangle<int> area;
    };

    struct StageBinding
    {
        int envelope; // 0 filter, 1 amplifier, 2 third envelope
        int stage;    // 0 attack, 1 decay, 2 sustain, 3 release
    };

    static const std::array<Row, 109>& rows() noexcept;
    // The row of a parameter index, or none for the slots without a control (99, 100, 111..114).
    static const Row* find(int parameterIndex) noexcept;
    // The section a parameter's control belongs to, or noSection.
    static int sectionOf(int parameterIndex) noexcept;

    static const std::array<Section, numSections>& sections() noexcept;
    // The first section whose open rectangle, scaled, contains the point; noSection when none does.
    static int sectionAt(juce::Point<int> point, float scale) noexcept;
    // Sections that open in the zoom: all but the display area.
    static bool isZoomable(int section) noexcept { return section >= 0 && section < numSections && section != displaySection; }

    // The parameters an envelope display mirrors, in stage order.
    static const std::array<int, numStages>& envelopeParameters(int envelope) noexcept;
    static std::optional<StageBinding> stageOf(int parameterIndex) noexcept;
    // Where each envelope display sits on the panel (unscaled), and the section that holds it.
    static juce::Rectangle<int> envelopeArea(int envelope) noexcept;
    static int envelopeSection(int envelope) noexcept { return envelope; }

    ControlTable() = delete;
};

} // namespace zarnel
