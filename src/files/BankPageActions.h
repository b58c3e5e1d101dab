#pragma once

namespace zarnel
{

class MidiCntrState;

// What the bank page does to the model, apart from its buttons and list: choosing a bank or a
// program, and giving a program a category.
class BankPageActions
{
public:
    // The current program number of bank `bank` becomes current, selected on the synthesizer.
    static void chooseBank(MidiCntrState& state, int bank);
    // A program chosen in the list: loaded for editing and selected on the synthesizer, or with
    // "Use Loaded Data" only loaded, the current bank and program staying as they were.
    static void chooseProgram(MidiCntrState& state, int bank, int program);
    // Byte 117 of the slot; the lists are told (0x19) and the bank data file gets the change.
    static void setCategory(MidiCntrState& state, int bank, int program, int category);

    BankPageActions() = delete;
};

} // namespace zarnel
