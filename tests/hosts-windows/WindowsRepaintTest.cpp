// Repaints on a real window under wine, where DXGI never reports a vertical blank: JUCE 7 holds
// repaints for one, so without the plug-in's fallback a window keeps its first picture.

#include "plugin/RepaintFallback.h"
#include "support/MessagePump.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

namespace
{

class PaintCounter : public juce::Component
{
public:
    // Opaque: JUCE makes other windows layered, which cannot have a title bar.
    PaintCounter() { setOpaque(true); }

    void paint(juce::Graphics& g) override
    {
        ++paints;
        g.fillAll(juce::Colours::darkgrey);
    }

    int paints = 0;
};

TEST(WindowsRepaint, EveryRepaintRequestIsPainted)
{
    ASSERT_TRUE(juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isNotEmpty())
        << "no DISPLAY: run this through its ctest entry (xvfb-run)";
    PaintCounter window;
    zarnel::RepaintFallback fallback(window);
    window.setBounds(100, 100, 300, 200);
    window.addToDesktop(juce::ComponentPeer::windowHasTitleBar);
    window.setVisible(true);
    zarnel::test::pumpMessages(500);

    // Whole and partial repaints, as widgets ask for them.
    for (const auto area : {juce::Rectangle<int>(0, 0, 300, 200), juce::Rectangle<int>(10, 10, 20, 20)})
    {
        const int before = window.paints;
        window.repaint(area);
        zarnel::test::pumpMessages(400);
        EXPECT_GT(window.paints, before) << "repaint of " << area.toString() << " never painted";
    }
    window.removeFromDesktop();
}

} // namespace
