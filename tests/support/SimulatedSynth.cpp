#include "SimulatedSynth.h"

#include "model/ParamTables.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <utility>

namespace zarnel::test
{

namespace
{
struct GlobalInfo
{
    int nrpn;
    int maximum;
    int initial;
};

// In the order of the global dump. Defaults as a unit leaves the factory: channel 1, SysEx on,
// NRPN in and out, tuning centred.
constexpr std::array<GlobalInfo, SimulatedSynth::numGlobals> globalTable{{
    {384, 24, 12},  // coarse
    {385, 100, 50}, // fine
    {386, 16, 1},   // MIDI channel
    {388, 3, 0},    // clock mode
    {390, 2, 0},    // param send: NRPN
    {391, 3, 0},    // param receive: all
    {394, 1, 1},    // controllers
    {395, 1, 1},    // SysEx
    {406, 1, 0},    // MIDI out select
    {387, 6, 0},    // poly chain
    {389, 1, 1},    // local control
    {400, 1, 0},    // audio output
    {404, 2, 0},    // pot mode
    {397, 3, 0},    // damper polarity
    {396, 5, 0},    // pedal
    {393, 1, 1},    // pressure
    {399, 3, 0},    // pressure curve
    {398, 3, 0},    // velocity curve
    {414, 1, 0},    // arp latch mode
}};

constexpr int firstUnassignedNrpn = 380;

constexpr std::uint8_t sysexStart = 0xF0;
constexpr std::uint8_t sysexEnd = 0xF7;

size_t lengthOfMessage(std::uint8_t status)
{
    if (status < 0xF0)
    {
        const auto type = status & 0xF0;
        return type == 0xC0 || type == 0xD0 ? 2 : 3;
    }
    switch (status)
    {
        case 0xF1:
        case 0xF3:
            return 2;
        case 0xF2:
            return 3;
        default:
            return 1;
    }
}

std::uint8_t dataByte(int value)
{
    return (std::uint8_t)(value & 0x7F);
}
} // namespace

SimulatedSynth::SimulatedSynth(VirtualMidiBackend& b, juce::String name)
    : SimulatedSynth(b, std::move(name), Options{})
{
}

SimulatedSynth::SimulatedSynth(VirtualMidiBackend& b, juce::String name, Options o)
    : backend(b), deviceName(std::move(name)), threaded(o.deliveryThread), options(o)
{
    for (size_t i = 0; i < globalTable.size(); ++i)
        globalValues[i] = globalTable[i].initial;
    edit = banks.bank(0).getProgramPadded(0);
    if (threaded)
        worker = std::thread([this] { workerLoop(); });
    backend.addDevice(deviceName, this);
}

SimulatedSynth::~SimulatedSynth()
{
    {
        const std::lock_guard<std::mutex> lk(queueLock);
        stopping = true;
    }
    queueChanged.notify_all();
    if (worker.joinable())
        worker.join();
    backend.removeDevice(deviceName);
}

//==============================================================================
// Queue: one message at a time, in arrival order, whoever hands it in.

void SimulatedSynth::receivedFromPlugin(const juce::MidiMessage& message)
{
    const auto* raw = message.getRawData();
    Bytes piece(raw, raw + message.getRawDataSize());
    submit([this, piece = std::move(piece)] { handlePiece(piece); });
}

void SimulatedSynth::submit(std::function<void()> job)
{
    {
        const std::lock_guard<std::mutex> lk(queueLock);
        jobs.push_back(std::move(job));
    }
    if (threaded)
        queueChanged.notify_all();
    else
        pump();
}

void SimulatedSynth::pump()
{
    std::unique_lock<std::mutex> lk(queueLock);
    // Whoever is pumping already (further up this thread's stack, or another thread) will
    // take the new job: that is what keeps answers to answers from recursing.
    if (busy)
        return;
    busy = true;
    while (!jobs.empty())
    {
        auto job = std::move(jobs.front());
        jobs.pop_front();
        lk.unlock();
        job();
        lk.lock();
    }
    busy = false;
    queueChanged.notify_all();
}

void SimulatedSynth::workerLoop()
{
    std::unique_lock<std::mutex> lk(queueLock);
    for (;;)
    {
        queueChanged.wait(lk, [this] { return stopping || !jobs.empty(); });
        if (stopping)
            return;
        busy = true;
        auto job = std::move(jobs.front());
        jobs.pop_front();
        lk.unlock();
        job();
        lk.lock();
        busy = false;
        queueChanged.notify_all();
    }
}

bool SimulatedSynth::waitUntilIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lk(queueLock);
    return queueChanged.wait_for(lk, std::chrono::milliseconds(timeoutMs),
                                 [this] { return jobs.empty() && !busy; });
}

bool SimulatedSynth::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

//==============================================================================
// Input: a byte parser, since the plug-in's pieces need not be whole messages.

void SimulatedSynth::handlePiece(const Bytes& piece)
{
    std::vector<Delivery> deliveries;
    {
        const std::lock_guard<std::mutex> lk(stateLock);
        // A piece counts for the message it adds bytes to, not for one it merely interrupts.
        bool counted = false;
        const auto extend = [&](std::uint8_t b)
        {
            partial.push_back(b);
            if (!std::exchange(counted, true))
                ++partialPieces;
        };
        const auto startMessage = [&](Bytes first)
        {
            partial = std::move(first);
            partialPieces = 1;
            counted = true;
        };

        const double start = std::max(clockMs, inFreeMs);
        std::vector<Outgoing> out;
        for (size_t i = 0; i < piece.size(); ++i)
        {
            const auto b = piece[i];
            const double t = start + (double)(i + 1) * options.msPerByte;

            if (b >= 0xF8) // real-time bytes may sit anywhere, even inside SysEx
            {
                messageComplete({b}, t, 1, out);
            }
            else if (b == sysexStart)
            {
                if (!partial.empty())
                    ++stats.ignored;
                startMessage({b});
                partialStartMs = t - options.msPerByte;
                inSysex = true;
                runningStatus = 0;
            }
            else if (b == sysexEnd)
            {
                if (inSysex)
                {
                    extend(b);
                    inSysex = false;
                    completePartial(t, out);
                }
                else if (!partial.empty())
                {
                    ++stats.ignored;
                    partial.clear();
                }
            }
            else if (b >= 0x80)
            {
                // Any other status byte ends an unfinished message, SysEx included.
                if (!partial.empty())
                    ++stats.ignored;
                startMessage({b});
                inSysex = false;
                runningStatus = b < 0xF0 ? b : 0;
                expectedLength = lengthOfMessage(b);
                if (expectedLength == 1)
                    completePartial(t, out);
            }
            else if (inSysex)
            {
                extend(b);
            }
            else if (!partial.empty())
            {
                extend(b);
                if (partial.size() == expectedLength)
                    completePartial(t, out);
            }
            else if (runningStatus != 0)
            {
                startMessage({runningStatus, b});
                expectedLength = lengthOfMessage(runningStatus);
                if (partial.size() == expectedLength)
                    completePartial(t, out);
            }
            // else: a stray data byte, dropped like the hardware does
        }
        inFreeMs = start + (double)piece.size() * options.msPerByte;
        clockMs = std::max(clockMs, inFreeMs);

        for (auto& o : out)
            prepare(std::move(o), deliveries);
    }
    deliver(deliveries);
}

void SimulatedSynth::completePartial(double timeMs, std::vector<Outgoing>& out)
{
    auto message = std::move(partial);
    partial.clear();
    messageComplete(std::move(message), timeMs, partialPieces, out);
}

void SimulatedSynth::messageComplete(Bytes message, double timeMs, int pieces, std::vector<Outgoing>& out)
{
    receivedLog.push_back({message, timeMs, pieces});
    if (message[0] == sysexStart)
        handleSysex(message, timeMs, out);
    else if (message[0] < 0xF0)
        handleChannelMessage(message);
}

void SimulatedSynth::handleSysex(const Bytes& m, double timeMs, std::vector<Outgoing>& out)
{
    if (globalValues[globalSysexEnable] == 0 || m.size() < 5 || m[1] != ProgramSysex::manufacturerId ||
        m[2] != ProgramSysex::modelId)
    {
        ++stats.ignored;
        return;
    }

    const double ready = timeMs + options.responseDelayMs;
    switch (m[3])
    {
        case ProgramSysex::cmdProgramDumpRequest:
            if (m.size() != 7)
                break;
            ++stats.programRequests;
            if (!ProgramSysex::isValidBank(m[4]) || !ProgramSysex::isValidProgram(m[5]))
                break;
            out.push_back(programDumpOf(m[4], m[5], ready));
            return;

        case ProgramSysex::cmdEditBufferDumpRequest:
            if (m.size() != 5)
                break;
            ++stats.editBufferRequests;
            out.push_back(editBufferDumpOf(ready));
            return;

        case ProgramSysex::cmdGlobalDumpRequest:
            if (m.size() != 5)
                break;
            ++stats.globalRequests;
            out.push_back(globalDumpOf(ready));
            return;

        case ProgramSysex::cmdProgramDump:
            if (m.size() != ProgramSysex::programDumpSize || !ProgramSysex::isValidBank(m[4]) ||
                !ProgramSysex::isValidProgram(m[5]))
                break;
            if (partialStartMs + 1e-6 < storingUntilMs) // rounding of the byte times aside
            {
                ++stats.dumpsLostWhileStoring;
                return;
            }
            banks.bank(m[4]).setProgram(m[5], ProgramSysex::unpack(m.data() + 6));
            storingUntilMs = timeMs + options.programStoreMs;
            ++stats.programDumpsReceived;
            return;

        case ProgramSysex::cmdEditBufferDump:
            if (m.size() != ProgramSysex::editBufferDumpSize)
                break;
            edit = ProgramSysex::unpack(m.data() + 4);
            ++stats.editBufferDumpsReceived;
            return;

        default:
            break;
    }
    ++stats.ignored;
}

void SimulatedSynth::trackVoices(const Bytes& m)
{
    if (m.size() < 3)
        return;
    auto& v = voices[(size_t)(m[0] & 0x0F)];
    const int note = m[1] & 0x7F;
    const auto letGo = [&v](size_t n) {
        if (v.held[n] && v.pedal)
            v.sustained[n] = true;
        v.held[n] = false;
    };
    switch (m[0] & 0xF0)
    {
        case 0x90:
            if (m[2] > 0)
                v.held[(size_t)note] = true;
            else
                letGo((size_t)note);
            break;
        case 0x80:
            letGo((size_t)note);
            break;
        case 0xB0:
            if (note == 64)
            {
                v.pedal = m[2] >= 64;
                if (!v.pedal)
                    v.sustained.fill(false);
            }
            else if (note == 120) // all sound off
            {
                v.held.fill(false);
                v.sustained.fill(false);
            }
            else if (note == 123) // all notes off: the pedal still holds them
            {
                for (size_t n = 0; n < v.held.size(); ++n)
                    letGo(n);
            }
            break;
        default:
            break;
    }
}

void SimulatedSynth::handleChannelMessage(const Bytes& m)
{
    trackVoices(m);
    const int channel = (m[0] & 0x0F) + 1;
    const int wanted = globalValues[globalMidiChannel];
    if (wanted != 0 && wanted != channel)
    {
        ++stats.ignored;
        return;
    }

    switch (m[0] & 0xF0)
    {
        case 0xB0:
            controlChange(m[1], m[2]);
            break;
        case 0xC0:
            programNumber = m[1];
            edit = banks.bank(bankNumber).getProgramPadded(programNumber);
            ++stats.programChanges;
            break;
        case 0x90:
            sounding[m[1] & 0x7F] = m[2] > 0;
            break;
        case 0x80:
            sounding[m[1] & 0x7F] = false;
            break;
        case 0xE0:
            pitchWheelPosition = (m[2] & 0x7F) * 128 + (m[1] & 0x7F);
            break;
        default: // pressure: played, nothing kept
            break;
    }
}

void SimulatedSynth::controlChange(int controller, int value)
{
    switch (controller)
    {
        case 99:
            rxNrpnMsb = value;
            break;
        case 98:
            rxNrpnLsb = value;
            break;
        case 6:
            rxDataMsb = value;
            break;
        case 38:
            rxDataLsb = value;
            applyNrpn();
            break;
        case 1:
            modWheelValue = value;
            break;
        case 123: // all notes off
            sounding.fill(false);
            break;
        case 32:
            // The bank waits for the program change that follows it.
            if (ProgramSysex::isValidBank(value))
                bankNumber = value;
            else
                ++stats.ignored;
            break;
        default:
            break;
    }
}

void SimulatedSynth::applyNrpn()
{
    const int receive = globalValues[globalParamReceive];
    if (receive != 0 && receive != 1) // CC only, or off
    {
        ++stats.ignored;
        return;
    }

    const int nrpn = rxNrpnMsb * 128 + rxNrpnLsb;
    const int value = rxDataMsb * 128 + rxDataLsb;
    if (const int g = globalIndexForNrpn(nrpn); g >= 0)
    {
        globalValues[(size_t)g] = std::min(value, globalTable[(size_t)g].maximum);
        ++stats.nrpnsApplied;
        return;
    }
    if (nrpn < firstUnassignedNrpn)
    {
        const int index = ParamTables::get().indexForNrpn(nrpn);
        if (index >= 0 && index < (int)ProgramSysex::recordSize)
        {
            edit[(size_t)index] = (std::uint8_t)(value & 0xFF);
            ++stats.nrpnsApplied;
            return;
        }
    }
    ++stats.ignored;
}

//==============================================================================
// Output

SimulatedSynth::Outgoing SimulatedSynth::programDumpOf(int bank, int prog, double readyMs) const
{
    const auto record = banks.bank(bank).getProgramPadded(prog);
    return {ProgramSysex::programDump(bank, prog, record.data(), record.size()), Kind::programDump, bank,
            prog, readyMs};
}

SimulatedSynth::Outgoing SimulatedSynth::editBufferDumpOf(double readyMs) const
{
    return {ProgramSysex::editBufferDump(edit.data(), edit.size()), Kind::editBufferDump, -1, -1, readyMs};
}

SimulatedSynth::Outgoing SimulatedSynth::globalDumpOf(double readyMs) const
{
    Bytes m{sysexStart, ProgramSysex::manufacturerId, ProgramSysex::modelId, ProgramSysex::cmdGlobalDump};
    for (const int v : globalValues)
    {
        m.push_back((std::uint8_t)(v & 0x0F));
        m.push_back((std::uint8_t)((v >> 4) & 0x0F));
    }
    m.push_back(sysexEnd);
    return {std::move(m), Kind::globalDump, -1, -1, readyMs};
}

int SimulatedSynth::sendChannel() const
{
    const int c = globalValues[globalMidiChannel];
    return c >= 1 && c <= 16 ? c : 1;
}

void SimulatedSynth::appendShort(std::vector<Outgoing>& out, std::uint8_t status, int data1, int data2) const
{
    const auto s = (std::uint8_t)(status | (sendChannel() - 1));
    out.push_back({Bytes{s, dataByte(data1), dataByte(data2)}, Kind::other, -1, -1, clockMs});
}

void SimulatedSynth::appendNrpn(std::vector<Outgoing>& out, int nrpn, int value) const
{
    appendShort(out, 0xB0, 99, nrpn >> 7);
    appendShort(out, 0xB0, 98, nrpn);
    appendShort(out, 0xB0, 6, value >> 7);
    appendShort(out, 0xB0, 38, value);
}

void SimulatedSynth::prepare(Outgoing o, std::vector<Delivery>& deliveries)
{
    int copies = 1;
    if (o.kind != Kind::other)
    {
        std::optional<Fault> fault;
        if (o.kind == Kind::programDump)
            if (auto it = slotFaults.find({o.bank, o.program}); it != slotFaults.end() && !it->second.empty())
            {
                fault = it->second.front();
                it->second.pop_front();
            }
        if (!fault && !faults.empty())
        {
            fault = faults.front();
            faults.pop_front();
        }
        if (fault)
            switch (*fault)
            {
                case Fault::drop:
                    ++stats.dumpsDropped;
                    return;
                case Fault::truncate:
                    o.bytes.resize(o.bytes.size() / 2);
                    break;
                case Fault::flipByte:
                    o.bytes[o.bytes.size() / 2] ^= 0x01;
                    break;
                case Fault::duplicate:
                    copies = 2;
                    break;
            }
    }

    const auto size = o.bytes.size();
    const auto fragment =
        options.fragmentSize > 0 && o.bytes[0] == sysexStart ? (size_t)options.fragmentSize : size;
    for (int c = 0; c < copies; ++c)
    {
        const double start = std::max(o.readyMs, outFreeMs);
        int pieces = 0;
        for (size_t at = 0; at < size; at += fragment)
        {
            const auto end = std::min(size, at + fragment);
            deliveries.push_back(
                {Bytes(o.bytes.begin() + (std::ptrdiff_t)at, o.bytes.begin() + (std::ptrdiff_t)end),
                 start + (double)end * options.msPerByte});
            ++pieces;
        }
        outFreeMs = start + (double)size * options.msPerByte;
        sentLog.push_back({o.bytes, outFreeMs, pieces});

        switch (o.kind)
        {
            case Kind::programDump:
                ++stats.programDumpsSent;
                break;
            case Kind::editBufferDump:
                ++stats.editBufferDumpsSent;
                break;
            case Kind::globalDump:
                ++stats.globalDumpsSent;
                break;
            case Kind::other:
                break;
        }
    }
}

void SimulatedSynth::deliver(const std::vector<Delivery>& deliveries)
{
    for (const auto& d : deliveries)
    {
        {
            const std::lock_guard<std::mutex> lk(stateLock);
            clockMs = std::max(clockMs, d.timeMs);
        }
        // Time stamps carry the virtual time in seconds, as JUCE's inputs stamp real time.
        if (!backend.sendToPlugin(deviceName, rawMessage(d.bytes.data(), d.bytes.size(), d.timeMs * 0.001)))
        {
            const std::lock_guard<std::mutex> lk(stateLock);
            ++stats.undelivered;
        }
    }
}

juce::MidiMessage SimulatedSynth::rawMessage(const std::uint8_t* data, size_t size, double timeStamp)
{
    jassert(size > 0);
    // MidiMessage(const void*, int) copies any bytes as given. Only its debug check objects to a
    // piece of three bytes or fewer that starts with a data byte (it wants a short message
    // there), so such a piece is built with a stand-in first byte that is then put back.
    if (size > 3 || data[0] >= 0xF0)
        return juce::MidiMessage(data, (int)size, timeStamp);

    std::array<std::uint8_t, 3> copy{};
    std::memcpy(copy.data(), data, size);
    copy[0] = sysexStart;
    juce::MidiMessage m(copy.data(), (int)size, timeStamp);
    const_cast<juce::uint8*>(m.getRawData())[0] = data[0];
    return m;
}

void SimulatedSynth::queueFrontPanel(std::function<void(std::vector<Outgoing>&)> make)
{
    submit(
        [this, make = std::move(make)]
        {
            std::vector<Delivery> deliveries;
            {
                const std::lock_guard<std::mutex> lk(stateLock);
                std::vector<Outgoing> out;
                make(out);
                for (auto& o : out)
                    prepare(std::move(o), deliveries);
            }
            deliver(deliveries);
        });
}

void SimulatedSynth::knobMove(int index, int value)
{
    queueFrontPanel(
        [this, index, value](std::vector<Outgoing>& out)
        {
            if (index >= 0 && index < (int)ProgramSysex::recordSize)
                edit[(size_t)index] = (std::uint8_t)(value & 0xFF);
            // In CC mode the instrument sends its own controller map, which we do not model.
            if (globalValues[globalParamSend] == 0)
                appendNrpn(out, ParamTables::get().nrpn(index), value);
        });
}

void SimulatedSynth::globalKnobMove(int globalIndex, int value)
{
    if (globalIndex < 0 || globalIndex >= numGlobals)
        return;
    queueFrontPanel(
        [this, globalIndex, value](std::vector<Outgoing>& out)
        {
            const auto g = (size_t)globalIndex;
            globalValues[g] = std::clamp(value, 0, globalTable[g].maximum);
            if (globalValues[globalParamSend] == 0)
                appendNrpn(out, globalTable[g].nrpn, globalValues[g]);
        });
}

void SimulatedSynth::sendGlobalDump()
{
    queueFrontPanel([this](std::vector<Outgoing>& out) { out.push_back(globalDumpOf(clockMs)); });
}

void SimulatedSynth::sendProgramDumpOf(int bank, int prog)
{
    if (!ProgramSysex::isValidBank(bank) || !ProgramSysex::isValidProgram(prog))
        return;
    queueFrontPanel([this, bank, prog](std::vector<Outgoing>& out)
                    { out.push_back(programDumpOf(bank, prog, clockMs)); });
}

void SimulatedSynth::sendEditBufferDump()
{
    queueFrontPanel([this](std::vector<Outgoing>& out) { out.push_back(editBufferDumpOf(clockMs)); });
}

void SimulatedSynth::noteOn(int note, int velocity)
{
    queueFrontPanel([this, note, velocity](std::vector<Outgoing>& out)
                    { appendShort(out, 0x90, note, velocity); });
}

void SimulatedSynth::noteOff(int note)
{
    queueFrontPanel([this, note](std::vector<Outgoing>& out) { appendShort(out, 0x80, note, 0); });
}

void SimulatedSynth::sendRaw(const Bytes& message)
{
    if (message.empty())
        return;
    queueFrontPanel(
        [this, message](std::vector<Outgoing>& out) {
            out.push_back({message, Kind::other, -1, -1, clockMs});
        });
}

//==============================================================================
// Faults, state, logs

void SimulatedSynth::injectFault(Fault fault, int count)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    for (int i = 0; i < count; ++i)
        faults.push_back(fault);
}

void SimulatedSynth::injectFaultFor(int bank, int prog, Fault fault, int count)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    auto& list = slotFaults[{bank, prog}];
    for (int i = 0; i < count; ++i)
        list.push_back(fault);
}

void SimulatedSynth::clearFaults()
{
    const std::lock_guard<std::mutex> lk(stateLock);
    faults.clear();
    slotFaults.clear();
}

void SimulatedSynth::setResponseDelayMs(double ms)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    options.responseDelayMs = ms;
}

void SimulatedSynth::setMsPerByte(double ms)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    options.msPerByte = ms;
}

void SimulatedSynth::setFragmentSize(int bytes)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    options.fragmentSize = bytes;
}

SimulatedSynth::Record SimulatedSynth::program(int bank, int prog) const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return banks.bank(bank).getProgramPadded(prog);
}

void SimulatedSynth::setProgram(int bank, int prog, const Record& record)
{
    if (!ProgramSysex::isValidBank(bank) || !ProgramSysex::isValidProgram(prog))
        return;
    const std::lock_guard<std::mutex> lk(stateLock);
    banks.bank(bank).setProgram(prog, record);
}

SimulatedSynth::Record SimulatedSynth::editBuffer() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return edit;
}

void SimulatedSynth::setEditBuffer(const Record& record)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    edit = record;
}

int SimulatedSynth::global(int index) const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return index >= 0 && index < numGlobals ? globalValues[(size_t)index] : 0;
}

void SimulatedSynth::setGlobal(int index, int value)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    if (index >= 0 && index < numGlobals)
        globalValues[(size_t)index] = value;
}

std::array<int, SimulatedSynth::numGlobals> SimulatedSynth::globals() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return globalValues;
}

int SimulatedSynth::currentBank() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return bankNumber;
}

int SimulatedSynth::currentProgram() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return programNumber;
}

std::vector<int> SimulatedSynth::soundingNotes() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    std::vector<int> notes;
    for (int n = 0; n < (int)sounding.size(); ++n)
        if (sounding[(size_t)n])
            notes.push_back(n);
    return notes;
}

std::vector<int> SimulatedSynth::notesSoundingOnAnyChannel() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    std::vector<int> notes;
    for (size_t c = 0; c < voices.size(); ++c)
        for (size_t n = 0; n < 128; ++n)
            if (voices[c].held[n] || voices[c].sustained[n])
                notes.push_back((int)(c + 1) * 1000 + (int)n);
    return notes;
}

std::vector<int> SimulatedSynth::channelsWithPedalDown() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    std::vector<int> channels;
    for (size_t c = 0; c < voices.size(); ++c)
        if (voices[c].pedal)
            channels.push_back((int)c + 1);
    return channels;
}

int SimulatedSynth::pitchWheel() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return pitchWheelPosition;
}

int SimulatedSynth::modWheel() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return modWheelValue;
}

double SimulatedSynth::virtualTimeMs() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return clockMs;
}

void SimulatedSynth::advanceVirtualTime(double ms)
{
    const std::lock_guard<std::mutex> lk(stateLock);
    clockMs += ms;
}

SimulatedSynth::Counters SimulatedSynth::counters() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return stats;
}

std::vector<SimulatedSynth::LogEntry> SimulatedSynth::received() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return receivedLog;
}

std::vector<SimulatedSynth::LogEntry> SimulatedSynth::sent() const
{
    const std::lock_guard<std::mutex> lk(stateLock);
    return sentLog;
}

void SimulatedSynth::clearLogs()
{
    const std::lock_guard<std::mutex> lk(stateLock);
    receivedLog.clear();
    sentLog.clear();
}

void SimulatedSynth::resetCounters()
{
    const std::lock_guard<std::mutex> lk(stateLock);
    stats = {};
}

int SimulatedSynth::nrpnOfGlobal(int globalIndex)
{
    return globalIndex >= 0 && globalIndex < numGlobals ? globalTable[(size_t)globalIndex].nrpn : -1;
}

int SimulatedSynth::globalIndexForNrpn(int nrpn)
{
    for (size_t i = 0; i < globalTable.size(); ++i)
        if (globalTable[i].nrpn == nrpn)
            return (int)i;
    return -1;
}

int SimulatedSynth::globalMaximum(int globalIndex)
{
    return globalIndex >= 0 && globalIndex < numGlobals ? globalTable[(size_t)globalIndex].maximum : 0;
}

} // namespace zarnel::test
