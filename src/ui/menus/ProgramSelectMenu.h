#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

#include <array>

namespace zarnel
{

// The program display's place menu: a bank (keeping the program number) or a program of the
// current bank becomes current, here and on the synthesizer (bank select, then program change).
class ProgramSelectMenu
{
public:
    static constexpr int firstBankItem = 100000;
    static constexpr int firstProgramItem = 1000;

    explicit ProgramSelectMenu(const CommandContext& context);

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

private:
    int bank;
    int program;
    std::array<juce::String, ProgramSysex::numPrograms> names;
};

} // namespace zarnel
