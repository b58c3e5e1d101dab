#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The bank page's PRESETS menu, for the current user bank only (a factory bank shows no menu):
// the programs of a compiled-in factory bank, or 128 default programs, replace the bank's.
// The bank is the one current when the menu opened, the one its last item names.
class PresetsMenu
{
public:
    static constexpr int firstFactoryItem = 100;
    static constexpr int initialiseItem = 99;

    explicit PresetsMenu(const CommandContext& context);

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

private:
    int bank;
};

} // namespace zarnel
