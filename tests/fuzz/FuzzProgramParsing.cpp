// Arbitrary bytes as a program buffer, a file of dumps and a bank file.
#include "model/Bank_Program.h"
#include "model/BankDataFile.h"
#include "model/ProgramBankSet.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    using namespace zarnel;

    DSI_Program program;
    if (program.setFromBuffer(data, size))
    {
        const auto rec = program.getData();
        const auto& dump = program.packEditBuffer(rec.data(), rec.size());
        DSI_Program back;
        if (!back.setFromBuffer(dump) || back.getData() != rec)
            __builtin_trap();
    }

    for (const auto& dump : ProgramSysex::splitProgramDumps(data, size))
        if (dump.size() != ProgramSysex::programDumpSize || dump.front() != 0xF0 || dump.back() != 0xF7)
            __builtin_trap();

    Bank_Program bank("fuzz");
    bank.loadFactoryBank(0);
    bank.loadSyxBank(data, size);
    if (bank.getBankData().size() != Bank_Program::fullSize)
        __builtin_trap();

    // The bank data file: read, then merged with changes the way a write would.
    BankDataFile::Content content;
    content.bytes.assign(data, data + size);
    content.condition = BankDataFile::classify(data, size);
    ProgramBankSet set;
    BankDataFile::fillUserBanks(set, content);
    for (int n = 0; n < ProgramBankSet::numBanks; ++n)
        if (set.bank(n).getNumPrograms() != Bank_Program::numSlots)
            __builtin_trap();
    const auto userBanks = set.dataFileContent();
    const Bytes banksOnly(userBanks.begin() + ProgramBankSet::headerSize,
                          userBanks.begin() + (std::ptrdiff_t)BankDataFile::banksEnd);
    BankDataFile::ChangedSlots changed;
    changed.set(size % BankDataFile::numSlots);
    const auto merged = BankDataFile::merge(content, banksOnly, changed);
    if (merged.size() < ProgramBankSet::dataFileSize || !std::equal(userBanks.begin(), userBanks.begin() + 14, merged.begin()))
        __builtin_trap();
    return 0;
}
