#include "files/FileMan.h"
#include "model/DSI_Program.h"
#include "plugin/PresetFile.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

using namespace zarnel;
using Record = ProgramSysex::Record;

namespace
{

class PresetFileTest : public ::testing::Test
{
protected:
    PresetFileTest()
    {
        for (int slot = 0; slot < 128; ++slot)
        {
            Record r{};
            for (size_t i = 0; i < r.size(); ++i)
                r[i] = (std::uint8_t)(i + (size_t)slot * 3);
            DSI_Program::encodeName("Preset " + juce::String(slot), r.data() + DSI_Program::nameOffset);
            state().setHostBankProgram(slot, r);
        }
        state().hostProgramIndex = 7;
        edited = state().getHostBankProgram(3);
        state().setCurrentProgram(edited);
    }

    MidiCntrState& state() { return processor.getState(); }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    Record edited{};
};

} // namespace

TEST_F(PresetFileTest, PresetFilesArePlainBlocksThatReadBackByteForByte)
{
    test::TempFolder folder;
    const auto fxp = folder.file("one.fxp");
    const auto fxb = folder.file("all.fxb");
    ASSERT_TRUE(FileMan::writeFileBytes(fxp, PresetFile::presetOf(processor)));
    ASSERT_TRUE(FileMan::writeFileBytes(fxb, PresetFile::presetBankOf(processor)));
    EXPECT_EQ(fxp.getSize(), 285);
    EXPECT_EQ(fxb.getSize(), 32793) << "no session trailer in a preset bank file";

    const auto program = FileMan::readFileBytes(fxp, FileMan::maxPresetFileSize).bytes;
    const auto bank = FileMan::readFileBytes(fxb, FileMan::maxPresetBankFileSize).bytes;
    ASSERT_TRUE(PresetFile::readPreset(program).has_value());
    EXPECT_EQ(*PresetFile::readPreset(program), edited);
    EXPECT_EQ(PresetFile::makePreset(*PresetFile::readPreset(program)), program);
    ASSERT_TRUE(PresetFile::readPresetBank(bank).has_value());
    EXPECT_EQ(PresetFile::makePresetBank(*PresetFile::readPresetBank(bank)), bank);
}

TEST_F(PresetFileTest, LoadingAPresetBankNeverReplacesTheEditedProgram)
{
    // Even a file that carries the host state's trailer, with another edited program in it.
    juce::MemoryBlock hostState;
    processor.getStateInformation(hostState);
    Bytes file(static_cast<const std::uint8_t*>(hostState.getData()),
               static_cast<const std::uint8_t*>(hostState.getData()) + hostState.getSize());
    ASSERT_GT(file.size(), 32793u);
    file[32793 + 17 + 20] ^= 0x55; // the trailer's copy of the edited program
    file[25 + 256 * 9 + 20] ^= 0x33; // preset 9

    EXPECT_TRUE(PresetFile::loadPresetBank(processor, file));
    EXPECT_EQ(state().getCurrentProgram(), edited);
    EXPECT_EQ(state().hostProgramIndex.load(), 7);
    EXPECT_EQ(state().getHostBankProgram(9)[20], file[25 + 256 * 9 + 20]);
}

TEST_F(PresetFileTest, FilesThatAreNotPresetsChangeNothing)
{
    const auto bankBefore = state().getHostBankData();
    const auto preset = PresetFile::makePreset(edited);
    const auto presetBank = PresetFile::makePresetBank(bankBefore);
    const std::pair<const char*, Bytes> programFiles[] = {
        {"a preset bank", presetBank},
        {"cut by one byte", Bytes(preset.begin(), preset.end() - 1)},
        {"another tag", [&] { auto b = preset; b[0] = 'X'; return b; }()},
        {"empty", {}}};
    for (const auto& [what, file] : programFiles)
    {
        EXPECT_FALSE(PresetFile::loadPreset(processor, file)) << what;
        EXPECT_EQ(state().getCurrentProgram(), edited) << what;
    }
    const std::pair<const char*, Bytes> bankFiles[] = {
        {"a preset", preset},
        {"cut by one byte", Bytes(presetBank.begin(), presetBank.end() - 1)},
        {"another tag", [&] { auto b = presetBank; b[3] = 'X'; return b; }()},
        {"empty", {}}};
    for (const auto& [what, file] : bankFiles)
    {
        EXPECT_FALSE(PresetFile::loadPresetBank(processor, file)) << what;
        EXPECT_EQ(state().getHostBankData(), bankBefore) << what;
    }

    // A preset file with the right tag loads into the current preset and the edited program.
    auto other = edited;
    other[30] ^= 0x7F;
    EXPECT_TRUE(PresetFile::loadPreset(processor, PresetFile::makePreset(other)));
    EXPECT_EQ(state().getCurrentProgram(), other);
    EXPECT_EQ(state().getHostBankProgram(7), other);
}
