#include "Bank_Program.h"

#include "DefaultProgram.h"
#include "FactoryData.h"

#include <algorithm>

namespace zarnel
{

Bank_Program::Bank_Program(const juce::String& bankName) : name(bankName)
{
}

void Bank_Program::initialise()
{
    DSI_Program untitled;
    const auto rec = untitled.getData();
    bankData.clear();
    bankData.reserve(fullSize);
    for (int s = 0; s < numSlots; ++s)
        bankData.insert(bankData.end(), rec.begin(), rec.end());
    current = rec;
}

void Bank_Program::loadFactoryBank(int n)
{
    const auto* src = FactoryData::bank(n);
    bankData.assign(src, src + FactoryData::bankSize);
}

bool Bank_Program::loadFromDataFile(int n, const std::uint8_t* content, size_t size)
{
    if (n < 0 || n > 3 || content == nullptr)
        return false;
    const size_t start = 14 + fullSize * (size_t)n;
    if (size < start + fullSize)
        return false;
    bankData.assign(content + start, content + start + fullSize);
    return true;
}

Bytes Bank_Program::getProgram(int slot) const
{
    slot = std::max(slot, 0);
    const size_t start = slotSize * (size_t)slot;
    if (start >= bankData.size())
        return {};
    const size_t end = std::min(start + slotSize, bankData.size());
    return Bytes(bankData.begin() + (std::ptrdiff_t)start, bankData.begin() + (std::ptrdiff_t)end);
}

ProgramSysex::Record Bank_Program::getProgramPadded(int slot) const
{
    // Straight from the bank, without a heap copy: callers hold the model lock.
    ProgramSysex::Record rec{};
    const size_t start = slotSize * (size_t)std::max(slot, 0);
    if (start < bankData.size())
        std::copy_n(bankData.begin() + (std::ptrdiff_t)start, std::min(slotSize, bankData.size() - start), rec.begin());
    return rec;
}

void Bank_Program::setProgram(int slot, const std::uint8_t* record, size_t size)
{
    // A bank never grows past 128 slots, and one record never spills into the next slot.
    if (!isValidSlot(slot) || record == nullptr)
        return;
    size = std::min(size, slotSize);
    const size_t start = slotSize * (size_t)slot;
    if (bankData.size() < start + size)
        bankData.resize(start + size, 0);
    std::copy_n(record, size, bankData.begin() + (std::ptrdiff_t)start);
}

juce::String Bank_Program::getProgramName(int slot) const
{
    const auto bytes = getProgram(slot);
    return DSI_Program::decodeName(bytes.data(), bytes.size());
}

void Bank_Program::setProgramName(int slot, const juce::String& text)
{
    if (!isValidSlot(slot))
        return;
    auto rec = getProgramPadded(slot);
    DSI_Program::encodeName(text, rec.data() + DSI_Program::nameOffset);
    setProgram(slot, rec);
}

int Bank_Program::getProgramCategory(int slot) const
{
    return getProgramPadded(slot)[DSI_Program::categoryOffset];
}

Bytes Bank_Program::makeEditBufferDump(int slot) const
{
    const auto rec = getProgramPadded(slot);
    return ProgramSysex::editBufferDump(rec.data(), rec.size());
}

void Bank_Program::loadSyxBank(const std::uint8_t* buffer, size_t size)
{
    if (buffer == nullptr)
        return;
    const size_t chunk = ProgramSysex::programDumpSize;
    // Dumps past the 128th have no slot to go to; a longer file rebuilds the bank from its first 128.
    const size_t n = std::min(size / chunk, (size_t)numSlots);
    if (n == 0)
        return;

    DSI_Program scratch;
    if (n == (size_t)numSlots)
    {
        Bytes rebuilt;
        rebuilt.reserve(fullSize);
        for (size_t i = 0; i < n; ++i)
        {
            scratch.setFromBuffer(buffer + chunk * i, chunk);
            const auto rec = scratch.getData();
            rebuilt.insert(rebuilt.end(), rec.begin(), rec.end());
        }
        bankData = std::move(rebuilt);
        return;
    }

    for (size_t i = 0; i < n; ++i)
    {
        scratch.setFromBuffer(buffer + chunk * i, chunk);
        setProgram((int)i, scratch.getData());
    }
}

void Bank_Program::setCurrent(const std::uint8_t* record, size_t size)
{
    ProgramSysex::Record rec{};
    if (record != nullptr)
        std::copy_n(record, std::min(size, rec.size()), rec.begin());
    current = rec;
}

juce::String Bank_Program::getCurrentName() const
{
    return DSI_Program::decodeName(current.data(), current.size());
}

bool Bank_Program::storeCurrent(int slot)
{
    if (!isValidSlot(slot))
        return false;
    setProgram(slot, current);
    return true;
}

void Bank_Program::swapBankData(Bytes& data) noexcept
{
    bankData.swap(data);
}

} // namespace zarnel
