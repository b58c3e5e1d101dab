#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace zarnel
{

// An output stream to a new file that checks every write. JUCE's FileOutputStream keeps up to
// 16 KiB in its buffer and drops the result of writing it out, so a disk that fills up on the
// last bytes would pass unnoticed; here a short or failed write fails the stream, and finish()
// syncs, closes and checks that the file holds every byte written.
class CheckedFileOutput : public juce::OutputStream
{
public:
    // Creates the file; fails (openedOk() false) when it exists already.
    explicit CheckedFileOutput(const juce::File& file);
    ~CheckedFileOutput() override;

    bool openedOk() const noexcept { return opened; }
    bool failed() const noexcept { return hasFailed; }

    // Writes out the buffer, syncs the file to disk and closes it. True only when every byte
    // reached the file and the file's size says so.
    bool finish();

    void flush() override;
    bool write(const void* data, size_t numBytes) override;
    juce::int64 getPosition() override { return position; }
    bool setPosition(juce::int64 newPosition) override { return newPosition == position; }

private:
    bool writeOut(const char* data, size_t numBytes);
    void close();

#if JUCE_WINDOWS
    void* handle = nullptr;
#else
    int fd = -1;
#endif
    std::vector<char> buffer;
    juce::int64 position = 0;
    bool opened = false;
    bool hasFailed = false;

    JUCE_DECLARE_NON_COPYABLE(CheckedFileOutput)
};

} // namespace zarnel
