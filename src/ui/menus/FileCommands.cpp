#include "FileCommands.h"

#include "../../files/FileMan.h"

#include <memory>

namespace zarnel
{

void FileCommands::load(CommandHost& host, int type, BytesAction onLoaded)
{
    host.chooseFileToOpen(type, [&host, type, onLoaded = std::move(onLoaded)](const juce::File& file) {
        loadChosen(host, type, file, onLoaded);
    });
}

void FileCommands::loadChosen(CommandHost& host, int type, const juce::File& file, const BytesAction& onLoaded)
{
    // The transfer writes or sends the banks program by program: a file landing in the middle
    // would leave a bank half one, half the other.
    if (host.isBankTransferRunning())
    {
        host.showMessage("A bank transfer is running: " + file.getFileName() + " was not loaded.");
        return;
    }
    const auto result = FileMan::readFileBytes(file, FileMan::maxSizeOf(type));
    switch (result.status)
    {
        case FileMan::ReadStatus::ok:
            onLoaded(result.bytes);
            break;
        case FileMan::ReadStatus::tooLarge:
            host.showMessage(file.getFileName() + " is too large to load.");
            break;
        case FileMan::ReadStatus::unreadable:
            host.showMessage("Could not read " + file.getFileName() + ".");
            break;
        case FileMan::ReadStatus::missing:
            break;
    }
}

void FileCommands::save(CommandHost& host, int type, const juce::String& name, Bytes bytes)
{
    host.chooseFileToSave(type, FileMan::proposedFileName(name, type),
                          [&host, type, bytes = std::move(bytes)](const juce::File& chosen) {
                              saveChosen(host, type, chosen, bytes);
                          });
}

void FileCommands::saveChosen(CommandHost& host, int type, const juce::File& chosen, Bytes bytes)
{
    // The question is about the file that will really be written: the name with its extension.
    const auto file = FileMan::withDefaultExtension(chosen, type);
    if (file == juce::File())
        return;
    // A folder of that name cannot be replaced by a file: no question, the failure is shown.
    if (!file.exists() || file.isDirectory())
    {
        write(host, file, bytes);
        return;
    }
    host.askQuestion("Replace the existing file " + file.getFileName() + "?",
                     [&host, file, bytes = std::move(bytes)] { write(host, file, bytes); });
}

void FileCommands::write(CommandHost& host, const juce::File& file, const Bytes& bytes)
{
    if (!FileMan::writeFileBytes(file, bytes))
        host.showMessage("Could not save " + file.getFileName() + ". Nothing was written.");
}

} // namespace zarnel
