// Arbitrary bytes as a user file: a program file, a bank file, a preset and a preset bank (the
// preset files are the processor's state blocks, read by StateBlocks). What a reader takes must
// write back to a file that reads the same again, and a bank never holds more than 128 programs.
#include "files/FileMan.h"
#include "plugin/StateBlocks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    using namespace zarnel;

    if (const auto record = FileMan::readProgramFile(data, size))
        if (FileMan::readProgramFile(FileMan::makeProgramFile(*record)) != record)
            __builtin_trap();

    const auto records = FileMan::readBankFile(data, size);
    if (records.size() > (size_t)ProgramSysex::numPrograms)
        __builtin_trap();
    const auto written = FileMan::makeBankFile(0, FileMan::bankDataOf(records));
    if (written.size() != FileMan::bankFileSize)
        __builtin_trap();
    const auto back = FileMan::readBankFile(written);
    if (back.size() != (size_t)ProgramSysex::numPrograms || !std::equal(records.begin(), records.end(), back.begin()))
        __builtin_trap();

    if (const auto preset = StateBlocks::readProgramBlock(data, size))
    {
        const auto block = StateBlocks::makeProgramBlock(*preset);
        if (StateBlocks::readProgramBlock(block.data(), block.size()) != preset)
            __builtin_trap();
    }
    if (const auto bank = StateBlocks::readBankBlock(data, size))
    {
        const auto block = StateBlocks::makeBankBlock(*bank);
        if (StateBlocks::readBankBlock(block.data(), block.size()) != bank)
            __builtin_trap();
    }
    return 0;
}
