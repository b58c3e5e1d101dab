// Arbitrary bytes as a user file: a program file, a bank file, a preset and a preset bank. What a
// reader takes must write back to a file that reads the same again, and a bank never exceeds 128.
#include "files/FileMan.h"
#include "plugin/PresetFile.h"

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

    if (const auto preset = PresetFile::readPreset(data, size))
        if (PresetFile::readPreset(PresetFile::makePreset(*preset)) != preset)
            __builtin_trap();
    if (const auto bank = PresetFile::readPresetBank(data, size))
        if (PresetFile::readPresetBank(PresetFile::makePresetBank(*bank)) != bank)
            __builtin_trap();
    return 0;
}
