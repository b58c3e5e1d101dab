#include "BankDataFile.h"

#include "../platform/FolderLock.h"
#include "../platform/SafeFileWriter.h"

#include <algorithm>
#include <cstring>

namespace zarnel
{

namespace
{
constexpr char header[] = "*Mopho  Data >";
constexpr char trailer[] = "< Mopho  Data";
constexpr size_t slotSize = Bank_Program::slotSize;

size_t slotOffset(int slot) noexcept
{
    return BankDataFile::banksOffset + slotSize * (size_t)slot;
}
} // namespace

BankDataFile::BankDataFile(juce::File f) : file(std::move(f))
{
}

BankDataFile::Condition BankDataFile::classify(const std::uint8_t* bytes, size_t size)
{
    if (bytes == nullptr || size == 0)
        return Condition::missing;
    if (size < ProgramBankSet::headerSize || std::memcmp(bytes, header, ProgramBankSet::headerSize) != 0
        || size > maxReadSize)
        return Condition::foreign;
    if (size < banksEnd)
        return Condition::partial;
    if (size > ProgramBankSet::dataFileSize)
        return Condition::longer;
    return Condition::whole;
}

BankDataFile::Content BankDataFile::read(const juce::File& f)
{
    Content content;
    if (!f.existsAsFile())
        return content;

    juce::FileInputStream in(f);
    if (!in.openedOk())
    {
        content.condition = Condition::unreadable;
        return content;
    }
    // One byte more than we take, so an oversized file is recognised without reading all of it.
    juce::MemoryBlock block;
    in.readIntoMemoryBlock(block, (juce::int64)maxReadSize + 1);
    if (in.getStatus().failed())
    {
        content.condition = Condition::unreadable;
        return content;
    }
    const auto* data = static_cast<const std::uint8_t*>(block.getData());
    content.bytes.assign(data, data + block.getSize());
    content.condition = classify(content.bytes.data(), content.bytes.size());
    return content;
}

int BankDataFile::fillUserBanks(ProgramBankSet& banks, const Content& content)
{
    const bool ours = content.condition == Condition::whole || content.condition == Condition::partial
                      || content.condition == Condition::longer;
    int taken = 0;
    for (int n = 0; n < ProgramBankSet::numUserBanks; ++n)
    {
        auto& bank = banks.bank(n);
        bank.loadFactoryBank(ProgramBankSet::factorySourceOf(n));
        if (!ours)
            continue;
        for (int s = 0; s < Bank_Program::numSlots; ++s)
        {
            const auto offset = slotOffset(n * Bank_Program::numSlots + s);
            if (offset + slotSize > content.bytes.size())
                continue;
            bank.setProgram(s, content.bytes.data() + offset, slotSize);
            ++taken;
        }
    }
    return taken;
}

Bytes BankDataFile::merge(const Content& onDisk, const Bytes& userBanks, const ChangedSlots& changed)
{
    jassert(userBanks.size() == banksEnd - banksOffset);
    const auto ours = [&](int slot) { return userBanks.data() + slotSize * (size_t)slot; };

    const bool keepDisk = onDisk.condition == Condition::whole || onDisk.condition == Condition::partial
                          || onDisk.condition == Condition::longer;
    Bytes out;
    if (!keepDisk)
    {
        out.reserve(ProgramBankSet::dataFileSize);
        out.insert(out.end(), header, header + ProgramBankSet::headerSize);
        out.insert(out.end(), userBanks.begin(), userBanks.end());
        out.insert(out.end(), trailer, trailer + ProgramBankSet::trailerSize);
        return out;
    }

    out = onDisk.bytes;
    if (out.size() < ProgramBankSet::dataFileSize)
    {
        // Slots the file lacks take what we hold; a cut trailer is written whole.
        const auto wholeSlots = (int)((std::max(out.size(), banksOffset) - banksOffset) / slotSize);
        out.resize(slotOffset(wholeSlots));
        for (int s = wholeSlots; s < numSlots; ++s)
            out.insert(out.end(), ours(s), ours(s) + slotSize);
        out.insert(out.end(), trailer, trailer + ProgramBankSet::trailerSize);
    }
    for (int s = 0; s < numSlots; ++s)
        if (changed[(size_t)s])
            std::memcpy(out.data() + slotOffset(s), ours(s), slotSize);
    return out;
}

bool BankDataFile::needsBackup(Condition onDisk) noexcept
{
    return onDisk == Condition::partial || onDisk == Condition::longer || onDisk == Condition::foreign
           || onDisk == Condition::unreadable;
}

BankDataFile::ChangedSlots BankDataFile::slotsOfBank(int bank)
{
    ChangedSlots slots;
    if (bank >= 0 && bank < ProgramBankSet::numUserBanks)
        for (int s = 0; s < Bank_Program::numSlots; ++s)
            slots.set((size_t)(bank * Bank_Program::numSlots + s));
    return slots;
}

BankDataFile::Condition BankDataFile::load(ProgramBankSet& banks)
{
    const auto content = read(file);
    loaded = content.condition;
    fillUserBanks(banks, content);
    return loaded;
}

bool BankDataFile::write(const Bytes& userBanks, const ChangedSlots& changed)
{
    if (userBanks.size() != banksEnd - banksOffset)
        return false;
    const FolderLock lock(file.getParentDirectory());
    if (!lock.isLocked())
        return false;

    const auto onDisk = read(file);
    // A file we cannot read now is never written over: what it holds is unknown.
    if (onDisk.condition == Condition::unreadable)
        return false;
    // A longer file keeps what it holds beyond our banks, so one backup of it is enough.
    const bool backedUpBefore = backupKept
                                || (onDisk.condition == Condition::longer
                                    && SafeFileWriter::findBackup(file, (juce::int64)onDisk.bytes.size()) != juce::File());
    if (needsBackup(onDisk.condition) && !backedUpBefore)
    {
        // What we would write over is not a whole file of ours: keep it first, or write nothing.
        if (SafeFileWriter::keepBackup(file) == juce::File())
            return false;
        backupKept = true;
    }
    const auto bytes = merge(onDisk, userBanks, changed);
    return SafeFileWriter::write(file, bytes.data(), bytes.size());
}

} // namespace zarnel
