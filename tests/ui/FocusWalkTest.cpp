#include "PanelTestSupport.h"

#include "ui/editor/ControlTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

using namespace zarnel;

namespace
{

// One page or overlay as the user opens it, and the overlay that then holds the keys.
struct Scene
{
    const char* name;
    std::function<void(MainComp&)> open;
    std::function<juce::Component*(MainComp&)> overlay; // nullptr: a page, no overlay
    std::function<void(MainComp&)> close;
};

const std::vector<Scene>& scenes()
{
    static const std::vector<Scene> all{
        {"editor page", [](MainComp& m) { m.showPage(MainComp::editorPage); }, nullptr, nullptr},
        {"sequencer page", [](MainComp& m) { m.showPage(MainComp::sequencerPage); }, nullptr,
         [](MainComp& m) { m.showPage(MainComp::editorPage); }},
        {"sequencer track open",
         [](MainComp& m) {
             m.showPage(MainComp::sequencerPage);
             m.getSequencerPanel().stsbutChanged(&m.getSequencerPanel().getEditButton(2));
             m.getSequencerPanel().dispatchPendingMessages();
         },
         nullptr,
         [](MainComp& m) {
             m.getSequencerPanel().showOverview();
             m.showPage(MainComp::editorPage);
         }},
        {"bank page", [](MainComp& m) { m.toggleBankPage(true); }, nullptr, [](MainComp& m) { m.toggleBankPage(false); }},
        {"message box",
         [](MainComp& m) { m.showMessage("The MIDI output stopped responding: it was closed. Choose it again in MIDI "
                                         "setup once the device is back."); },
         [](MainComp& m) -> juce::Component* { return m.getMessageBox(); },
         [](MainComp& m) { m.stsbutPressed(MsgCont::okCode); }},
        {"question", [](MainComp& m) { m.askQuestion("Replace?", [] {}); },
         [](MainComp& m) -> juce::Component* { return m.getMessageBox(); },
         [](MainComp& m) { m.stsbutPressed(MsgCont::cancelCode); }},
        {"progress bar", [](MainComp& m) { m.startBankTransfer(100, 0); },
         [](MainComp& m) -> juce::Component* { return m.getProgressBar(); }, [](MainComp& m) { m.endBankTransfer(); }},
        {"about", [](MainComp& m) { m.toggleAbout(true, 0); },
         [](MainComp& m) -> juce::Component* { return m.getAboutPanel(); }, [](MainComp& m) { m.toggleAbout(false, 0); }},
        {"write dialog", [](MainComp& m) { m.toggleWriteDialog(true); },
         [](MainComp& m) -> juce::Component* { return m.getWriteDialog(); },
         [](MainComp& m) { m.toggleWriteDialog(false); }},
        {"MIDI setup", [](MainComp& m) { m.toggleMidiSetup(true); },
         [](MainComp& m) -> juce::Component* { return m.getMidiSetup(); },
         [](MainComp& m) { m.toggleMidiSetup(false); }},
        {"port search", [](MainComp& m) { m.toggleScan(true); },
         [](MainComp& m) -> juce::Component* { return m.getScanPanel(); }, [](MainComp& m) { m.toggleScan(false); }},
        {"section zoom", [](MainComp& m) { m.openSectionZoom(ControlTable::displaySection == 0 ? 1 : 0); },
         [](MainComp& m) -> juce::Component* { return &m.getSectionZoom(); },
         [](MainComp& m) { m.closeSectionZoom(); }},
    };
    return all;
}

// What the user sees of c: its rectangle within the window, and whether a click at the middle of
// that reaches c (nothing lies over it, no parent cuts it off there).
bool seenAndOnTop(MainComp& main, juce::Component& c, juce::String& why)
{
    for (auto* part = &c; part != &main; part = part->getParentComponent())
        if (part == nullptr || !part->isVisible())
        {
            why = "hidden";
            return false;
        }
    const auto area = main.getLocalArea(&c, c.getLocalBounds()).getIntersection(main.getLocalBounds());
    if (area.isEmpty())
    {
        why = "outside the window at " + main.getLocalArea(&c, c.getLocalBounds()).toString();
        return false;
    }
    auto* hit = main.getComponentAt(area.getCentre());
    if (hit != &c && !c.isParentOf(hit))
    {
        why = "under " + (hit == nullptr ? juce::String("nothing") : hit->getName() + " " + typeid(*hit).name())
              + " at " + area.getCentre().toString();
        return false;
    }
    return true;
}

juce::String describe(juce::Component& c)
{
    juce::String path;
    for (auto* part = &c; part != nullptr; part = part->getParentComponent())
        path = juce::String(typeid(*part).name()) + (part->getTitle().isNotEmpty() ? "(" + part->getTitle() + ")" : "")
               + (path.isEmpty() ? "" : "/") + path;
    return path;
}

} // namespace

TEST(FocusWalkTest, TabReachesOnlyWhatIsOnScreenAndUncoveredOnEveryPageAndOverlay)
{
    test::EditorRig r;
    r.settle();
    auto& main = r.main;
    const std::pair<int, int> sizes[] = {{452, 150}, {1012, 595}, {1191, 700}, {1429, 1046}};
    for (const auto& [w, h] : sizes)
        for (const auto& scene : scenes())
        {
            r.editor.setSize(w, h);
            scene.open(main);
            main.resized();
            const juce::String where = juce::String(scene.name) + " at " + juce::String(w) + "x" + juce::String(h);
            juce::Component* overlay = scene.overlay ? scene.overlay(main) : nullptr;
            if (scene.overlay)
            {
                ASSERT_NE(overlay, nullptr) << where;
                EXPECT_EQ(main.getTopOverlay(), overlay) << where;
            }

            auto traverser = main.makeFocusTraverser();
            auto* first = traverser.entry();
            ASSERT_NE(first, nullptr) << where << ": nothing to reach";
            std::vector<juce::Component*> walk{first};
            for (auto* c = traverser.getNextComponent(first); c != first; c = traverser.getNextComponent(c))
            {
                ASSERT_NE(c, nullptr) << where;
                ASSERT_LT(walk.size(), 2000u) << where << ": the walk never comes back";
                walk.push_back(c);
            }
            EXPECT_EQ(std::set<juce::Component*>(walk.begin(), walk.end()).size(), walk.size())
                << where << ": a stop is met twice before the walk comes round";
            // Backwards is the same ring.
            EXPECT_EQ(traverser.getPreviousComponent(first), walk.back()) << where;

            for (auto* c : walk)
            {
                juce::String why;
                EXPECT_TRUE(seenAndOnTop(main, *c, why)) << where << ": " << describe(*c) << " is " << why;
                EXPECT_TRUE(overlay == nullptr || c == overlay || overlay->isParentOf(c)) << where << ": " << describe(*c);
            }
            // A Tab pressed on a control under the overlay, or off the page, lands on the first stop.
            if (overlay != nullptr)
            {
                EXPECT_EQ(traverser.getNextComponent(&main.getAppBar()), first) << where;
            }

            if (scene.close)
                scene.close(main);
            zarnel::test::pumpMessages(20);
        }
}
