// Factory bank sound design for the Mopho x4: the program record layout and
// the 3 x 128 programs. FactoryGen.cpp turns these into the embedded block.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace factorygen
{

constexpr int kRecordSize = 256;
constexpr int kProgramsPerBank = 128;
constexpr int kBankCount = 3;
constexpr int kCategoryIndex = 117;
constexpr int kNameIndex = 184;
constexpr int kNameLength = 16;

// Values are kept as int until the self-check has run, so an out-of-range
// setting is reported instead of silently wrapping into a byte.
using Record = std::array<int, kRecordSize>;

struct Program
{
    std::string name;
    Record values{};
};

struct ParamRange
{
    int lo = 0;
    int hi = 0;
    bool fixed = false; // not a sound parameter: must keep its default value
};

const Record& defaultRecord();
ParamRange paramRange(int index);
const char* categoryName(int category);

// Returns kBankCount banks of kProgramsPerBank programs each.
std::vector<std::vector<Program>> buildBanks();

} // namespace factorygen
