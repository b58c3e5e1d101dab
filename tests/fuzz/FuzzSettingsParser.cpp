// Arbitrary bytes as the settings file's text.
#include "midi/SettingsList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    using zarnel::SettingsList;

    // Decoded as loadSettings gets it from File::loadFileAsString: fromUTF8 would keep invalid
    // sequences that JUCE's own string functions then read past the end of.
    const auto text = juce::String::createStringFromData(data, (int)size);
    const auto entries = SettingsList::parse(text);

    // What we write, we read back the same, as long as no entry contains a mark.
    bool hasMarks = false;
    for (const auto& e : entries)
        hasMarks = hasMarks || e.contains("^|") || e.contains("|^") || e.endsWith("|") || e.startsWith("^");
    if (!hasMarks && entries.size() > 1)
    {
        const auto again = SettingsList::parse(SettingsList::format(entries));
        if (again != entries)
            __builtin_trap();
    }
    return 0;
}
