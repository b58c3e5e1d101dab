#include "ProgramSysex.h"

#include <algorithm>

namespace zarnel
{

ProgramSysex::Packed ProgramSysex::pack(const std::uint8_t* record, size_t size)
{
    Packed out{};
    size_t o = 0;
    for (size_t groupStart = 0; groupStart < recordSize; groupStart += 7)
    {
        const size_t head = o++;
        std::uint8_t topBits = 0;
        for (size_t k = 0; k < 7 && groupStart + k < recordSize; ++k)
        {
            const size_t i = groupStart + k;
            const std::uint8_t b = i < size ? record[i] : 0;
            if (b & 0x80)
                topBits = (std::uint8_t)(topBits | (1u << k));
            out[o++] = (std::uint8_t)(b & 0x7F);
        }
        out[head] = topBits;
    }
    return out;
}

ProgramSysex::Record ProgramSysex::unpack(const std::uint8_t* packed)
{
    Record out{};
    size_t p = 0;
    for (size_t groupStart = 0; groupStart < recordSize; groupStart += 7)
    {
        const std::uint8_t topBits = packed[p++];
        for (size_t k = 0; k < 7 && groupStart + k < recordSize; ++k)
        {
            const std::uint8_t b = packed[p++];
            out[groupStart + k] = (std::uint8_t)(((topBits >> k) & 1u) ? (b | 0x80) : b);
        }
    }
    return out;
}

Bytes ProgramSysex::programDumpRequest(int bank, int program)
{
    if (!isValidBank(bank) || !isValidProgram(program))
        return {};
    return {0xF0, manufacturerId, modelId, cmdProgramDumpRequest, (std::uint8_t)bank, (std::uint8_t)program, 0xF7};
}

Bytes ProgramSysex::editBufferDumpRequest()
{
    return {0xF0, manufacturerId, modelId, cmdEditBufferDumpRequest, 0xF7};
}

Bytes ProgramSysex::globalDumpRequest()
{
    return {0xF0, manufacturerId, modelId, cmdGlobalDumpRequest, 0xF7};
}

Bytes ProgramSysex::programDump(int bank, int program, const std::uint8_t* record, size_t size)
{
    if (!isValidBank(bank) || !isValidProgram(program))
        return {};
    Bytes msg{0xF0, manufacturerId, modelId, cmdProgramDump, (std::uint8_t)bank, (std::uint8_t)program};
    const auto packed = pack(record, size);
    msg.insert(msg.end(), packed.begin(), packed.end());
    msg.push_back(0xF7);
    return msg;
}

Bytes ProgramSysex::editBufferDump(const std::uint8_t* record, size_t size)
{
    const auto packed = pack(record, size);
    Bytes msg(editBufferDumpSize);
    msg[0] = 0xF0;
    msg[1] = manufacturerId;
    msg[2] = modelId;
    msg[3] = cmdEditBufferDump;
    std::copy(packed.begin(), packed.end(), msg.begin() + 4);
    msg[editBufferDumpSize - 1] = 0xF7;
    return msg;
}

std::vector<Bytes> ProgramSysex::splitProgramDumps(const std::uint8_t* buffer, size_t size)
{
    std::vector<Bytes> dumps;
    size_t i = 0;
    while (i + programDumpSize <= size)
    {
        if (buffer[i] == 0xF0 && buffer[i + programDumpSize - 1] == 0xF7)
        {
            dumps.emplace_back(buffer + i, buffer + i + programDumpSize);
            i += programDumpSize;
        }
        else
        {
            ++i;
        }
    }
    return dumps;
}

} // namespace zarnel
