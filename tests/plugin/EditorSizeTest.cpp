#include "plugin/EditorSize.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace zarnel;

namespace
{

struct EditorSizeTest : ::testing::Test
{
    juce::ScopedJuceInitialiser_GUI gui;
    test::SynthRig rig;
};

juce::Point<int> firstOpening(ZarnelAudioProcessor& processor)
{
    ZarnelAudioProcessorEditor editor(processor);
    return {editor.getWidth(), editor.getHeight()};
}

} // namespace

TEST_F(EditorSizeTest, FirstOpeningTakesTheRememberedSizeWithinTheLimits)
{
    struct Case
    {
        const char* width;
        const char* height;
        std::optional<juce::Point<int>> expected; // none: the instance's default size
    };
    const Case cases[] = {
        {"991", "600", juce::Point<int>(991, 600)},
        {"1429", "1046", juce::Point<int>(1429, 1046)},
        {"5000", "20", juce::Point<int>(1429, 150)},
        {"100", "2000", juce::Point<int>(452, 1046)},
        {"", "", std::nullopt},
        {"991", "", std::nullopt},
        {"abc", "600", std::nullopt},
        {"-991", "600", std::nullopt},
        {"0", "0", std::nullopt},
    };
    for (const auto& c : cases)
    {
        ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
        const juce::Point<int> instanceDefault(processor.editorWidth, processor.editorHeight);
        auto& settings = processor.getState().getSettings();
        settings.setEntry(SettingsList::editorWidthEntry, c.width);
        settings.setEntry(SettingsList::editorHeightEntry, c.height);
        settings.forgetChanges();
        EXPECT_EQ(firstOpening(processor), c.expected.value_or(instanceDefault)) << c.width << " x " << c.height;
    }
}

TEST_F(EditorSizeTest, LaterOpeningsKeepTheInstancesOwnSize)
{
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    {
        ZarnelAudioProcessorEditor editor(processor);
        editor.setSize(800, 500);
    }
    // Another instance's editor was resized meanwhile.
    processor.getState().getSettings().setEntry(SettingsList::editorWidthEntry, "1000");
    processor.getState().getSettings().setEntry(SettingsList::editorHeightEntry, "700");
    EXPECT_EQ(firstOpening(processor), juce::Point<int>(800, 500));
}

TEST_F(EditorSizeTest, TheSizeSurvivesARestart)
{
    {
        ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
        ZarnelAudioProcessorEditor editor(processor);
        editor.setSize(991, 600);
    }
    ZarnelAudioProcessor restarted{rig.folder.get(), rig.backend};
    EXPECT_EQ(firstOpening(restarted), juce::Point<int>(991, 600));
}
