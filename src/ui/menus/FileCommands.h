#pragma once

#include "CommandHost.h"

#include "../../model/Bytes.h"

#include <functional>

namespace zarnel
{

// Loading and saving through the host's choosers. A load reads the chosen file within the bound
// of its type and says why when it cannot; a save adds the type's extension, asks before
// replacing a file that exists, writes through SafeFileWriter and says so when that failed.
class FileCommands
{
public:
    using BytesAction = std::function<void(const Bytes&)>;

    static void load(CommandHost& host, int type, BytesAction onLoaded);
    // The bytes are taken now: what the menu item named is what gets saved.
    static void save(CommandHost& host, int type, const juce::String& name, Bytes bytes);

    // The steps after the chooser, for a chosen file.
    static void loadChosen(CommandHost& host, int type, const juce::File& file, const BytesAction& onLoaded);
    static void saveChosen(CommandHost& host, int type, const juce::File& chosen, Bytes bytes);

    FileCommands() = delete;

private:
    static void write(CommandHost& host, const juce::File& file, const Bytes& bytes);
};

} // namespace zarnel
