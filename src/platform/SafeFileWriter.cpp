#include "SafeFileWriter.h"

#include <filesystem>
#include <system_error>

namespace zarnel
{

bool SafeFileWriter::write(const juce::File& target, const Writer& writer)
{
    if (target.isDirectory())
        return false;
    if (!target.getParentDirectory().createDirectory())
        return false;

    // Hidden sibling, so the rename stays on one file system.
    juce::TemporaryFile temp(target, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out(temp.getFile());
        if (out.failedToOpen())
            return false;
        if (!writer(out))
            return false;
        out.flush(); // also syncs to disk, so the rename never exposes unwritten data
        if (out.getStatus().failed())
            return false;
    }

    // juce::File::moveFileTo deletes the target before renaming; a plain rename replaces it in
    // one step, so the old content stays until the new one is complete.
    std::error_code error;
    std::filesystem::rename(temp.getFile().getFullPathName().toStdString(),
                            target.getFullPathName().toStdString(), error);
    return !error; // on failure the temporary file is removed with `temp`
}

bool SafeFileWriter::write(const juce::File& target, const void* data, size_t size)
{
    return write(target, [data, size](juce::OutputStream& out) { return size == 0 || out.write(data, size); });
}

bool SafeFileWriter::write(const juce::File& target, const juce::String& text)
{
    return write(target, [&text](juce::OutputStream& out) {
        const auto bytes = text.getNumBytesAsUTF8();
        return bytes == 0 || out.write(text.toRawUTF8(), bytes);
    });
}

} // namespace zarnel
