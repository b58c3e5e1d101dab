#pragma once

#include "ProgramBankSet.h"

#include <bitset>

namespace zarnel
{

// The user banks' data file. Reading takes every whole program slot a file of ours holds;
// writing puts only the slots this instance changed into the file as it is on disk at that
// moment, so two instances (or a host's scanner) never erase each other's programs, and a file
// we could not read, did not recognise or did not expect is kept as a ".bak" before we first
// write over it.
class BankDataFile
{
public:
    enum class Condition
    {
        missing,    // no file, or an empty one
        whole,      // header and all four banks (the trailer may be missing)
        partial,    // header, cut inside the banks
        longer,     // header, and more than this version writes
        foreign,    // no header of ours, or far larger than any of ours
        unreadable, // exists but could not be read
    };

    static constexpr size_t banksOffset = ProgramBankSet::headerSize;
    static constexpr size_t banksEnd = banksOffset + Bank_Program::fullSize * ProgramBankSet::numUserBanks;
    static constexpr size_t maxReadSize = 1024 * 1024;
    static constexpr int numSlots = ProgramBankSet::numUserBanks * Bank_Program::numSlots;
    using ChangedSlots = std::bitset<(size_t)numSlots>;

    struct Content
    {
        Condition condition = Condition::missing;
        Bytes bytes;
    };

    static Content read(const juce::File& file);
    static Condition classify(const std::uint8_t* bytes, size_t size);

    // U1..U4 from a file's content: each whole slot from the file, factory content for the rest.
    // Returns how many slots came from the file.
    static int fillUserBanks(ProgramBankSet& banks, const Content& content);

    // The bytes to write: `onDisk` with the changed slots of `userBanks` (the four user banks,
    // 131,072 bytes) put in. Whatever else a file of ours holds stays; anything else is replaced
    // by our banks whole.
    static Bytes merge(const Content& onDisk, const Bytes& userBanks, const ChangedSlots& changed);

    static bool needsBackup(Condition onDisk) noexcept;
    static ChangedSlots slotsOfBank(int bank);

    explicit BankDataFile(juce::File file);

    Condition load(ProgramBankSet& banks);
    // False when nothing could be written; the caller keeps the slots marked and tries again.
    bool write(const Bytes& userBanks, const ChangedSlots& changed);

    Condition getLoadedCondition() const noexcept { return loaded; }
    const juce::File& getFile() const noexcept { return file; }

private:
    juce::File file;
    Condition loaded = Condition::missing;
    bool backupKept = false;
};

} // namespace zarnel
