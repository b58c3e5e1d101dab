#include "EditorSize.h"

#include "../midi/SettingsList.h"

namespace zarnel
{

juce::Point<int> EditorSize::limited(int width, int height)
{
    return {juce::jlimit(minWidth, maxWidth, width), juce::jlimit(minHeight, maxHeight, height)};
}

std::optional<juce::Point<int>> EditorSize::remembered(const SettingsList& settings)
{
    const auto read = [&settings](int entry) -> int {
        const auto text = settings.getEntry(entry).trim();
        if (text.isEmpty() || text.length() > 6 || !text.containsOnly("0123456789"))
            return 0;
        return text.getIntValue();
    };
    const int w = read(SettingsList::editorWidthEntry);
    const int h = read(SettingsList::editorHeightEntry);
    if (w <= 0 || h <= 0)
        return std::nullopt;
    return limited(w, h);
}

} // namespace zarnel
