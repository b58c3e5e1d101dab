#include "PanelTestSupport.h"

#include "ui/library/LibraryMessages.h"
#include "ui/main/MsgCont.h"
#include "ui/widgets/StsCont.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::mouseAt;

namespace
{

struct EditorEdgeCasesTest : ::testing::Test, test::PanelRig
{
};

} // namespace

// A switch clicked during compare keeps waiting for an echo that never comes: the next click after compare does nothing.
TEST_F(EditorEdgeCasesTest, ASwitchClickedWhileComparingStillTogglesAfterCompare)
{
    constexpr int keyboardIndex = 4; // 0..1
    StsCont sw{processor};
    sw.configure(keyboardIndex, "Keyboard", 0, 16, 105, 32, 0, 1, StsCont::switchRight, 333);
    const int before = processor.getState().getCurrentByte(keyboardIndex);
    sw.showValue(before);

    processor.setComparing(true);
    sw.mouseDown(mouseAt(sw, 10, 5));
    sw.mouseUp(mouseAt(sw, 10, 5));
    processor.setComparing(false);
    sw.showValue(processor.getState().getCurrentByte(keyboardIndex));

    sw.mouseDown(mouseAt(sw, 10, 5));
    sw.mouseUp(mouseAt(sw, 10, 5));
    EXPECT_EQ(processor.getState().getCurrentByte(keyboardIndex), 1 - before) << "the click after compare toggles";
}

// The cut/copy/paste menu JUCE opens on a text box bypasses AsyncMenu: it stays open after the editor closes (run under Xvfb with a window manager).
TEST_F(EditorEdgeCasesTest, ATextBoxMenuClosesWithTheEditor)
{
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        GTEST_SKIP() << "needs a display (xvfb-run)";
    auto editor = std::make_unique<ZarnelAudioProcessorEditor>(processor);
    auto& main = editor->getMainComp();
    main.toggleAbout(false, 0);
    main.stsbutPressed(AppBar::writeCode);
    ASSERT_NE(main.getWriteDialog(), nullptr);
    main.getWriteDialog()->openRenameBox();
    auto* text = main.getWriteDialog()->getRenameBox()->getEditor();
    auto& modal = *juce::ModalComponentManager::getInstance();
    const int before = modal.getNumModalComponents();
    text->mouseDown(mouseAt(*text, 5, 5, test::rightButton()));
    ASSERT_EQ(modal.getNumModalComponents(), before + 1) << "the text box's menu opened";
    const juce::Component::SafePointer<juce::Component> menu(modal.getModalComponent(0));

    editor.reset();
    const bool stillOpen = menu != nullptr && menu->isVisible();
    if (stillOpen)
        menu->keyPressed(juce::KeyPress(juce::KeyPress::escapeKey));
    test::pumpMessages(20);
    EXPECT_FALSE(stillOpen) << "the menu of a closed editor's text box is still on the screen";
}

// A long file name is one word to the wrap: its line runs past the message box's text area and is cut.
TEST_F(EditorEdgeCasesTest, ALongFileNameInAMessageStaysInsideTheBox)
{
    const juce::String name = "Could not save Mopho_x4_factory_and_user_programs_backup_2026.mophlib. Nothing was written.";
    // Too long for any font size: broken between characters.
    const juce::String path = "Could not save /home/someone/Music/Mopho/" + juce::String::repeatedString("very_long_folder_name_", 8)
                              + "bank.m_b. Nothing was written.";
    for (const auto& [text, w, h] : {std::tuple<juce::String, int, int>{name, 452, 150}, {name, 1191, 700},
                                     {path, 452, 150}, {path, 1191, 700}})
    {
        MsgCont box(text, w, h);
        EXPECT_TRUE(box.getLocalBounds().contains(box.getTextArea()));
        const auto area = box.getTextArea();
        juce::AttributedString s;
        s.setJustification(juce::Justification::centred);
        s.setWordWrap(juce::AttributedString::byWord);
        s.append(box.getShownText(), box.getTextFont(), juce::Colours::white);
        juce::TextLayout layout;
        layout.createLayout(s, (float)area.getWidth());
        float widest = 0.0f;
        for (int i = 0; i < layout.getNumLines(); ++i)
            widest = juce::jmax(widest, layout.getLine(i).getLineBoundsX().getLength());
        EXPECT_LE(widest, (float)area.getWidth()) << w << "x" << h << " at font " << box.getTextFont().getHeight();
        EXPECT_LE(layout.getHeight(), (float)area.getHeight() + 1.0f) << w << "x" << h;
        EXPECT_EQ(box.getShownText().removeCharacters("\n"), text.removeCharacters("\n")) << "nothing lost";
    }
}

// Space on the library window's message box buttons does nothing (the editor's message box presses the focused button).
TEST_F(EditorEdgeCasesTest, SpacePressesTheFocusedButtonOfTheLibrarysMessageBox)
{
    juce::Component window;
    LibraryMessages messages;
    window.setSize(500, 620);
    window.addChildComponent(messages);
    bool yes = false;
    messages.askQuestion("Replace the existing file x4Lib.m_l?", [&yes] { yes = true; });
    ASSERT_TRUE(messages.isShowingBox());
    auto* cancel = messages.getBox()->getCancelButton().getInnerButton();
    ASSERT_NE(cancel, nullptr);
    bool taken = false;
    for (juce::Component* c = cancel; c != nullptr && !taken; c = c->getParentComponent())
        taken = c->keyPressed(juce::KeyPress(juce::KeyPress::spaceKey));
    test::pumpMessages(20);
    EXPECT_FALSE(messages.isShowingBox()) << "Space on the focused CANCEL answers the question";
    EXPECT_FALSE(yes);
}

// An overlay closing in a focused window with nothing focused before leaves the keys on the first button (the library menu): Space and Return then open the library instead of reaching the host (run under Xvfb with a window manager).
TEST_F(EditorEdgeCasesTest, TheAboutBoxClosingLeavesNoButtonHoldingTheKeys)
{
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        GTEST_SKIP() << "needs a display (xvfb-run)";
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    editor.addToDesktop(juce::ComponentPeer::windowIsTemporary);
    editor.setVisible(true);
    editor.toFront(true);
    test::pumpMessages(50);
    auto* peer = editor.getPeer();
    ASSERT_NE(peer, nullptr);
    if (!peer->isFocused())
        peer->grabFocus();
    test::pumpMessages(50);
    if (!peer->isFocused())
        GTEST_SKIP() << "the window did not get the focus";
    ASSERT_NE(main.getAboutPanel(), nullptr) << "the first opening shows the about box";
    const auto* before = juce::Component::getCurrentlyFocusedComponent();
    main.toggleAbout(false, 0); // as its timer does
    test::pumpMessages(50);
    const auto* focused = juce::Component::getCurrentlyFocusedComponent();
    EXPECT_TRUE(focused == nullptr || focused == before)
        << "the keys went to " << (focused != nullptr ? focused->getTitle() + " / " + typeid(*focused).name() : juce::String());
    if (focused != nullptr && focused != before)
        EXPECT_FALSE(const_cast<juce::Component*>(focused)->keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)))
            << "Space was taken by it";
    editor.removeFromDesktop();
}

// A knob that missed its mouse up (hidden under the drag) still thinks it holds after the timer let its gesture go: its next drag is split by pauses again.
TEST_F(EditorEdgeCasesTest, AKnobThatMissedItsMouseUpHoldsItsNextDrag)
{
    constexpr int index = 20;
    StsCont knob{processor};
    knob.configure(index, "Frequency", 42, 205, 65, 64, 0, 164, StsCont::knob, 222);
    knob.showValue(50);
    juce::ModifierKeys::currentModifiers = test::leftButton();
    knob.mouseDown(mouseAt(knob, 30, 30));
    knob.mouseDrag(mouseAt(knob, 40, 30));
    juce::ModifierKeys::currentModifiers = {}; // the button went up where the knob never heard it
    processor.timerCallback();
    ASSERT_FALSE(processor.isGestureOpen(index));

    juce::ModifierKeys::currentModifiers = test::leftButton();
    knob.mouseDown(mouseAt(knob, 30, 30));
    knob.mouseDrag(mouseAt(knob, 30, 10));
    for (int i = 0; i < 3; ++i)
        processor.timerCallback(); // a pause
    EXPECT_TRUE(processor.isGestureHeld(index)) << "the new drag holds its gesture through the pause";
    juce::ModifierKeys::currentModifiers = {};
    knob.mouseUp(mouseAt(knob, 30, 10));
}
