#pragma once

#include "../model/ProgramSysex.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace zarnel
{

// What a file the user chose to load holds, read without a screen: either the programs it gives
// (any number, in file order, with the bank and program numbers of their dumps) or a refusal that
// says in the user's words why nothing was taken. A refused file changes nothing; the callers
// show the refusal and stop.
class FileVerdict
{
public:
    using Record = ProgramSysex::Record;

    // Where a dump says its program belongs; -1 when the file does not say (edit-buffer dumps,
    // library and preset records).
    struct Origin
    {
        int bank = -1;
        int program = -1;
        bool operator==(const Origin&) const = default;
    };

    // A run of programs addressed to one bank: it ends where the bank number changes or after 128.
    struct BankGroup
    {
        int bank = -1;
        size_t first = 0;
        size_t count = 0;
    };

    // The library holds no more than this; a larger library file is refused as a whole.
    static constexpr size_t maxLibraryRecords = 500000;

    // The file of the given load type (FileMan's types) under its name as the user sees it.
    static FileVerdict of(int type, const juce::String& fileName, const Bytes& bytes);

    static FileVerdict ofProgramFile(const juce::String& fileName, const Bytes& bytes);
    static FileVerdict ofBankFile(const juce::String& fileName, const Bytes& bytes);
    static FileVerdict ofLibraryFile(const juce::String& fileName, const Bytes& bytes,
                                     size_t maxRecords = maxLibraryRecords);
    static FileVerdict ofPresetFile(const juce::String& fileName, const Bytes& bytes);
    static FileVerdict ofPresetBankFile(const juce::String& fileName, const Bytes& bytes);

    bool isAccepted() const noexcept { return refusal.isEmpty(); }
    // Empty when the file was taken.
    const juce::String& getRefusal() const noexcept { return refusal; }
    // What was passed over in a file that was taken ("2 dumps for other instruments were
    // skipped."); empty when nothing was.
    const juce::String& getNote() const noexcept { return note; }

    size_t size() const noexcept { return origins.size(); }
    Record record(size_t index) const;
    Origin origin(size_t index) const { return index < origins.size() ? origins[index] : Origin{}; }
    // All records back to back, 256 bytes each.
    const Bytes& recordData() const noexcept { return records; }
    // Records first … first + count − 1 back to back, as a bank's data.
    Bytes recordData(size_t first, size_t count) const;

    // More programs than one bank holds: the caller asks which bank goes where.
    bool holdsSeveralBanks() const noexcept { return size() > (size_t)ProgramSysex::numPrograms; }
    std::vector<BankGroup> bankGroups() const;

private:
    Bytes records;
    std::vector<Origin> origins;
    juce::String refusal;
    juce::String note;

    void add(const std::uint8_t* record, Origin where);
    static FileVerdict refused(const juce::String& text);
};

} // namespace zarnel
