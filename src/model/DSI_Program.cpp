#include "DSI_Program.h"

#include "DefaultProgram.h"

#include <algorithm>

namespace zarnel
{

DSI_Program::DSI_Program()
{
    const auto rec = DefaultProgram::record();
    data.assign(rec.begin(), rec.end());
    writeName("Untitled ");
}

bool DSI_Program::setFromBuffer(const std::uint8_t* bytes, size_t size)
{
    if (bytes == nullptr)
        return false;

    switch (size)
    {
        case ProgramSysex::recordSize:
            data.assign(bytes, bytes + size);
            break;
        case ProgramSysex::editBufferDumpSize:
            unpack(bytes + 4, ProgramSysex::packedSize);
            break;
        case ProgramSysex::programDumpSize:
            unpack(bytes + 6, ProgramSysex::packedSize);
            break;
        default:
            return false;
    }
    readName();
    return true;
}

void DSI_Program::unpack(const std::uint8_t* packed, size_t size)
{
    if (packed == nullptr || size != ProgramSysex::packedSize)
        return;
    const auto rec = ProgramSysex::unpack(packed);
    data.assign(rec.begin(), rec.end());
}

const Bytes& DSI_Program::packEditBuffer(const std::uint8_t* record, size_t size)
{
    dump = ProgramSysex::editBufferDump(record, size);
    return dump;
}

juce::String DSI_Program::decodeName(const std::uint8_t* record, size_t size)
{
    juce::String text;
    for (size_t i = nameOffset; i < nameOffset + nameLength && i < size; ++i)
        if (record[i] != 0)
            text += juce::String::charToString((juce::juce_wchar)record[i]);
    return text;
}

juce::String DSI_Program::paddedName(const juce::String& text)
{
    return text.substring(0, nameLength).paddedRight(' ', nameLength);
}

void DSI_Program::encodeName(const juce::String& text, std::uint8_t* dest)
{
    const auto padded = paddedName(text);
    for (int i = 0; i < nameLength; ++i)
    {
        const auto c = (std::uint32_t)padded[i];
        dest[i] = (std::uint8_t)(c >= 20 && c <= 159 ? c : 32);
    }
}

juce::String DSI_Program::readName()
{
    name = decodeName(data.data(), data.size());
    return name;
}

void DSI_Program::writeName(const juce::String& text)
{
    name = paddedName(text);
    if (data.size() < ProgramSysex::recordSize)
        data.resize(ProgramSysex::recordSize, 0);
    encodeName(text, data.data() + nameOffset);
}

void DSI_Program::setData(const std::uint8_t* bytes, size_t size)
{
    if (bytes == nullptr)
        size = 0;
    size = std::min(size, ProgramSysex::recordSize);
    data.assign(bytes, bytes + size);
}

ProgramSysex::Record DSI_Program::getData() const
{
    ProgramSysex::Record rec{};
    std::copy_n(data.begin(), std::min(data.size(), rec.size()), rec.begin());
    return rec;
}

} // namespace zarnel
