#include "DefaultProgram.h"

#include <utility>

namespace zarnel
{

namespace
{

// Non-zero bytes of the initial program, as (record byte, value).
constexpr std::pair<int, int> initialValues[] = {
    {0, 24},    {1, 49},    {2, 1},     {4, 1},     {6, 24},    {7, 51},    {8, 1},     {10, 1},    {14, 2},
    {15, 4},    {16, 64},   {20, 148},  {24, 1},    {25, 127},  {33, 127},  {38, 64},   {39, 64},   {41, 120},
    {42, 80},   {47, 80},   {52, 80},   {57, 80},   {63, 127},  {72, 127},  {75, 127},  {78, 127},  {81, 127},
    {83, 127},  {85, 127},  {87, 127},  {89, 127},  {91, 127},  {96, 60},   {97, 100},  {99, 60},   {101, 120},
    {102, 2},   {107, 1},   {108, 2},   {109, 9},   {111, 5},   {112, 11},  {113, 44},  {114, 23},  {200, 16},
    {201, 32},  {202, 64},  {203, 128}, {204, 1},   {208, 2},   {212, 4},   {216, 8},   {220, 16},  {224, 32},
    {228, 64},  {232, 128}, {237, 1},   {241, 2},   {245, 4},   {249, 8},   {253, 16}};

constexpr char initialName[] = "Initial Program ";

Bytes buildDump()
{
    ProgramSysex::Record rec{};
    for (const auto& [index, value] : initialValues)
        rec[(size_t)index] = (std::uint8_t)value;
    for (size_t i = 0; i < 16; ++i)
        rec[184 + i] = (std::uint8_t)initialName[i];

    auto dump = ProgramSysex::editBufferDump(rec.data(), rec.size());
    dump[2] = 0x27; // the stored dump carries another model byte; unpacking ignores it
    return dump;
}

} // namespace

const Bytes& DefaultProgram::editBufferDump()
{
    static const Bytes dump = buildDump();
    return dump;
}

ProgramSysex::Record DefaultProgram::record()
{
    return ProgramSysex::unpack(editBufferDump().data() + 4);
}

} // namespace zarnel
