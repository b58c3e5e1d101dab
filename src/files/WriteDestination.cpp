#include "WriteDestination.h"

#include "../model/ProgramBankSet.h"
#include "../model/ProgramSysex.h"

#include <algorithm>

namespace zarnel
{

WriteDestination WriteDestination::initialFor(int currentBank, int currentProgram)
{
    const int program = std::clamp(currentProgram, 0, ProgramSysex::numPrograms - 1);
    if (currentBank < 0 || currentBank >= ProgramBankSet::numUserBanks)
        return {0, program};
    return {currentBank, program};
}

bool WriteDestination::isWritable(int bank, int program) noexcept
{
    return bank >= 0 && bank < ProgramBankSet::numUserBanks && ProgramSysex::isValidProgram(program);
}

} // namespace zarnel
