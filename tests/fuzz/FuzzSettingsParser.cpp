// Arbitrary bytes as the settings file's text.
#include "midi/SettingsList.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    using zarnel::SettingsList;

    // Decoded as loadSettings gets it from the file stream: fromUTF8 would keep invalid
    // sequences that JUCE's own string functions then read past the end of. The stream's buffer
    // always has room after the data, which createStringFromData reads when the data is a
    // byte-order mark alone: so does this copy.
    std::vector<char> buffer(data, data + size);
    buffer.push_back(0);
    const auto text = juce::String::createStringFromData(buffer.data(), (int)size);
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
