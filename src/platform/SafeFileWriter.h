#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace zarnel
{

// Replaces a file's content so that a crash, a full disk or a failed write never leaves it
// half written: the bytes go to a temporary file beside the target, which is then renamed over it.
class SafeFileWriter
{
public:
    // The writer returns false to abandon the write; the target is then left as it was.
    using Writer = std::function<bool(juce::OutputStream&)>;

    static bool write(const juce::File& target, const Writer& writer);
    static bool write(const juce::File& target, const void* data, size_t size);
    static bool write(const juce::File& target, const juce::String& text);

    SafeFileWriter() = delete;
};

} // namespace zarnel
