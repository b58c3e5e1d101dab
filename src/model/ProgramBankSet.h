#pragma once

#include "Bank_Program.h"

#include <array>
#include <memory>

namespace zarnel
{

// The synthesizer's memory as last known to the editor: user banks U1..U4 (bank numbers 0..3),
// kept in the bank data file, and factory banks F1..F4 (4..7).
class ProgramBankSet
{
public:
    static constexpr int numBanks = 8;
    static constexpr int numUserBanks = 4;
    static constexpr size_t headerSize = 14;
    static constexpr size_t trailerSize = 13;
    static constexpr size_t dataFileSize = headerSize + Bank_Program::fullSize * numUserBanks + trailerSize;

    ProgramBankSet();

    Bank_Program& bank(int n);
    const Bank_Program& bank(int n) const;

    // The user banks, framed by the markers, as a data file of their own (BankDataFile reads and
    // writes the real one). Banks are written at their full 32,768 bytes so the layout of the
    // file always stays the one the reader expects.
    Bytes dataFileContent() const;
    bool writeDataFile(const juce::File& dataFile) const;

    // Which factory bank a bank starts from on a first start.
    static int factorySourceOf(int bankNumber) noexcept;

    static bool isValidBank(int n) noexcept { return n >= 0 && n < numBanks; }
    static juce::String bankLabel(int n);
    // "Program Bank U1" .. "Program Bank F4".
    static juce::String bankName(int n) { return "Program Bank " + bankLabel(n); }

private:
    std::array<std::unique_ptr<Bank_Program>, numBanks> banks;
};

} // namespace zarnel
