#pragma once

#include "DSI_Program.h"

#include <juce_core/juce_core.h>

namespace zarnel
{

// 128 program records in slot order, plus the record being edited (used by the host bank).
class Bank_Program
{
public:
    static constexpr int numSlots = 128;
    static constexpr size_t slotSize = ProgramSysex::recordSize;
    static constexpr size_t fullSize = slotSize * numSlots;

    explicit Bank_Program(const juce::String& bankName);

    const juce::String& getName() const noexcept { return name; }

    void initialise();
    void loadFactoryBank(int n);

    // Takes bank n (0..3) of the bank data file's content. Returns false, and changes nothing,
    // when the content does not hold that bank whole.
    bool loadFromDataFile(int n, const std::uint8_t* content, size_t size);

    Bytes getProgram(int slot) const;
    ProgramSysex::Record getProgramPadded(int slot) const;
    void setProgram(int slot, const std::uint8_t* record, size_t size);
    void setProgram(int slot, const Bytes& record) { setProgram(slot, record.data(), record.size()); }
    void setProgram(int slot, const ProgramSysex::Record& record) { setProgram(slot, record.data(), record.size()); }

    juce::String getProgramName(int slot) const;
    void setProgramName(int slot, const juce::String& text);
    int getProgramCategory(int slot) const;

    Bytes makeEditBufferDump(int slot) const;

    // A file of program dumps: 128 dumps rebuild the bank, fewer fill the first slots.
    void loadSyxBank(const std::uint8_t* buffer, size_t size);
    void loadSyxBank(const Bytes& buffer) { loadSyxBank(buffer.data(), buffer.size()); }

    void setCurrent(const std::uint8_t* record, size_t size);
    void setCurrent(const ProgramSysex::Record& record) { setCurrent(record.data(), record.size()); }
    ProgramSysex::Record getCurrent() const { return current; }
    juce::String getCurrentName() const;
    // Copies the current record into the slot; false when there is no such slot.
    bool storeCurrent(int slot);

    const Bytes& getBankData() const noexcept { return bankData; }
    // Exchanges the whole content without copying or allocating (for loads under a lock).
    void swapBankData(Bytes& data) noexcept;
    int getNumPrograms() const noexcept { return (int)(bankData.size() / slotSize); }

    static bool isValidSlot(int slot) noexcept { return slot >= 0 && slot < numSlots; }

private:
    juce::String name;
    Bytes bankData;
    ProgramSysex::Record current{};
};

} // namespace zarnel
