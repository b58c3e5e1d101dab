#include "FileMan.h"

#include "../platform/SafeFileWriter.h"

#include <algorithm>

namespace zarnel
{

namespace
{
struct TypeRow
{
    int type;
    const char* patterns; // joined with ";"
    const char* title;
};

constexpr TypeRow typeTable[] = {
    {FileMan::loadProgram, "*.m_p;*.syx", "Load Single Mopho Program"},
    {FileMan::loadBank, "*.m_b;*.syx", "Load Mopho Program Bank"},
    {FileMan::loadLibrary, "*.m_l", "Load Program Library"},
    {FileMan::loadPresetBank, "*.fxb", "Load FX Preset Bank"},
    {FileMan::loadPreset, "*.fxp", "Load FX Preset"},
    {FileMan::saveProgram, "*.m_p;*.syx", "Save Mopho Program"},
    {FileMan::saveBank, "*.m_b;*.syx", "Save Mopho Program Bank"},
    {FileMan::saveLibrary, "*.m_l", "Save Mopho Program Library"},
    {FileMan::savePresetBank, "*.fxb", "Save FX Preset Bank"},
    {FileMan::savePreset, "*.fxp", "Save FX Preset"},
};

const TypeRow* rowOf(int type)
{
    for (const auto& row : typeTable)
        if (row.type == type)
            return &row;
    return nullptr;
}

constexpr std::uint8_t sysexStart = 0xF0;
constexpr std::uint8_t sysexEnd = 0xF7;

// This instrument's dump of the given command and length at data[0]: the header bytes match,
// the last byte ends it and every byte between is a data byte.
bool isDumpOfThisInstrument(const std::uint8_t* data, size_t size, std::uint8_t command, size_t length)
{
    if (size < length || data[0] != sysexStart || data[length - 1] != sysexEnd
        || data[1] != ProgramSysex::manufacturerId || data[2] != ProgramSysex::modelId || data[3] != command)
        return false;
    return std::all_of(data + 1, data + length - 1, [](std::uint8_t b) { return b < 0x80; });
}
} // namespace

//==== The type table =================================================================================

juce::StringArray FileMan::patternsOf(int type)
{
    const auto* row = rowOf(type);
    return row != nullptr ? juce::StringArray::fromTokens(row->patterns, ";", {}) : juce::StringArray();
}

juce::String FileMan::patternListOf(int type)
{
    const auto* row = rowOf(type);
    return row != nullptr ? juce::String(row->patterns) : juce::String();
}

juce::String FileMan::titleOf(int type)
{
    const auto* row = rowOf(type);
    return row != nullptr ? juce::String(row->title) : juce::String();
}

juce::int64 FileMan::maxSizeOf(int type)
{
    switch (type % 100)
    {
        case loadProgram:
            return maxProgramFileSize;
        case loadBank:
            return maxBankFileSize;
        case loadLibrary:
            return maxLibraryFileSize;
        case loadPresetBank:
            return maxPresetBankFileSize;
        case loadPreset:
            return maxPresetFileSize;
        default:
            return 0;
    }
}

juce::File FileMan::withDefaultExtension(const juce::File& chosen, int type)
{
    const auto patterns = patternsOf(type);
    if (patterns.isEmpty() || chosen == juce::File() || chosen.getFileExtension().length() >= 3)
        return chosen;
    return chosen.getSiblingFile(chosen.getFileName() + patterns[0].fromFirstOccurrenceOf("*", false, false));
}

juce::String FileMan::proposedFileName(const juce::String& name, int type)
{
    auto legal = juce::File::createLegalFileName(name.trimEnd()).trim();
    // A name of dots alone would name the folder itself or its parent.
    if (legal.removeCharacters(".").isEmpty())
        legal = "Untitled";
    const auto patterns = patternsOf(type);
    return patterns.isEmpty() ? legal : legal + patterns[0].fromFirstOccurrenceOf("*", false, false);
}

//==== Reading and writing ============================================================================

FileMan::ReadResult FileMan::readFileBytes(const juce::File& file, juce::int64 maxSize)
{
    ReadResult result;
    if (!file.existsAsFile())
        return result;
    if (file.getSize() > maxSize)
    {
        result.status = ReadStatus::tooLarge;
        return result;
    }

    juce::FileInputStream in(file);
    if (!in.openedOk())
    {
        result.status = ReadStatus::unreadable;
        return result;
    }
    // The size may have changed since it was asked: read no more than the bound, plus one byte to
    // see whether there was more.
    juce::MemoryBlock block;
    in.readIntoMemoryBlock(block, (ssize_t)maxSize + 1);
    if ((juce::int64)block.getSize() > maxSize)
    {
        result.status = ReadStatus::tooLarge;
        return result;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(block.getData());
    result.bytes.assign(bytes, bytes + block.getSize());
    result.status = ReadStatus::ok;
    return result;
}

bool FileMan::writeFileBytes(const juce::File& file, const Bytes& bytes)
{
    return SafeFileWriter::write(file, bytes.data(), bytes.size());
}

//==== Formats ========================================================================================

std::optional<FileMan::Record> FileMan::readProgramFile(const std::uint8_t* data, size_t size)
{
    // Too short to hold any dump.
    if (data == nullptr || size <= 9)
        return std::nullopt;
    const auto* end = data + size;
    const auto* start = std::find(data, end, sysexStart);
    if (start == end)
        return std::nullopt;
    const auto* last = std::find(start + 1, end, sysexEnd);
    if (last == end)
        return std::nullopt;

    const auto length = (size_t)(last - start) + 1;
    if (length == ProgramSysex::editBufferDumpSize
        && isDumpOfThisInstrument(start, length, ProgramSysex::cmdEditBufferDump, length))
        return ProgramSysex::unpack(start + 4);
    if (length == ProgramSysex::programDumpSize
        && isDumpOfThisInstrument(start, length, ProgramSysex::cmdProgramDump, length))
        return ProgramSysex::unpack(start + 6);
    return std::nullopt;
}

Bytes FileMan::makeProgramFile(const Record& record)
{
    return ProgramSysex::editBufferDump(record.data(), record.size());
}

std::vector<FileMan::Record> FileMan::readBankFile(const std::uint8_t* data, size_t size)
{
    std::vector<Record> records;
    if (data == nullptr)
        return records;
    constexpr size_t length = ProgramSysex::programDumpSize;
    size_t i = 0;
    while (i + length <= size && records.size() < (size_t)ProgramSysex::numPrograms)
    {
        if (isDumpOfThisInstrument(data + i, size - i, ProgramSysex::cmdProgramDump, length))
        {
            records.push_back(ProgramSysex::unpack(data + i + 6));
            i += length;
        }
        else
        {
            ++i;
        }
    }
    return records;
}

Bytes FileMan::makeBankFile(int bank, const Bytes& bankData)
{
    Bytes out;
    out.reserve(bankFileSize);
    for (int p = 0; p < ProgramSysex::numPrograms; ++p)
    {
        const size_t start = (size_t)p * ProgramSysex::recordSize;
        const size_t available = start < bankData.size() ? std::min(ProgramSysex::recordSize, bankData.size() - start) : 0;
        const auto dump = ProgramSysex::programDump(bank, p, available > 0 ? bankData.data() + start : nullptr, available);
        out.insert(out.end(), dump.begin(), dump.end());
    }
    return out;
}

Bytes FileMan::bankDataOf(const std::vector<Record>& records)
{
    Bytes out;
    out.reserve(records.size() * ProgramSysex::recordSize);
    for (const auto& r : records)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}

} // namespace zarnel
