#include "PresetFile.h"

#include "StateBlocks.h"
#include "ZarnelAudioProcessor.h"

namespace zarnel
{

Bytes PresetFile::makePreset(const Record& record)
{
    return StateBlocks::makeProgramBlock(record);
}

Bytes PresetFile::makePresetBank(const Bytes& hostBankData)
{
    return StateBlocks::makeBankBlock(hostBankData);
}

std::optional<PresetFile::Record> PresetFile::readPreset(const std::uint8_t* data, size_t size)
{
    return StateBlocks::readProgramBlock(data, size);
}

std::optional<Bytes> PresetFile::readPresetBank(const std::uint8_t* data, size_t size)
{
    return StateBlocks::readBankBlock(data, size);
}

Bytes PresetFile::presetOf(ZarnelAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getCurrentProgramStateInformation(block);
    const auto* bytes = static_cast<const std::uint8_t*>(block.getData());
    return Bytes(bytes, bytes + block.getSize());
}

Bytes PresetFile::presetBankOf(ZarnelAudioProcessor& processor)
{
    return makePresetBank(processor.getState().getHostBankData());
}

bool PresetFile::loadPreset(ZarnelAudioProcessor& processor, const Bytes& file)
{
    const auto record = readPreset(file);
    if (!record)
        return false;
    const auto block = makePreset(*record);
    processor.setCurrentProgramStateInformation(block.data(), (int)block.size());
    return true;
}

bool PresetFile::loadPresetBank(ZarnelAudioProcessor& processor, const Bytes& file)
{
    const auto bank = readPresetBank(file);
    if (!bank)
        return false;
    // Rebuilt without whatever followed the block in the file.
    const auto block = makePresetBank(*bank);
    processor.setStateInformation(block.data(), (int)block.size());
    return true;
}

} // namespace zarnel
