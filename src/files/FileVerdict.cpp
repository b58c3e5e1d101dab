#include "FileVerdict.h"

#include "FileMan.h"

#include <cstring>

namespace zarnel
{

namespace
{
constexpr std::uint8_t sysexStart = 0xF0;
constexpr std::uint8_t sysexEnd = 0xF7;

// The plug-in's own files, told apart by their first bytes. The tags are part of the formats and
// never change.
constexpr const char* libraryTag = "Mopho  Libr >";
constexpr const char* presetTag = "MophoPluginSettings";
constexpr const char* presetBankTag = "MophoPluginBank";
constexpr const char* bankDataTag = "*Mopho  Data >";
constexpr size_t libraryMarkerSize = 13;
constexpr size_t presetSize = 19 + 10 + ProgramSysex::recordSize;
constexpr size_t presetBankSize = 15 + 10 + ProgramSysex::recordSize * ProgramSysex::numPrograms;

bool startsWith(const Bytes& b, const char* tag)
{
    const auto n = std::strlen(tag);
    return b.size() >= n && std::memcmp(b.data(), tag, n) == 0;
}

bool startsWith(const Bytes& b, std::initializer_list<std::uint8_t> head)
{
    return b.size() >= head.size() && std::equal(head.begin(), head.end(), b.begin());
}

juce::String plural(size_t n, const char* one, const char* many)
{
    return juce::String((juce::int64)n) + " " + (n == 1 ? one : many);
}

// Everything the system-exclusive messages of a file amount to. A message runs from F0 to F7;
// any other status byte, or the end of the file, cuts it short.
struct Scan
{
    struct Dump
    {
        size_t offset;
        bool editBuffer;
    };
    std::vector<Dump> dumps; // whole program and edit-buffer dumps of this instrument
    size_t programDumps = 0;
    size_t editBufferDumps = 0;
    size_t cutAtEnd = 0;  // a dump of ours the file ends inside
    size_t damaged = 0;   // a dump of ours of the wrong length or broken by another message
    size_t globals = 0;   // global settings dumps
    size_t otherOurs = 0; // requests and other short messages of ours
    size_t foreign = 0;   // messages for other instruments, universal messages included
    size_t messages = 0;

    explicit Scan(const Bytes& b)
    {
        const size_t size = b.size();
        size_t i = 0;
        while (i < size)
        {
            if (b[i] != sysexStart)
            {
                ++i;
                continue;
            }
            size_t j = i + 1;
            while (j < size && b[j] < 0x80)
                ++j;
            const bool ended = j < size && b[j] == sysexEnd;
            const size_t length = ended ? j - i + 1 : j - i;
            classify(b.data() + i, length, ended, j >= size, i);
            ++messages;
            i = ended ? j + 1 : j;
        }
    }

    void classify(const std::uint8_t* m, size_t length, bool ended, bool atEnd, size_t offset)
    {
        const bool ours =
            length >= 3 && m[1] == ProgramSysex::manufacturerId && m[2] == ProgramSysex::modelId;
        if (!ours)
        {
            ++foreign;
            return;
        }
        const int command = length >= 4 ? m[3] : -1;
        const bool isDump =
            command == ProgramSysex::cmdProgramDump || command == ProgramSysex::cmdEditBufferDump;
        if (!isDump)
        {
            ++(command == ProgramSysex::cmdGlobalDump ? globals : otherOurs);
            return;
        }
        const size_t expected = command == ProgramSysex::cmdProgramDump ? ProgramSysex::programDumpSize
                                                                        : ProgramSysex::editBufferDumpSize;
        if (ended && length == expected)
        {
            const bool editBuffer = command == ProgramSysex::cmdEditBufferDump;
            dumps.push_back({offset, editBuffer});
            ++(editBuffer ? editBufferDumps : programDumps);
        }
        else if (!ended && atEnd && length < expected)
        {
            ++cutAtEnd;
        }
        else
        {
            ++damaged;
        }
    }
};

// What a file is when it is not what the load expected, as the end of "… is not a Mopho x4
// program: …"; empty when nothing is recognised.
juce::String whatItIs(const Bytes& b)
{
    if (startsWith(b, {0x89, 'P', 'N', 'G'}) || startsWith(b, {0xFF, 0xD8, 0xFF}) || startsWith(b, "GIF8"))
        return "it is a picture";
    if (startsWith(b, "CcnK"))
        return "it is a preset of another plug-in";
    if (startsWith(b, libraryTag))
        return "it is a program library (load it on the library page)";
    if (startsWith(b, presetTag))
        return "it is a plug-in preset (load it on the preset bank page)";
    if (startsWith(b, presetBankTag))
        return "it is a plug-in preset bank (load it on the preset bank page)";
    if (startsWith(b, bankDataTag))
        return "it is the plug-in's own store of the user banks";
    if (startsWith(b, "PK") || startsWith(b, {0x1F, 0x8B}))
        return "it is a compressed archive";
    return {};
}

bool holdsOurDumps(const Scan& scan)
{
    return !scan.dumps.empty() || scan.cutAtEnd > 0 || scan.damaged > 0;
}

// Why a file with system-exclusive messages but none of the dumps wanted is refused.
juce::String whySysexRefused(const Scan& scan)
{
    if (scan.cutAtEnd > 0)
        return "ends in the middle of a program";
    if (scan.damaged > 0)
        return "holds a damaged program dump";
    if (scan.globals > 0)
        return "holds the instrument's global settings, not a program";
    if (scan.foreign > 0 && scan.otherOurs == 0)
        return scan.foreign == 1 ? "holds a dump for another instrument"
                                 : "holds dumps for other instruments";
    return "holds no program dump";
}

juce::String refusalFor(const juce::String& name, const juce::String& kind, const Bytes& b, const Scan* scan)
{
    if (b.empty())
        return name + " is empty.";
    if (const auto what = whatItIs(b); what.isNotEmpty())
        return name + " is not " + kind + ": " + what + ".";
    if (scan == nullptr || scan->messages == 0)
        return name + " is not " + kind + ": it holds no Mopho x4 data.";
    const auto why = whySysexRefused(*scan);
    if (why.startsWith("ends ") || why.startsWith("holds a damaged"))
        return name + " " + why + ".";
    return name + " is not " + kind + ": it " + why + ".";
}

juce::String skippedNote(const juce::String& name, const Scan& scan, bool editBuffersSkipped)
{
    juce::StringArray parts;
    if (scan.foreign > 0)
        parts.add(plural(scan.foreign, "message for another instrument", "messages for other instruments"));
    if (editBuffersSkipped && scan.editBufferDumps > 0)
        parts.add(plural(scan.editBufferDumps, "single program", "single programs"));
    if (scan.globals > 0)
        parts.add(plural(scan.globals, "global settings dump", "global settings dumps"));
    if (scan.damaged > 0)
        parts.add(plural(scan.damaged, "damaged dump", "damaged dumps"));
    if (scan.cutAtEnd > 0)
        parts.add("a program cut short at the end");
    if (parts.isEmpty())
        return {};
    return name + ": skipped " + parts.joinIntoString(", ") + ".";
}
} // namespace

FileVerdict FileVerdict::refused(const juce::String& text)
{
    FileVerdict v;
    v.refusal = text;
    return v;
}

void FileVerdict::add(const std::uint8_t* record, Origin where)
{
    records.insert(records.end(), record, record + ProgramSysex::recordSize);
    origins.push_back(where);
}

FileVerdict::Record FileVerdict::record(size_t index) const
{
    Record r{};
    if (index < origins.size())
        std::memcpy(r.data(), records.data() + index * ProgramSysex::recordSize, r.size());
    return r;
}

Bytes FileVerdict::recordData(size_t first, size_t count) const
{
    first = std::min(first, size());
    count = std::min(count, size() - first);
    const auto* from = records.data() + first * ProgramSysex::recordSize;
    return Bytes(from, from + count * ProgramSysex::recordSize);
}

std::vector<FileVerdict::BankGroup> FileVerdict::bankGroups() const
{
    std::vector<BankGroup> groups;
    for (size_t i = 0; i < origins.size(); ++i)
    {
        if (groups.empty() || groups.back().bank != origins[i].bank ||
            groups.back().count == (size_t)ProgramSysex::numPrograms)
            groups.push_back({origins[i].bank, i, 0});
        ++groups.back().count;
    }
    return groups;
}

FileVerdict FileVerdict::of(int type, const juce::String& fileName, const Bytes& bytes)
{
    switch (type % 100)
    {
        case FileMan::loadProgram:
            return ofProgramFile(fileName, bytes);
        case FileMan::loadBank:
            return ofBankFile(fileName, bytes);
        case FileMan::loadLibrary:
            return ofLibraryFile(fileName, bytes);
        case FileMan::loadPreset:
            return ofPresetFile(fileName, bytes);
        case FileMan::loadPresetBank:
            return ofPresetBankFile(fileName, bytes);
        default:
            return refused(fileName + " is not a file this command loads.");
    }
}

FileVerdict FileVerdict::ofProgramFile(const juce::String& fileName, const Bytes& bytes)
{
    const juce::String kind = "a Mopho x4 program";
    if (bytes.empty() || whatItIs(bytes).isNotEmpty())
        return refused(refusalFor(fileName, kind, bytes, nullptr));
    // The program is the file's first message, as the program reader takes it.
    if (const auto rec = FileMan::readProgramFile(bytes))
    {
        FileVerdict v;
        const auto* start = std::find(bytes.data(), bytes.data() + bytes.size(), sysexStart);
        const bool programDump = start[3] == ProgramSysex::cmdProgramDump;
        v.add(rec->data(), programDump ? Origin{start[4], start[5]} : Origin{});
        return v;
    }
    const Scan scan(bytes);
    if (scan.messages == 0)
        return refused(refusalFor(fileName, kind, bytes, &scan));

    // Judged by the first message; when whole programs follow it, say how to reach them.
    const size_t start = (size_t)(std::find(bytes.begin(), bytes.end(), sysexStart) - bytes.begin());
    size_t end = start + 1;
    while (end < bytes.size() && bytes[end] < 0x80)
        ++end;
    if (end < bytes.size() && bytes[end] == sysexEnd)
        ++end;
    const Bytes first(bytes.begin() + (std::ptrdiff_t)start, bytes.begin() + (std::ptrdiff_t)end);
    const Scan firstScan(first);
    // A message cut by another one, not by the end of the file, is damaged.
    auto text = firstScan.cutAtEnd > 0 && end < bytes.size() ? fileName + " holds a damaged program dump."
                                                             : refusalFor(fileName, kind, first, &firstScan);
    if (scan.programDumps > 0)
        text += " Load it as a program bank to take the " +
                plural(scan.programDumps, "program dump that follows.", "program dumps that follow.");
    return refused(text);
}

FileVerdict FileVerdict::ofBankFile(const juce::String& fileName, const Bytes& bytes)
{
    const juce::String kind = "a Mopho x4 program bank";
    if (bytes.empty() || whatItIs(bytes).isNotEmpty())
        return refused(refusalFor(fileName, kind, bytes, nullptr));
    const Scan scan(bytes);
    if (scan.programDumps == 0)
    {
        if (scan.editBufferDumps > 0)
            return refused(fileName + " is not " + kind + ": it holds " +
                           (scan.editBufferDumps == 1
                                ? juce::String("a single program (load it as a program)")
                                : plural(scan.editBufferDumps, "", "single programs")) +
                           ".");
        return refused(refusalFor(fileName, kind, bytes, &scan));
    }

    FileVerdict v;
    for (const auto& d : scan.dumps)
        if (!d.editBuffer)
        {
            const auto* m = bytes.data() + d.offset;
            v.add(ProgramSysex::unpack(m + 6).data(), Origin{m[4], m[5]});
        }
    v.note = skippedNote(fileName, scan, true);
    return v;
}

FileVerdict FileVerdict::ofLibraryFile(const juce::String& fileName, const Bytes& bytes, size_t maxRecords)
{
    const juce::String kind = "a program library";
    if (!startsWith(bytes, libraryTag))
    {
        const Scan scan(bytes);
        if (!bytes.empty() && whatItIs(bytes).isEmpty() && holdsOurDumps(scan))
            return refused(fileName + " is not " + kind +
                           ": it holds Mopho x4 program dumps (import it with From Program Bank File).");
        return refused(refusalFor(fileName, kind, bytes, &scan));
    }
    const size_t body = bytes.size() - libraryMarkerSize;
    const size_t count = body / ProgramSysex::recordSize;
    const size_t rest = body % ProgramSysex::recordSize;
    if (count > maxRecords)
        return refused(fileName + " holds more programs than the library can take (" +
                       juce::String((juce::int64)maxRecords) + ").");
    if (count == 0)
        return refused(rest > 0 && rest != libraryMarkerSize ? fileName + " ends in the middle of a program."
                                                             : fileName + " holds no programs.");
    FileVerdict v;
    v.records.assign(bytes.begin() + (std::ptrdiff_t)libraryMarkerSize,
                     bytes.begin() + (std::ptrdiff_t)(libraryMarkerSize + count * ProgramSysex::recordSize));
    v.origins.assign(count, Origin{});
    // The trailer follows the last record; anything else there is the start of a record lost.
    if (rest != 0 && rest != libraryMarkerSize)
        v.note = fileName + " ends in the middle of a program: " +
                 (count == 1 ? juce::String("the program before it was read.")
                             : "the " + plural(count, "", "programs") + " before it were read.");
    return v;
}

FileVerdict FileVerdict::ofPresetFile(const juce::String& fileName, const Bytes& bytes)
{
    const juce::String kind = "a Mopho x4 plug-in preset";
    if (!startsWith(bytes, presetTag))
    {
        const Scan scan(bytes);
        if (!bytes.empty() && whatItIs(bytes).isEmpty() && holdsOurDumps(scan))
            return refused(fileName + " is not " + kind +
                           ": it holds Mopho x4 program dumps (load it as a program).");
        return refused(refusalFor(fileName, kind, bytes, &scan));
    }
    if (bytes.size() < presetSize)
        return refused(fileName + " ends in the middle of a program.");
    FileVerdict v;
    v.add(bytes.data() + presetSize - ProgramSysex::recordSize, Origin{});
    return v;
}

FileVerdict FileVerdict::ofPresetBankFile(const juce::String& fileName, const Bytes& bytes)
{
    const juce::String kind = "a Mopho x4 plug-in preset bank";
    if (!startsWith(bytes, presetBankTag))
    {
        const Scan scan(bytes);
        if (!bytes.empty() && whatItIs(bytes).isEmpty() && holdsOurDumps(scan))
            return refused(fileName + " is not " + kind +
                           ": it holds Mopho x4 program dumps (load it as a program bank).");
        return refused(refusalFor(fileName, kind, bytes, &scan));
    }
    if (bytes.size() < presetBankSize)
        return refused(fileName + " ends in the middle of a program.");
    FileVerdict v;
    const auto* first = bytes.data() + presetBankSize - ProgramSysex::recordSize * ProgramSysex::numPrograms;
    for (int p = 0; p < ProgramSysex::numPrograms; ++p)
        v.add(first + (size_t)p * ProgramSysex::recordSize, Origin{});
    return v;
}

} // namespace zarnel
