#include "ProgramBankSet.h"

#include "../platform/SafeFileWriter.h"

#include <algorithm>
#include <cstring>

namespace zarnel
{

namespace
{
constexpr char dataFileHeader[] = "*Mopho  Data >";
constexpr char dataFileTrailer[] = "< Mopho  Data";
} // namespace

ProgramBankSet::ProgramBankSet()
{
    for (int n = 0; n < numBanks; ++n)
    {
        banks[(size_t)n] = std::make_unique<Bank_Program>(bankName(n));
        banks[(size_t)n]->loadFactoryBank(factorySourceOf(n));
    }
}

juce::String ProgramBankSet::bankLabel(int n)
{
    if (n >= 0 && n < numUserBanks)
        return "U" + juce::String(n + 1);
    if (n >= numUserBanks && n < numBanks)
        return "F" + juce::String(n - numUserBanks + 1);
    return {};
}

Bank_Program& ProgramBankSet::bank(int n)
{
    return *banks[(size_t)std::clamp(n, 0, numBanks - 1)];
}

const Bank_Program& ProgramBankSet::bank(int n) const
{
    return *banks[(size_t)std::clamp(n, 0, numBanks - 1)];
}

int ProgramBankSet::factorySourceOf(int bankNumber) noexcept
{
    // U1..U4 and F1..F4 alike: factory banks 0, 1, 2 and 0.
    static constexpr int sources[numUserBanks] = {0, 1, 2, 0};
    return sources[(bankNumber % numUserBanks + numUserBanks) % numUserBanks];
}

Bytes ProgramBankSet::dataFileContent() const
{
    Bytes out;
    out.reserve(dataFileSize);
    out.insert(out.end(), dataFileHeader, dataFileHeader + headerSize);
    for (int n = 0; n < numUserBanks; ++n)
    {
        auto data = bank(n).getBankData();
        data.resize(Bank_Program::fullSize, 0);
        out.insert(out.end(), data.begin(), data.end());
    }
    out.insert(out.end(), dataFileTrailer, dataFileTrailer + trailerSize);
    return out;
}

bool ProgramBankSet::writeDataFile(const juce::File& dataFile) const
{
    const auto content = dataFileContent();
    return SafeFileWriter::write(dataFile, content.data(), content.size());
}

} // namespace zarnel
