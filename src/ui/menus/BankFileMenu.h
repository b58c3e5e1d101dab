#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The bank page's FILE menu: a program bank file into one of the user banks, or a user bank to
// a file.
class BankFileMenu
{
public:
    static constexpr int firstLoadItem = 100;
    static constexpr int firstSaveItem = 200;

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

    // The programs of a bank file's content into the bank: as many slots as it holds dumps, from
    // slot 0. False, and nothing changed, when it holds none.
    static bool loadInto(MidiCntrState& state, int bank, const Bytes& fileContent);
};

} // namespace zarnel
