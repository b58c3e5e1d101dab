#pragma once

#include "../model/ProgramSysex.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

namespace zarnel
{

// The user's program and bank files: the table of file types the choosers offer, bounded reading,
// safe writing, and the single-program and program-bank formats as pure functions on bytes, so
// that tests and fuzzers call them directly. The choosers themselves live with the user interface.
class FileMan
{
public:
    using Record = ProgramSysex::Record;

    enum Type
    {
        loadProgram = 1,
        loadBank = 3,
        loadLibrary = 4,
        loadPresetBank = 10,
        loadPreset = 11,
        saveProgram = 101,
        saveBank = 103,
        saveLibrary = 104,
        savePresetBank = 110,
        savePreset = 111
    };

    // Bounds that fit each format with room for a few other messages around the dumps; larger
    // files are refused before anything is read.
    static constexpr juce::int64 maxProgramFileSize = 16 * 1024;
    static constexpr juce::int64 maxBankFileSize = 4 * 1024 * 1024;
    static constexpr juce::int64 maxPresetFileSize = 16 * 1024;
    static constexpr juce::int64 maxPresetBankFileSize = 1024 * 1024;
    static constexpr juce::int64 maxLibraryFileSize = 128 * 1024 * 1024; // 500,000 programs

    // The file of one program and of one bank, as written: an edit-buffer dump (298 bytes) and
    // 128 program dumps (38,400 bytes).
    static constexpr size_t programFileSize = ProgramSysex::editBufferDumpSize;
    static constexpr size_t bankFileSize = ProgramSysex::programDumpSize * ProgramSysex::numPrograms;

    //==== The type table =============================================================================
    // Patterns in the chooser's order and the chooser's title; nothing for an unknown type.
    static juce::StringArray patternsOf(int type);
    static juce::String patternListOf(int type); // joined with ";"
    static juce::String titleOf(int type);
    static juce::int64 maxSizeOf(int type);

    // A chosen save path with the type's first extension appended when its own (with the dot) is
    // shorter than three characters: Bank becomes Bank.m_b, Bank.x Bank.x.m_b, Bank.syx stays.
    static juce::File withDefaultExtension(const juce::File& chosen, int type);
    // A name for the save chooser to start on: the program or bank name without trailing blanks,
    // made legal as a file name ("Untitled" when nothing is left), with the type's extension.
    static juce::String proposedFileName(const juce::String& name, int type);

    //==== Reading and writing ========================================================================
    enum class ReadStatus
    {
        ok,
        missing,
        tooLarge,
        unreadable
    };

    struct ReadResult
    {
        ReadStatus status = ReadStatus::missing;
        Bytes bytes;
    };

    // The whole file when it exists and is no larger than maxSize.
    static ReadResult readFileBytes(const juce::File& file, juce::int64 maxSize);
    // Through SafeFileWriter: false, and the file as it was, when anything failed.
    static bool writeFileBytes(const juce::File& file, const Bytes& bytes);

    //==== Formats ====================================================================================
    // The first system-exclusive message of the buffer, when it is this instrument's edit-buffer
    // dump (F0 01 29 03, 298 bytes) or program dump (F0 01 29 02, 300 bytes); the bank and
    // program bytes of a program dump are not used. Anything else, a bare 256-byte record or
    // another device's message included, gives nothing.
    static std::optional<Record> readProgramFile(const std::uint8_t* data, size_t size);
    static std::optional<Record> readProgramFile(const Bytes& b) { return readProgramFile(b.data(), b.size()); }
    static Bytes makeProgramFile(const Record& record);

    // The records of the first 128 program dumps of this instrument in the buffer, in file order;
    // other bytes and messages between them are skipped.
    static std::vector<Record> readBankFile(const std::uint8_t* data, size_t size);
    static std::vector<Record> readBankFile(const Bytes& b) { return readBankFile(b.data(), b.size()); }
    // The 128 programs of a bank as program dumps addressed to their own slots.
    static Bytes makeBankFile(int bank, const Bytes& bankData);
    // Records one after the other, as a bank's data (the first records.size() slots).
    static Bytes bankDataOf(const std::vector<Record>& records);

    FileMan() = delete;
};

} // namespace zarnel
