#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace zarnel
{

// Replaces a file's content so that a crash, a full disk or a failed write never leaves it
// half written: the bytes go to a hidden temporary file beside the target, every write and the
// final size are checked, and only then does it replace the target in one step (a rename on
// POSIX, MoveFileExW with wide paths on Windows). A target reached through a symbolic link is
// written where the link points, so the link stays. On POSIX the folder is synced too, so a
// power loss cannot bring back the previous content.
class SafeFileWriter
{
public:
    // The writer returns false to abandon the write; the target is then left as it was.
    using Writer = std::function<bool(juce::OutputStream&)>;

    static bool write(const juce::File& target, const Writer& writer);
    static bool write(const juce::File& target, const void* data, size_t size);
    static bool write(const juce::File& target, const juce::String& text);

    // A crash between creating the temporary file and replacing the target leaves the temporary
    // file behind. Removes those of the given targets that are older than minimumAge (a younger
    // one may belong to another instance writing right now). Returns how many were removed.
    static int removeStaleTemporaries(const juce::File& folder, const juce::StringArray& targetNames,
                                      juce::RelativeTime minimumAge = juce::RelativeTime::minutes(1));
    static bool isTemporaryOf(const juce::String& fileName, const juce::String& targetName);

    // Copies the file to the first free "<name>.bak", "<name>.bak2", ... beside it, so content we
    // did not expect is kept before we write over it. The copy is written like any other file:
    // returns it only when it is whole, otherwise File().
    static juce::File keepBackup(const juce::File& file);
    // A backup of the file of that size, if there is one.
    static juce::File findBackup(const juce::File& file, juce::int64 size);

    SafeFileWriter() = delete;
};

} // namespace zarnel
