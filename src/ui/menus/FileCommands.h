#pragma once

#include "CommandHost.h"

#include "../../files/FileVerdict.h"
#include "../../model/Bytes.h"

#include <functional>
#include <optional>

namespace zarnel
{

// Loading and saving through the host's choosers. A load reads the chosen file within the bound
// of its type and judges it (FileVerdict): a file it cannot take is refused in a message that says
// why, and nothing is called; what it passed over is said too. A save adds the type's extension,
// asks before replacing a file that exists, writes through SafeFileWriter and says so when that
// failed.
class FileCommands
{
public:
    using BytesAction = std::function<void(const Bytes&)>;
    using VerdictAction = std::function<void(const FileVerdict&)>;

    // onLoaded gets the bytes of a file the verdict took. A bank file of more than 128 programs
    // is said to give its first 128, as the callers of this form take no more.
    static void load(CommandHost& host, int type, BytesAction onLoaded);
    // onLoaded gets every program the file gives, with their bank and program numbers.
    static void loadPrograms(CommandHost& host, int type, VerdictAction onLoaded);
    // The bytes are taken now: what the menu item named is what gets saved.
    static void save(CommandHost& host, int type, const juce::String& name, Bytes bytes);

    // The steps after the chooser, for a chosen file.
    static void loadChosen(CommandHost& host, int type, const juce::File& file, const BytesAction& onLoaded);
    static void loadChosenPrograms(CommandHost& host, int type, const juce::File& file,
                                   const VerdictAction& onLoaded);
    static void saveChosen(CommandHost& host, int type, const juce::File& chosen, Bytes bytes);

    FileCommands() = delete;

private:
    struct Judged
    {
        Bytes bytes;
        FileVerdict verdict;
    };
    // The file read and taken, or nothing after the reason was shown.
    static std::optional<Judged> judge(CommandHost& host, int type, const juce::File& file);
    static void write(CommandHost& host, const juce::File& file, const Bytes& bytes);
};

} // namespace zarnel
