#include "FileCommands.h"

#include "../../files/FileMan.h"

#include <memory>

namespace zarnel
{

void FileCommands::load(CommandHost& host, int type, BytesAction onLoaded)
{
    host.chooseFileToOpen(type, [&host, type, onLoaded = std::move(onLoaded)](const juce::File& file)
                          { loadChosen(host, type, file, onLoaded); });
}

void FileCommands::loadPrograms(CommandHost& host, int type, VerdictAction onLoaded)
{
    host.chooseFileToOpen(type, [&host, type, onLoaded = std::move(onLoaded)](const juce::File& file)
                          { loadChosenPrograms(host, type, file, onLoaded); });
}

std::optional<FileCommands::Judged> FileCommands::judge(CommandHost& host, int type, const juce::File& file)
{
    // The transfer writes or sends the banks program by program: a file landing in the middle
    // would leave a bank half one, half the other.
    if (host.isBankTransferRunning())
    {
        host.showMessage("A bank transfer is running: " + file.getFileName() + " was not loaded.");
        return std::nullopt;
    }
    auto result = FileMan::readFileBytes(file, FileMan::maxSizeOf(type));
    switch (result.status)
    {
        case FileMan::ReadStatus::ok:
            break;
        case FileMan::ReadStatus::tooLarge:
            host.showMessage(file.getFileName() + " is too large to load.");
            return std::nullopt;
        case FileMan::ReadStatus::unreadable:
            host.showMessage("Could not read " + file.getFileName() + ".");
            return std::nullopt;
        case FileMan::ReadStatus::missing:
            // Gone between the chooser and the read, or not a file at all.
            host.showMessage(file.getFileName() + " was not found.");
            return std::nullopt;
    }
    auto verdict = FileVerdict::of(type, file.getFileName(), result.bytes);
    if (!verdict.isAccepted())
    {
        host.showMessage(verdict.getRefusal());
        return std::nullopt;
    }
    if (verdict.getNote().isNotEmpty())
        host.showMessage(verdict.getNote());
    return Judged{std::move(result.bytes), std::move(verdict)};
}

void FileCommands::loadChosen(CommandHost& host, int type, const juce::File& file,
                              const BytesAction& onLoaded)
{
    const auto judged = judge(host, type, file);
    if (!judged)
        return;
    if (type == FileMan::loadBank && judged->verdict.holdsSeveralBanks())
        host.showMessage(file.getFileName() + " holds " + juce::String((juce::int64)judged->verdict.size()) +
                         " programs: only the first 128 were loaded.");
    onLoaded(judged->bytes);
}

void FileCommands::loadChosenPrograms(CommandHost& host, int type, const juce::File& file,
                                      const VerdictAction& onLoaded)
{
    if (const auto judged = judge(host, type, file))
        onLoaded(judged->verdict);
}

void FileCommands::save(CommandHost& host, int type, const juce::String& name, Bytes bytes)
{
    host.chooseFileToSave(type, FileMan::proposedFileName(name, type),
                          [&host, type, bytes = std::move(bytes)](const juce::File& chosen)
                          { saveChosen(host, type, chosen, bytes); });
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
