#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/MessagePump.h"
#include "support/SynthRig.h"
#include "ui/look/AsyncMenu.h"
#include "ui/main/MainComp.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zarnel;

namespace
{

using WindowRef = juce::Component::SafePointer<juce::Component>;

// Menus place themselves on a display; without an X server JUCE knows none, so one is made up
// for the test (and taken away again: other tests look for a display to decide whether to run).
juce::Array<juce::Displays::Display>& displayList()
{
    return const_cast<juce::Displays&>(juce::Desktop::getInstance().getDisplays()).displays;
}

// Two plug-in instances with their editors. The menus open inside `desk` instead of on the desktop,
// so no display is needed; how they close is the same. Without a display no window has the focus,
// and JUCE closes every menu at its first timer tick: what is open is checked before the message
// loop runs.
class MenuDismissTest : public ::testing::Test
{
protected:
    static juce::PopupMenu menu()
    {
        juce::PopupMenu m;
        m.addItem(1, "One");
        m.addItem(2, "Two");
        return m;
    }

    juce::PopupMenu::Options inDesk() const
    {
        return juce::PopupMenu::Options().withParentComponent(const_cast<juce::Component*>(&desk));
    }

    // Opens a menu for owner and returns its window.
    template <typename Owner>
    WindowRef open(juce::PopupMenu::Options options, Owner& owner, int& answer)
    {
        const int before = desk.getNumChildComponents();
        AsyncMenu::show(menu(), options, owner, [&answer](Owner&, int result) { answer = result; });
        EXPECT_EQ(desk.getNumChildComponents(), before + 1);
        return WindowRef(desk.getChildComponent(desk.getNumChildComponents() - 1));
    }

    static bool isOpen(const WindowRef& w) { return w != nullptr && w->isVisible(); }

    void pump() { test::pumpMessages(100); }

    void SetUp() override
    {
        if (displayList().isEmpty())
        {
            juce::Displays::Display d;
            d.isMain = true;
            d.totalArea = d.userArea = {0, 0, 1400, 1100};
            d.scale = 1.0;
            d.dpi = 96.0;
            displayList().add(d);
            madeUpDisplay = true;
        }
        desk.setBounds(0, 0, 1400, 1100);
    }

    void TearDown() override
    {
        if (madeUpDisplay)
            displayList().clear();
    }

    bool madeUpDisplay = false;
    juce::ScopedJuceInitialiser_GUI gui;
    juce::Component desk;
    test::SynthRig rigA, rigB;
    ZarnelAudioProcessor processorA{rigA.folder.get(), rigA.backend};
    ZarnelAudioProcessor processorB{rigB.folder.get(), rigB.backend};
};

constexpr int unanswered = -1;

} // namespace

TEST_F(MenuDismissTest, ClosingAnEditorClosesItsMenusAndNoOtherEditors)
{
    auto editorA = std::make_unique<ZarnelAudioProcessorEditor>(processorA);
    ZarnelAudioProcessorEditor editorB(processorB);
    auto& mainA = editorA->getMainComp();

    int fileAnswer = unanswered, barAnswer = unanswered, otherAnswer = unanswered;
    // A bar menu under its button, a menu at a place with no target, and one of the other editor.
    const auto fileMenu = open(inDesk().withTargetComponent(&mainA.getAppBar()), mainA, fileAnswer);
    const auto placeMenu = open(inDesk().withTargetScreenArea({40, 40, 1, 1}), mainA.getAppBar(), barAnswer);
    const auto otherMenu = open(inDesk().withTargetComponent(&editorB.getMainComp()), editorB.getMainComp(), otherAnswer);
    ASSERT_TRUE(isOpen(fileMenu) && isOpen(placeMenu) && isOpen(otherMenu));
    EXPECT_EQ(AsyncMenu::countMenusOf(*editorA), 2);
    EXPECT_EQ(AsyncMenu::countMenusOf(editorB), 1);

    editorA.reset();
    EXPECT_FALSE(isOpen(fileMenu));
    EXPECT_FALSE(isOpen(placeMenu));
    ASSERT_TRUE(isOpen(otherMenu)) << "the other editor's menu stays";
    EXPECT_TRUE(otherMenu->isCurrentlyModal(false));
    EXPECT_EQ(AsyncMenu::countMenusOf(editorB), 1);

    pump();
    EXPECT_EQ(fileMenu, nullptr) << "closed menus are deleted";
    EXPECT_EQ(placeMenu, nullptr);
    EXPECT_EQ(fileAnswer, unanswered) << "an answer for a closed editor is never delivered";
    EXPECT_EQ(barAnswer, unanswered);
}

TEST_F(MenuDismissTest, AMenuClosesWhenTheComponentThatOpenedItGoes)
{
    // Windows of their own, such as the library window, are not inside the editor.
    auto window = std::make_unique<juce::Component>();
    juce::Component stays;
    int goneAnswer = unanswered, staysAnswer = unanswered;
    const auto goneMenu = open(inDesk().withTargetScreenArea({10, 10, 1, 1}), *window, goneAnswer);
    const auto staysMenu = open(inDesk().withTargetScreenArea({20, 20, 1, 1}), stays, staysAnswer);

    window.reset();
    EXPECT_FALSE(isOpen(goneMenu));
    EXPECT_TRUE(isOpen(staysMenu));

    AsyncMenu::dismissMenusOf(stays);
    EXPECT_FALSE(isOpen(staysMenu));
    pump();
    EXPECT_EQ(goneAnswer, unanswered);
    EXPECT_EQ(staysAnswer, 0) << "a dismissed menu answers 0 to an owner that still exists";
}
