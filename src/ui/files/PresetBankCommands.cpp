#include "PresetBankCommands.h"

#include "../../library/LibraryStore.h"
#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"
#include "../../plugin/ZarnelAudioProcessor.h"

namespace zarnel
{

int PresetBankCommands::targetPreset(ZarnelAudioProcessor& processor)
{
    const int index = processor.getState().hostProgramIndex.load();
    return Bank_Program::isValidSlot(index) ? index : 0;
}

void PresetBankCommands::loadRecords(ZarnelAudioProcessor& processor, const std::vector<Record>& records)
{
    if (records.empty())
        return;
    const size_t n = std::min(records.size(), (size_t)Bank_Program::numSlots);
    Bytes data;
    data.reserve(n * ProgramSysex::recordSize);
    for (size_t i = 0; i < n; ++i)
        data.insert(data.end(), records[i].begin(), records[i].end());
    auto& state = processor.getState();
    state.replaceHostBankData(std::move(data));
    state.postNotification(Notification::hostProgramChanged);
}

void PresetBankCommands::loadBank(ZarnelAudioProcessor& processor, int bank)
{
    if (!ProgramBankSet::isValidBank(bank))
        return;
    auto& state = processor.getState();
    auto data = state.getBankData(bank);
    data.resize(std::min(data.size(), Bank_Program::fullSize));
    state.replaceHostBankData(std::move(data));
    state.postNotification(Notification::hostProgramChanged);
}

void PresetBankCommands::storeEdited(ZarnelAudioProcessor& processor, int preset, const juce::String& name)
{
    if (!Bank_Program::isValidSlot(preset))
        preset = 0;
    auto& state = processor.getState();
    // The edits are stored, not the program being compared with.
    processor.setComparing(false);
    auto record = state.getCurrentProgram();
    DSI_Program::encodeName(name, record.data() + DSI_Program::nameOffset);
    state.setHostBankProgram(preset, record);
    processor.setCurrentProgram(preset);
}

void PresetBankCommands::renamePreset(ZarnelAudioProcessor& processor, int preset, const juce::String& text, int category)
{
    if (!Bank_Program::isValidSlot(preset))
        return;
    auto& state = processor.getState();
    auto record = state.getHostBankProgram(preset);
    if (text.isNotEmpty())
        DSI_Program::encodeName(text, record.data() + DSI_Program::nameOffset);
    // The box shows an out-of-range byte clamped: left as shown, the byte stays as it is.
    if (category >= 0 && category < ParDes::numCategories && category != LibraryStore::categoryOf(record.data()))
        record[DSI_Program::categoryOffset] = (std::uint8_t)category;
    state.setHostBankProgram(preset, record);
    state.postNotification(Notification::hostProgramChanged);
}

juce::String PresetBankCommands::proposedName(ZarnelAudioProcessor& processor)
{
    const auto record = processor.getHistory().getEditedProgram();
    const auto name = DSI_Program::decodeName(record.data(), record.size()).trimEnd();
    return name.isEmpty() || name.startsWith("---") ? juce::String("Untitled") : name;
}

} // namespace zarnel
