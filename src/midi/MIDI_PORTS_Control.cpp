#include "MIDI_PORTS_Control.h"

#include "platform/SafeFileWriter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zarnel
{

namespace
{

const char* const noPort = "NONE";

// Names shorter than this are no port (a damaged file, not a device).
constexpr int minimumNameLength = 3;
constexpr size_t minimumFileSize = 3;

int positionOf(const juce::String& name, const juce::StringArray& devices)
{
    if (name.length() < minimumNameLength)
        return 0;
    return devices.indexOf(name) + 1;
}

// How a file's names are written, told by its third name (which older readers never read back):
// nothing for plain ASCII, as files always were.
const char* const latin1Tag = "LATIN-1";
const char* const utf8Tag = "UTF-8";

juce::juce_wchar widestCharacter(const juce::String& name)
{
    juce::juce_wchar widest = 0;
    for (auto p = name.getCharPointer(); !p.isEmpty();)
        widest = std::max(widest, p.getAndAdvance());
    return widest;
}

void appendName(juce::MemoryBlock& block, const juce::String& name, bool asUtf8)
{
    // Older files hold one byte per character, and readers still expect that for such names.
    // The low byte of a wider character could be a marker (Cyrillic A is U+0410): those names
    // go as UTF-8.
    if (asUtf8)
    {
        block.append(name.toRawUTF8(), name.getNumBytesAsUTF8());
        return;
    }
    for (auto p = name.getCharPointer(); !p.isEmpty();)
    {
        const auto byte = (std::uint8_t)p.getAndAdvance();
        block.append(&byte, 1);
    }
}

// Valid UTF-8 holding at least one multi-byte sequence; plain ASCII and Latin-1 bytes are not.
bool isMultiByteUtf8(const std::uint8_t* bytes, size_t size)
{
    bool multiByte = false;
    for (size_t i = 0; i < size;)
    {
        const auto b = bytes[i];
        size_t length = 1;
        juce::uint32 value = b, minimum = 0;
        if (b < 0x80)
        {
            ++i;
            continue;
        }
        if ((b & 0xE0) == 0xC0)
            length = 2, value = b & 0x1F, minimum = 0x80;
        else if ((b & 0xF0) == 0xE0)
            length = 3, value = b & 0x0F, minimum = 0x800;
        else if ((b & 0xF8) == 0xF0)
            length = 4, value = b & 0x07, minimum = 0x10000;
        else
            return false;
        if (i + length > size)
            return false;
        for (size_t k = 1; k < length; ++k)
        {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (bytes[i + k] & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        multiByte = true;
        i += length;
    }
    return multiByte;
}

enum class NameEncoding
{
    guessed, // older files: UTF-8 when the bytes are, else Latin-1
    latin1,
    utf8
};

juce::String nameFrom(const std::uint8_t* bytes, size_t size, NameEncoding encoding = NameEncoding::guessed)
{
    // Zero bytes never belong to a name.
    std::vector<std::uint8_t> kept;
    kept.reserve(size);
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] != 0)
            kept.push_back(bytes[i]);

    if (encoding != NameEncoding::latin1 && isMultiByteUtf8(kept.data(), kept.size()))
        return juce::String::fromUTF8((const char*)kept.data(), (int)kept.size());

    juce::String name;
    name.preallocateBytes(kept.size() * 2 + 1);
    for (auto b : kept)
        name += juce::String::charToString((juce::juce_wchar)b);
    return name;
}

} // namespace

// Keeps the output alive while a sender uses it: closing waits until no sender is inside.
class MIDI_PORTS_Control::SendScope
{
public:
    explicit SendScope(const MIDI_PORTS_Control& c, bool linkTest = false) : control(c)
    {
        // Only senders that may touch the output count, so a busy sender cannot starve a close.
        if (!control.outputOpen.load())
            return;
        control.activeSenders.fetch_add(1);
        entered = true;
        // Probing is read after counting in: a probe that starts meanwhile waits for this sender
        // before it swaps the output, or this sender sees the probe and stays silent.
        if (control.outputOpen.load() && (linkTest || !control.probing.load()))
            output = control.output.get();
    }
    ~SendScope()
    {
        if (entered)
            control.activeSenders.fetch_sub(1);
    }

    ScheduledMidiOutput* get() const noexcept { return output; }

private:
    const MIDI_PORTS_Control& control;
    ScheduledMidiOutput* output = nullptr;
    bool entered = false;
};

MIDI_PORTS_Control::MIDI_PORTS_Control(MidiDeviceBackend& b, juce::File file)
    : backend(b), portFile(std::move(file))
{
}

MIDI_PORTS_Control::~MIDI_PORTS_Control()
{
    // Input first: a message arriving meanwhile may still want to send.
    closeInput();
    closeOutput();
}

//==============================================================================
void MIDI_PORTS_Control::selectInputPort(int position, juce::MidiInputCallback* callback)
{
    if (position < 1)
        portNames.set(0, noPort);
    else if (const auto names = backend.getInputNames(); position <= names.size())
        portNames.set(0, names[position - 1]);
    openInput(position, callback);
}

void MIDI_PORTS_Control::selectOutputPort(int position)
{
    if (position < 1)
        portNames.set(1, noPort);
    else if (const auto names = backend.getOutputNames(); position <= names.size())
        portNames.set(1, names[position - 1]);
    openOutput(position);
}

void MIDI_PORTS_Control::restorePorts(juce::MidiInputCallback* callback)
{
    portNames = juce::StringArray{noPort, noPort, noPort};
    loadPortFile();
    openByName(callback);
}

void MIDI_PORTS_Control::openByName(juce::MidiInputCallback* callback)
{
    openInput(positionOf(portNames[0], backend.getInputNames()), callback);
    openOutput(positionOf(portNames[1], backend.getOutputNames()));
}

void MIDI_PORTS_Control::beginProbe()
{
    probing.store(true);
    closeInput();
    closeOutput();
}

void MIDI_PORTS_Control::probePair(int inputPosition, int outputPosition, juce::MidiInputCallback* callback)
{
    if (!probing.load())
        return;
    openInput(inputPosition, callback);
    openOutput(outputPosition);
}

void MIDI_PORTS_Control::endProbe(bool keep, juce::MidiInputCallback* callback)
{
    if (!probing.load())
        return;
    if (keep)
    {
        const auto inputs = backend.getInputNames();
        const auto outputs = backend.getOutputNames();
        portNames.set(0, inputIndex >= 0 && inputIndex < inputs.size() ? inputs[inputIndex] : juce::String(noPort));
        portNames.set(1, outputIndex >= 0 && outputIndex < outputs.size() ? outputs[outputIndex] : juce::String(noPort));
        probing.store(false);
        return;
    }
    closeInput();
    closeOutput();
    probing.store(false);
    openByName(callback);
}

void MIDI_PORTS_Control::sendLinkTest(const std::uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0 || size > maxSysexPiece)
        return;
    const SendScope scope(*this, true);
    if (auto* out = scope.get())
        out->scheduleMessage(data, size, juce::Time::getMillisecondCounterHiRes());
}

void MIDI_PORTS_Control::openInput(int position, juce::MidiInputCallback* callback)
{
    closeInput();
    if (position < 1)
        return;
    inputIndex = position - 1;
    input = backend.openInput(inputIndex, callback);
    if (input != nullptr)
    {
        input->start();
        inputOpen.store(true);
    }
}

void MIDI_PORTS_Control::openOutput(int position)
{
    closeOutput();
    if (position < 1)
        return;
    outputIndex = position - 1;
    if (auto device = backend.openOutput(outputIndex))
    {
        output = std::make_unique<ScheduledMidiOutput>(std::move(device));
        output->startBackgroundThread();
        ++wireEpoch;
        outputOpen.store(true);
    }
}

void MIDI_PORTS_Control::closeInput()
{
    inputOpen.store(false);
    inputIndex = -1;
    if (input != nullptr)
    {
        input->stop();
        // Destroying the device waits for a callback that is still running.
        input.reset();
    }
}

void MIDI_PORTS_Control::releaseSoundingNotes() noexcept
{
    const SendScope scope(*this);
    if (auto* out = scope.get())
        out->releaseSoundingNotes();
}

bool MIDI_PORTS_Control::closeIfNotResponding(double nowMs)
{
    if (probing.load() || !outputOpen.load() || output == nullptr || !output->isStalled(nowMs))
        return false;
    const int position = outputIndex + 1;
    closeOutput();
    // Still the position the user chose, for the setup panel; the port itself is closed.
    outputIndex = position - 1;
    return true;
}

void MIDI_PORTS_Control::closeOutput()
{
    const bool wasOpen = outputOpen.exchange(false);
    outputIndex = -1;
    // Senders that saw the port open finish first; they never wait on this thread.
    while (activeSenders.load() != 0)
        juce::Thread::yield();
    output.reset();
    if (wasOpen)
        ++wireEpoch;
}

//==============================================================================
juce::MemoryBlock MIDI_PORTS_Control::formatPortFile(const juce::StringArray& names)
{
    juce::MemoryBlock block;
    const std::uint8_t markers[] = {inputNameEnd, outputNameEnd, thirdNameEnd};
    const auto widest = std::max(widestCharacter(names[0]), widestCharacter(names[1]));
    const bool asUtf8 = widest > 0xFF;
    // A Latin-1 name whose bytes happen to be valid UTF-8 would be misread without the tag.
    const juce::String third = widest > 0xFF ? utf8Tag : widest > 0x7F ? latin1Tag : names[2];
    for (int i = 0; i < 3; ++i)
    {
        appendName(block, i == 2 ? third : names[i], asUtf8);
        block.append(&markers[i], 1);
    }
    return block;
}

bool MIDI_PORTS_Control::parsePortFile(const juce::MemoryBlock& content, juce::String& inputName,
                                       juce::String& outputName)
{
    const auto* bytes = static_cast<const std::uint8_t*>(content.getData());
    const auto size = content.getSize();
    size_t p = 0, q = 0;
    bool foundP = false, foundQ = false;
    for (size_t i = 0; i < size; ++i)
    {
        if (bytes[i] == inputNameEnd)
        {
            p = i;
            foundP = true;
        }
        else if (bytes[i] == outputNameEnd)
        {
            q = i;
            foundQ = true;
        }
    }
    if (!foundP || !foundQ || p == 0 || q <= p)
        return false;
    size_t tagEnd = q + 1;
    while (tagEnd < size && bytes[tagEnd] != thirdNameEnd)
        ++tagEnd;
    const std::string tag((const char*)bytes + q + 1, tagEnd - q - 1);
    const auto encoding = tag == utf8Tag ? NameEncoding::utf8 : tag == latin1Tag ? NameEncoding::latin1 : NameEncoding::guessed;
    inputName = nameFrom(bytes, p, encoding);
    outputName = nameFrom(bytes + p + 1, q - p - 1, encoding);
    return true;
}

void MIDI_PORTS_Control::loadPortFile()
{
    portFileMissing = !portFile.exists();
    if (!portFile.existsAsFile())
        savePortFile();

    // Device names are short; an oversized file is malformed and leaves the names as they are.
    if (portFile.getSize() > maxPortFileSize)
        return;

    juce::MemoryBlock content;
    {
        juce::FileInputStream in(portFile);
        // A file that exists but cannot be read now (no free handles, say) is left as it is.
        if (!in.openedOk())
            return;
        in.readIntoMemoryBlock(content);
    }
    if (content.getSize() < minimumFileSize)
    {
        savePortFile();
        return;
    }

    juce::String in, out;
    if (parsePortFile(content, in, out))
    {
        portNames.set(0, in);
        portNames.set(1, out);
    }
}

bool MIDI_PORTS_Control::savePortFile() const
{
    const auto bytes = formatPortFile(portNames);
    return SafeFileWriter::write(portFile, bytes.getData(), bytes.getSize());
}

//==============================================================================
void MIDI_PORTS_Control::sendBufferNow(const juce::MidiBuffer& buffer)
{
    const SendScope scope(*this);
    if (auto* out = scope.get())
        out->sendBlockOfMessages(buffer, juce::Time::getMillisecondCounterHiRes(), 1000.0);
}

void MIDI_PORTS_Control::sendBufferAt(const juce::MidiBuffer& buffer, int offsetMs, double samplesPerSecond)
{
    const SendScope scope(*this);
    if (auto* out = scope.get())
        out->sendBlockOfMessages(buffer, juce::Time::getMillisecondCounterHiRes() + offsetMs,
                                 samplesPerSecond);
}

bool MIDI_PORTS_Control::scheduleMessage(const std::uint8_t* data, int size, double dueMs) noexcept
{
    if (size <= 0)
        return false;
    const SendScope scope(*this);
    auto* out = scope.get();
    return out != nullptr && out->scheduleMessage(data, (size_t)size, dueMs);
}

void MIDI_PORTS_Control::sendShortMessage(int status, int channel, int data1, int data2)
{
    // Above 16 the status would turn into another kind of message.
    if (channel > 16)
        return;
    const SendScope scope(*this);
    if (auto* out = scope.get())
    {
        const std::uint8_t bytes[] = {(std::uint8_t)(status | (std::max(channel, 1) - 1)),
                                      (std::uint8_t)(data1 & 0x7F), (std::uint8_t)(data2 & 0x7F)};
        // Scheduled as it stands: no MidiBuffer, so no allocation on the audio thread.
        const auto size = (size_t)juce::MidiMessage::getMessageLengthFromFirstByte(bytes[0]);
        out->scheduleMessage(bytes, size, juce::Time::getMillisecondCounterHiRes());
    }
}

void MIDI_PORTS_Control::sendController(int channel, int controller, int value)
{
    sendShortMessage(0xB0, channel, controller, value);
}

void MIDI_PORTS_Control::sendNoteOff(int channel, int note)
{
    sendShortMessage(0x80, channel, note, 0);
}

void MIDI_PORTS_Control::sendPitchWheel(int channel, int position)
{
    sendShortMessage(0xE0, channel, position & 0x7F, position >> 7);
}

void MIDI_PORTS_Control::sendProgramChange(int channel, int program)
{
    if (program < 0 || program >= 128)
        return;
    sendShortMessage(0xC0, channel, program, 0);
}

void MIDI_PORTS_Control::sendSysex(const std::uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;
    const SendScope scope(*this);
    auto* out = scope.get();
    if (out == nullptr)
        return;

    if (size <= maxSysexPiece)
    {
        out->scheduleMessage(data, size, juce::Time::getMillisecondCounterHiRes());
        return;
    }

    // The sender thread puts it on the wire: what is already due (a program change sent just
    // before a dump, say) goes out first and in order; what lies in the future (automation and
    // forwarded notes waiting for the latency offset) is kept and goes out after the dump:
    // dropping it would lose edits and leave notes hanging.
    // The synthesizer may forget its NRPN selection over a long dump: select again afterwards.
    ++wireEpoch;
    out->sendLongMessage(data, size, longSysexWaitMs);
}

size_t MIDI_PORTS_Control::getNumDropped() const
{
    const SendScope scope(*this);
    const auto* out = scope.get();
    return out != nullptr ? out->getNumDropped() : 0;
}

} // namespace zarnel
