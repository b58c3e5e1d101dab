#include "MidiCntrState.h"
#include "NoteTracker.h"

#include "../model/DSI_Program.h"
#include "../platform/SafeFileWriter.h"
#include "../platform/SettingsFolder.h"

#include <algorithm>
#include <bit>
#include <iterator>

namespace zarnel
{

namespace
{
constexpr size_t maxSysexLength = 8192; // far above any dump; a message without an end is dropped
constexpr int pumpIntervalMs = 20;

bool isNrpnOrBankController(int controller) noexcept
{
    return controller == 0 || controller == 6 || controller == 32 || controller == 38 || controller == 98
           || controller == 99;
}

double nowMs() noexcept
{
    return juce::Time::getMillisecondCounterHiRes();
}
} // namespace

MidiCntrState::MidiCntrState(const juce::File& settingsFolder, MidiDeviceBackend& backend)
    : folder(settingsFolder),
      settings(settingsFolder.getChildFile(SettingsFolder::settingsFileName)),
      tables(ParamTables::get()),
      bankFile(settingsFolder.getChildFile(SettingsFolder::bankDataFileName))
{
    for (auto& v : globalValues)
        v.store(0);
    for (auto& b : currentRecord)
        b.store(0);
    for (auto& d : hostValueDeferred)
        d.store(false);

    // Left by a crash in the middle of a save.
    SafeFileWriter::removeStaleTemporaries(folder, {SettingsFolder::settingsFileName, SettingsFolder::bankDataFileName,
                                                    SettingsFolder::portFileName, SettingsFolder::libraryFileName});

    settings.loadSettings();
    settings.appendSpareEntries();
    firstRun = settings.isFirstRun();

    const int channel = settings.getEntryInt(SettingsList::midiChannelEntry);
    if (channel >= 1 && channel <= 16)
    {
        midiChannel = channel;
    }
    else
    {
        midiChannel = 1;
        settings.setEntry(SettingsList::midiChannelEntry, "1");
    }

    bankFile.load(banks);

    ports = std::make_unique<MIDI_PORTS_Control>(backend, folder.getChildFile(SettingsFolder::portFileName));
    portSearch = std::make_unique<PortSearch>(*this);
    transfers = std::make_unique<BankTransfers>(*this);

    clockOutEnabled = settings.getEntryInt(SettingsList::midiClockEntry) == 1;
    thruToHost = settings.getEntryInt(SettingsList::thruToHostEntry) == 1;
    forwardHostMidi = true;

    settings.restoreLatency();
    latencyMode = settings.getLatencyMode();
    const auto table = settings.getLatencyTable();
    for (size_t i = 0; i < table.size(); ++i)
        latencyTable[i] = table[i];

    // A settings file we could not take is not written over for what start-up itself fills in;
    // only a real change (after which it is kept as a .bak first) is saved.
    if (settings.getLoadCondition() == SettingsList::LoadCondition::refused
        || settings.getLoadCondition() == SettingsList::LoadCondition::unreadable)
        settings.forgetChanges();

    // Last: the input may deliver at once (an instrument sending while the project opens), and
    // what it calls must all exist by then.
    ports->restorePorts(this);
    startTimer(pumpIntervalMs);
}

MidiCntrState::~MidiCntrState()
{
    stopTimer();
    // A search still running keeps its probe ports; they close below like any other.
    portSearch->abandon();
    // No more requests or dumps, then no more input: a dump arriving now must not reach a sender
    // that is going away. The output closes last, once nothing can call it; what a receive
    // stored is written with the rest.
    transfers->shutDown();
    ports->closeInput();
    ports->closeOutput();
    transfers.reset();
    flushPendingWrites();
    ports.reset();
}

//==== Input ==========================================================================================

void MidiCntrState::handleIncomingMidiMessage(juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto* raw = message.getRawData();
    const int size = message.getRawDataSize();
    if (raw == nullptr || size <= 0)
        return;

    const int status = raw[0];
    const bool isChannelMessage = status >= 0x80 && status < 0xF0;
    const bool isController = (status & 0xF0) == 0xB0;
    // A system-exclusive start or a continuation of one (data bytes, or the end marker alone).
    const bool isSysexMaterial = status == 0xF0 || status == 0xF7 || status < 0x80;

    // A port search listens to devices that are not the instrument: only an answer counts.
    if (ports->isProbing() && !isSysexMaterial)
        return;

    if (thruToHost.load())
    {
        const bool isNote = (status & 0xF0) == 0x80 || (status & 0xF0) == 0x90;
        if (isNote || (isController && size >= 3 && !isNrpnOrBankController(raw[1]))
            || (!isController && !isSysexMaterial))
        {
            queueForHost(raw, size);
            return;
        }
    }

    if (isChannelMessage)
    {
        const int channel = (status & 0x0F) + 1;
        if (message.isNoteOn())
            postNotification(Notification::noteOn(channel, raw[1], raw[2]));
        else if (message.isNoteOff())
            postNotification(Notification::noteOff(channel, raw[1]));
        else if (message.isPitchWheel())
            postNotification(Notification::pitchBend(channel, raw[2], raw[1]));
        else if (message.isProgramChange())
        {
            currentProgramNumber = raw[1] & 0x7F;
            selectProgram(currentBank.load(), raw[1] & 0x7F, false);
        }
        else if (isController && size >= 3)
            handleControlChange(channel, raw[1], raw[2], message);
        return;
    }

    if (isSysexMaterial)
        handleSysexMaterial(message);
    // Other system messages (clock, song position, ...) mean nothing to the model.
}

void MidiCntrState::handleControlChange(int channel, int controller, int value, const juce::MidiMessage& message)
{
    switch (controller)
    {
        case 1:
            postNotification(Notification::controlChange(channel, 1, value));
            return;
        case 99:
            rxNrpnMsb = value;
            return;
        case 98:
            rxNrpnLsb = value;
            return;
        case 6:
            rxDataMsb = value;
            return;
        case 38:
        {
            const int n = rxNrpnMsb.load() * 128 + rxNrpnLsb.load();
            const int v = rxDataMsb * 128 + value;
            nrpnChangedOnSynth = true;
            if (n > 379)
            {
                const int index = GlobalSettings::indexForIncomingNrpn(n);
                if (index >= 0 && index < GlobalSettings::numStoredValues)
                {
                    globalValues[(size_t)index] = (std::int8_t)(std::uint8_t)(v & 0xFF);
                    postNotification(Notification::global(index));
                }
                return;
            }
            const int index = tables.indexForNrpn(n);
            // A record byte holds 0..255; anything else cannot be a program parameter.
            if (index < 0 || index >= (int)ProgramSysex::recordSize || v > 255)
                return;
            if (hardwareChanges.push((std::uint32_t)(index * 4096 + v)))
                sendChangeMessage();
            return;
        }
        case 32:
            // The model has eight banks; other numbers are not ours to select.
            if (value != currentBank.load() && ProgramSysex::isValidBank(value))
                selectProgram(value, currentProgramNumber.load(), false);
            if (thruToHost.load())
                queueForHost(message.getRawData(), message.getRawDataSize());
            return;
        default:
            if (thruToHost.load())
                queueForHost(message.getRawData(), message.getRawDataSize());
            return;
    }
}

void MidiCntrState::handleSysexMaterial(const juce::MidiMessage& message)
{
    const auto* raw = message.getRawData();
    const auto size = (size_t)message.getRawDataSize();

    if (raw[0] == 0xF0)
        sysexBuffer.assign(raw, raw + size);
    else if (!sysexBuffer.empty())
        sysexBuffer.insert(sysexBuffer.end(), raw, raw + size);
    else
        return;

    if (sysexBuffer.size() > maxSysexLength)
    {
        sysexBuffer.clear();
        return;
    }

    if (sysexBuffer.size() >= 2 && sysexBuffer.front() == 0xF0 && sysexBuffer.back() == 0xF7)
    {
        Bytes complete;
        complete.swap(sysexBuffer);
        dispatchSysex(complete.data(), complete.size());
    }
}

void MidiCntrState::dispatchSysex(const std::uint8_t* data, size_t size)
{
    if (size < 4)
        return;
    if (data[1] == 0x7E && data[3] == 0x06)
        return; // device inquiry reply
    if (data[2] != ProgramSysex::modelId)
        return;
    if (ports->isProbing() && data[3] != ProgramSysex::cmdGlobalDump)
        return;
    switch (data[3])
    {
        case ProgramSysex::cmdProgramDump:
        case ProgramSysex::cmdEditBufferDump:
            handleProgramDump(data, size);
            break;
        case ProgramSysex::cmdGlobalDump:
            handleGlobalDump(data, size);
            break;
        default:
            break;
    }
}

void MidiCntrState::handleProgramDump(const std::uint8_t* data, size_t size)
{
    if (size == ProgramSysex::editBufferDumpSize)
    {
        setCurrentProgram(ProgramSysex::unpack(data + 4));
        postNotification(Notification::programReplaced);
        return;
    }
    if (size != ProgramSysex::programDumpSize)
        return;

    const int bank = data[4];
    const int program = data[5];
    const auto record = ProgramSysex::unpack(data + 6);

    // A bank receive takes its own dumps, and the late answer to one it stopped.
    if (transfers->getReceiver().takeDump(bank, program, record))
        return;

    if (ProgramSysex::isValidBank(bank) && ProgramSysex::isValidProgram(program))
    {
        currentBank = bank;
        currentProgramNumber = program;
        setBankProgram(bank, program, record);
        postNotification(Notification::bankContentChanged);
    }
    // A dump addressed outside our banks still becomes the program being edited.
    setCurrentProgram(record);
    postNotification(Notification::programReplaced);
}

void MidiCntrState::handleGlobalDump(const std::uint8_t* data, size_t size)
{
    std::array<std::int8_t, GlobalSettings::numStoredValues> decoded{};
    const int count = GlobalSettings::decodeDump(data, size, decoded.data(), (int)decoded.size());
    for (int i = 0; i < count; ++i)
        globalValues[(size_t)i] = decoded[(size_t)i];
    globalsReceived = true;
    ++globalDumpCount;

    if (scanActive.load())
    {
        // Saved by the message thread's timer: no file is written from the input callback.
        settings.setEntryInt(SettingsList::scanInputPortEntry, scanInput.load());
        settings.setEntryInt(SettingsList::scanOutputPortEntry, scanOutput.load());
    }
    postNotification(Notification::globalDumpArrived);
}

//==== Bank receive ===================================================================================

void MidiCntrState::startBankReceive(int bank, int mode)
{
    transfers->getReceiver().start(bank, mode);
}

void MidiCntrState::endBankReceive()
{
    transfers->getReceiver().cancel();
}

void MidiCntrState::checkBankReceiveTimeout(double now)
{
    transfers->getReceiver().tick(now);
}

//==== Senders ========================================================================================

bool MidiCntrState::sendRaw(const std::uint8_t* bytes, int size, double dueMs) noexcept
{
    // Long system-exclusive messages from the host go out as consecutive pieces due together;
    // the schedule keeps their order.
    constexpr int piece = (int)MIDI_PORTS_Control::maxSysexPiece;
    for (int offset = 0; offset < size; offset += piece)
        if (!ports->scheduleMessage(bytes + offset, juce::jmin(piece, size - offset), dueMs))
            return false;
    return true;
}

bool MidiCntrState::sendNrpnParts(const std::uint8_t* bytes, int count, double dueMs) noexcept
{
    // nrpnSendLock is held. A part refused by a full schedule ends the message there: a data
    // entry must never go out without the selection before it.
    for (int i = 0; i < count; i += 3)
        if (!sendRaw(bytes + i, 3, dueMs))
            return false;
    return true;
}

void MidiCntrState::sendSysex(const Bytes& message)
{
    if (!message.empty())
        ports->sendSysex(message.data(), message.size());
}

void MidiCntrState::sendParameterNrpn(int nrpn, int value, int latencyMs, double)
{
    if (!ports->isOutputOpen())
        return;
    const juce::ScopedLock sl(nrpnSendLock);
    sendParameterNrpnLocked(nrpn, value, latencyMs);
    sendDeferredHostValuesLocked();
}

void MidiCntrState::sendDeferredHostValues() noexcept
{
    if (!anyHostValueDeferred.load() || !ports->isOutputOpen())
        return;
    const juce::ScopedTryLock tl(nrpnSendLock);
    if (tl.isLocked())
        sendDeferredHostValuesLocked();
}

void MidiCntrState::sendDeferredHostValuesLocked() noexcept
{
    if (!anyHostValueDeferred.exchange(false))
        return;
    // The current value, not the one deferred: an edit may have come after it.
    for (size_t i = 0; i < hostValueDeferred.size(); ++i)
        if (hostValueDeferred[i].exchange(false))
            sendParameterNrpnLocked(tables.nrpn((int)i), getCurrentByte((int)i), getLatencyOffset());
}

void MidiCntrState::sendParameterNrpnLocked(int nrpn, int value, int latencyMs) noexcept
{
    // nrpnSendLock is held.
    nrpn &= 0x3FFF;
    value &= 0x3FFF;
    const int msb = value / 128;
    const int lsb = value % 128;
    const int channel = midiChannel.load();
    const auto status = (std::uint8_t)(0xB0 + ((channel - 1) & 0x0F));

    std::uint8_t bytes[12];
    int count = 0;
    auto controller = [&](int cc, int v) {
        bytes[count++] = status;
        bytes[count++] = (std::uint8_t)cc;
        bytes[count++] = (std::uint8_t)(v & 0x7F);
    };

    // Another port, another channel, or parts dropped by a long dump: the synthesizer may have
    // another NRPN selected than the one we sent last.
    const auto epoch = ports->getWireEpoch();
    if (epoch != lastWireEpoch || channel != lastNrpnChannel)
    {
        lastNrpn = -1;
        lastWireEpoch = epoch;
        lastNrpnChannel = channel;
    }
    // The synthesizer changed a value itself: the value sent last may no longer be what it holds.
    if (nrpnChangedOnSynth.exchange(false))
        lastDataMsb = lastDataLsb = -1;

    if (nrpn != lastNrpn)
    {
        controller(99, nrpn / 128);
        controller(98, nrpn % 128);
        controller(6, msb);
        controller(38, lsb);
    }
    else if (msb == lastDataMsb)
    {
        if (lsb == lastDataLsb)
            return;
        controller(38, lsb);
    }
    else
    {
        controller(6, msb);
        controller(38, lsb);
    }

    // Host automation goes out with the latency offset and editor edits at once: an edit must
    // still not overtake the parts of an earlier message, or its data entry lands elsewhere.
    const double due = juce::jmax(nowMs() + juce::jmax(latencyMs, 0), lastNrpnDueMs);
    if (!sendNrpnParts(bytes, count, due))
    {
        lastNrpn = -1;
        return;
    }
    lastNrpnDueMs = due;
    lastNrpn = nrpn;
    lastDataMsb = msb;
    lastDataLsb = lsb;
}

void MidiCntrState::sendNrpn(int nrpn, int value)
{
    if (!ports->isOutputOpen())
        return;
    const auto status = (std::uint8_t)(0xB0 + ((midiChannel.load() - 1) & 0x0F));
    const auto v = (int)(std::int8_t)(std::uint8_t)(value & 0xFF);
    const std::uint8_t bytes[12] = {status, 99, (std::uint8_t)((nrpn / 128) & 0x7F),
                                    status, 98, (std::uint8_t)(nrpn % 128),
                                    status, 6,  (std::uint8_t)((v / 128) & 0x7F),
                                    status, 38, (std::uint8_t)((v % 128) & 0x7F)};

    const juce::ScopedLock sl(nrpnSendLock);
    // The synthesizer now has another NRPN selected: the next parameter must select its own.
    lastNrpn = -1;
    const double due = juce::jmax(nowMs(), lastNrpnDueMs);
    if (sendNrpnParts(bytes, 12, due))
        lastNrpnDueMs = due;
    sendDeferredHostValuesLocked();
}

void MidiCntrState::requestGlobalDump()
{
    globalsReceived = false;
    postNotification(Notification::globalDumpRequested);
    const auto request = ProgramSysex::globalDumpRequest();
    ports->sendLinkTest(request.data(), request.size());
}

void MidiCntrState::sendEditBuffer(const Record& record)
{
    nrpnChangedOnSynth = true;
    sendSysex(ProgramSysex::editBufferDump(record.data(), record.size()));
}

void MidiCntrState::sendProgramDump(int bank, int program, const Record& record)
{
    sendSysex(ProgramSysex::programDump(bank, program, record.data(), record.size()));
}

void MidiCntrState::requestDump(int kind, int bank, int program)
{
    if (kind == ProgramSysex::cmdProgramDumpRequest)
        sendSysex(ProgramSysex::programDumpRequest(bank, program));
    else if (kind == ProgramSysex::cmdEditBufferDumpRequest)
        sendSysex(ProgramSysex::editBufferDumpRequest());
}

void MidiCntrState::selectProgram(int bank, int program, bool announce)
{
    if (!ProgramSysex::isValidBank(bank) || !ProgramSysex::isValidProgram(program))
        return;
    // The synthesizer loads the program's values: the value sent last may no longer be what it holds.
    nrpnChangedOnSynth = true;
    currentBank = bank;
    currentProgramNumber = program;
    setCurrentProgram(getBankProgram(bank, program));
    postNotification(Notification::programReplaced);
    if (announce)
    {
        const int channel = midiChannel.load();
        ports->sendController(channel, 32, bank);
        ports->sendProgramChange(channel, program);
        // A recording host captures the choice too; its queue needs no allocation.
        const std::uint8_t bankSelect[3] = {(std::uint8_t)(0xB0 + channel - 1), 32, (std::uint8_t)bank};
        const std::uint8_t programChange[2] = {(std::uint8_t)(0xC0 + channel - 1), (std::uint8_t)program};
        queueForHost(bankSelect, 3);
        queueForHost(programChange, 2);
    }
}

void MidiCntrState::sendNote(int channel, int note, int velocity)
{
    if (channel < 1 || channel > 16 || note < 0 || note > 127)
        return;
    const std::uint8_t bytes[3] = {(std::uint8_t)(0x90 + channel - 1), (std::uint8_t)note,
                                   (std::uint8_t)(velocity & 0x7F)};
    sendRaw(bytes, 3, nowMs());
}

void MidiCntrState::sendNoteOff(int channel, int note)
{
    if (channel < 1 || channel > 16 || note < 0 || note > 127)
        return;
    const std::uint8_t bytes[3] = {(std::uint8_t)(0x80 + channel - 1), (std::uint8_t)note, 0};
    sendRaw(bytes, 3, nowMs());
}

void MidiCntrState::queuePitchBendForHost(int channel, int value)
{
    if (channel < 1 || channel > 16)
        return;
    value = juce::jlimit(0, 16383, value);
    const std::uint8_t bytes[3] = {(std::uint8_t)(0xE0 + channel - 1), (std::uint8_t)(value & 0x7F),
                                   (std::uint8_t)(value >> 7)};
    queueForHost(bytes, 3);
    ports->sendPitchWheel(channel, value);
}

//==== Model ==========================================================================================

void MidiCntrState::setParameterFromHost(int index, int value)
{
    if (index < 0)
        return;
    if (index >= (int)ProgramSysex::recordSize)
        return;
    setCurrentByte(index, value);
    if (ports->isOutputOpen())
    {
        // Hosts may automate from their audio thread, which must not wait for an edit being sent
        // from the message thread: then the value goes out with the next block.
        const juce::ScopedTryLock tl(nrpnSendLock);
        if (tl.isLocked())
        {
            sendParameterNrpnLocked(tables.nrpn(index), value, getLatencyOffset());
            sendDeferredHostValuesLocked();
        }
        else
        {
            hostValueDeferred[(size_t)index] = true;
            anyHostValueDeferred = true;
        }
    }
    // No listener is called from here either.
    postNotificationQuietly(Notification::parameter(index, value));
}

void MidiCntrState::loadHostProgram()
{
    {
        const juce::ScopedLock sl(modelLock);
        keepReplacedProgram();
        if (hostBank != nullptr)
        {
            const auto rec = hostBank->getProgramPadded(hostProgramIndex.load());
            for (size_t i = 0; i < rec.size(); ++i)
                currentRecord[i].store(rec[i], std::memory_order_relaxed);
        }
        ++programGeneration;
    }
    postNotification(Notification::programReplaced);
}

void MidiCntrState::storeProgram(bool toBank, int bank, int program, const Record& record)
{
    if (toBank)
    {
        setBankProgram(bank, program, record);
        postNotification(Notification::bankContentChanged);
    }
    else
    {
        setCurrentProgram(record);
    }
    postNotification(Notification::programReplaced);
}

void MidiCntrState::setHostBank(Bank_Program* bank)
{
    const juce::ScopedLock sl(modelLock);
    hostBank = bank;
    if (bank != nullptr)
    {
        const auto rec = bank->getCurrent();
        for (size_t i = 0; i < rec.size(); ++i)
            currentRecord[i].store(rec[i], std::memory_order_relaxed);
    }
}

MidiCntrState::Record MidiCntrState::getCurrentProgram() const
{
    // Under the lock, so a whole record being stored is never seen half old, half new.
    Record rec;
    const juce::ScopedLock sl(modelLock);
    for (size_t i = 0; i < rec.size(); ++i)
        rec[i] = currentRecord[i].load(std::memory_order_relaxed);
    return rec;
}

void MidiCntrState::setCurrentProgram(const Record& record)
{
    const juce::ScopedLock sl(modelLock);
    keepReplacedProgram();
    for (size_t i = 0; i < record.size(); ++i)
        currentRecord[i].store(record[i], std::memory_order_relaxed);
    // Counted under the lock too: two replacements at once must not share a generation.
    ++programGeneration;
}

void MidiCntrState::keepReplacedProgram() noexcept
{
    const auto ended = programGeneration.load();
    auto& kept = replacedPrograms[ended % numReplacedKept];
    for (size_t i = 0; i < kept.size(); ++i)
        kept[i] = currentRecord[i].load(std::memory_order_relaxed);
    replacedTags[ended % numReplacedKept] = ended + 1;
}

bool MidiCntrState::getProgramReplacedAt(std::uint32_t generation, Record& record) const
{
    const juce::ScopedLock sl(modelLock);
    if (replacedTags[generation % numReplacedKept] != generation + 1)
        return false;
    record = replacedPrograms[generation % numReplacedKept];
    return true;
}

int MidiCntrState::getCurrentByte(int index) const
{
    if (index < 0 || index >= (int)ProgramSysex::recordSize)
        return 0;
    return currentRecord[(size_t)index].load(std::memory_order_relaxed);
}

void MidiCntrState::setCurrentByte(int index, int value)
{
    // No lock: the host calls this from its audio thread.
    if (index < 0 || index >= (int)ProgramSysex::recordSize)
        return;
    currentRecord[(size_t)index].store((std::uint8_t)value, std::memory_order_relaxed);
}

MidiCntrState::Record MidiCntrState::getHostBankProgram(int slot) const
{
    const juce::ScopedLock sl(modelLock);
    return hostBank != nullptr ? hostBank->getProgramPadded(slot) : Record{};
}

void MidiCntrState::setHostBankProgram(int slot, const Record& record)
{
    const juce::ScopedLock sl(modelLock);
    if (hostBank != nullptr)
        hostBank->setProgram(slot, record);
}

juce::String MidiCntrState::getHostBankProgramName(int slot) const
{
    const auto rec = getHostBankProgram(slot);
    return DSI_Program::decodeName(rec.data(), rec.size());
}

void MidiCntrState::setHostBankProgramName(int slot, const juce::String& name)
{
    if (!Bank_Program::isValidSlot(slot))
        return;
    std::array<std::uint8_t, DSI_Program::nameLength> encoded{};
    DSI_Program::encodeName(name, encoded.data());
    const juce::ScopedLock sl(modelLock);
    if (hostBank == nullptr)
        return;
    auto rec = hostBank->getProgramPadded(slot);
    std::copy(encoded.begin(), encoded.end(), rec.begin() + DSI_Program::nameOffset);
    hostBank->setProgram(slot, rec);
}

Bytes MidiCntrState::getHostBankData() const
{
    Bytes out;
    out.reserve(Bank_Program::fullSize); // before the lock: the copy below never allocates
    const juce::ScopedLock sl(modelLock);
    if (hostBank != nullptr && hostBank->getBankData().size() <= out.capacity())
        out.assign(hostBank->getBankData().begin(), hostBank->getBankData().end());
    return out;
}

void MidiCntrState::replaceHostBankData(Bytes data)
{
    const size_t given = std::min(data.size() / Bank_Program::slotSize * Bank_Program::slotSize, Bank_Program::fullSize);
    data.resize(Bank_Program::fullSize, 0);
    {
        const juce::ScopedLock sl(modelLock);
        if (hostBank == nullptr)
            return;
        const auto& current = hostBank->getBankData();
        if (current.size() > given)
            std::copy(current.begin() + (std::ptrdiff_t)given,
                      current.begin() + (std::ptrdiff_t)std::min(current.size(), Bank_Program::fullSize),
                      data.begin() + (std::ptrdiff_t)given);
        hostBank->swapBankData(data);
    }
    // `data` now holds the old content and is freed here, outside the lock.
}

MidiCntrState::Record MidiCntrState::getBankProgram(int bank, int slot) const
{
    if (!ProgramBankSet::isValidBank(bank))
        return {};
    const juce::ScopedLock sl(modelLock);
    return banks.bank(bank).getProgramPadded(slot);
}

void MidiCntrState::markChanged(int bank, const BankDataFile::ChangedSlots& slots)
{
    // modelLock is held. Only the user banks live in the file.
    if (bank < 0 || bank >= ProgramBankSet::numUserBanks)
        return;
    changedSlots |= slots;
    banksChanged = true;
}

void MidiCntrState::setBankProgram(int bank, int slot, const Record& record)
{
    if (!ProgramBankSet::isValidBank(bank) || !Bank_Program::isValidSlot(slot))
        return;
    const juce::ScopedLock sl(modelLock);
    banks.bank(bank).setProgram(slot, record);
    if (bank < ProgramBankSet::numUserBanks)
    {
        BankDataFile::ChangedSlots one;
        one.set((size_t)(bank * Bank_Program::numSlots + slot));
        markChanged(bank, one);
    }
}

Bytes MidiCntrState::getBankData(int bank) const
{
    if (!ProgramBankSet::isValidBank(bank))
        return {};
    Bytes out;
    out.reserve(Bank_Program::fullSize);
    const juce::ScopedLock sl(modelLock);
    const auto& data = banks.bank(bank).getBankData();
    if (data.size() <= out.capacity())
        out.assign(data.begin(), data.end());
    return out;
}

juce::String MidiCntrState::getBankProgramName(int bank, int slot) const
{
    if (!ProgramBankSet::isValidBank(bank))
        return {};
    const auto rec = getBankProgram(bank, slot);
    return DSI_Program::decodeName(rec.data(), rec.size());
}

void MidiCntrState::replaceBankData(int bank, Bytes data)
{
    if (!ProgramBankSet::isValidBank(bank))
        return;
    // Short data keeps the slots it does not reach; the bank never grows past 128 slots.
    {
        const auto current = getBankData(bank);
        if (data.size() < current.size())
            data.insert(data.end(), current.begin() + (std::ptrdiff_t)data.size(), current.end());
        data.resize(Bank_Program::fullSize, 0);
    }
    {
        const juce::ScopedLock sl(modelLock);
        // Only slots whose content changed are marked: a short file must not write the slots it
        // never filled over another instance's newer ones.
        const auto& old = banks.bank(bank).getBankData();
        BankDataFile::ChangedSlots changed;
        // Only the user banks live in the file.
        for (int slot = 0; bank < ProgramBankSet::numUserBanks && slot < Bank_Program::numSlots; ++slot)
        {
            const size_t at = (size_t)slot * Bank_Program::slotSize;
            if (old.size() < at + Bank_Program::slotSize
                || !std::equal(data.begin() + (std::ptrdiff_t)at, data.begin() + (std::ptrdiff_t)(at + Bank_Program::slotSize),
                               old.begin() + (std::ptrdiff_t)at))
                changed.set((size_t)(bank * Bank_Program::numSlots + slot));
        }
        banks.bank(bank).swapBankData(data);
        if (changed.any())
            markChanged(bank, changed);
    }
    // `data` now holds the old content and is freed here, outside the lock.
}

//==== Files ==========================================================================================

bool MidiCntrState::hasPendingWrites() const
{
    return banksChanged.load() || bankWriteFailed || settings.hasUnsavedChanges();
}

void MidiCntrState::flushPendingWrites()
{
    writeChanges(true);
}

void MidiCntrState::writeChanges(bool retryFailed)
{
    lastFileWriteMs = nowMs();

    if (banksChanged.exchange(false) || (retryFailed && bankWriteFailed))
    {
        Bytes userBanks(BankDataFile::banksEnd - BankDataFile::banksOffset);
        BankDataFile::ChangedSlots changed;
        {
            const juce::ScopedLock sl(modelLock);
            for (int n = 0; n < ProgramBankSet::numUserBanks; ++n)
            {
                const auto& data = banks.bank(n).getBankData();
                std::copy_n(data.begin(), juce::jmin(data.size(), Bank_Program::fullSize),
                            userBanks.begin() + (std::ptrdiff_t)(Bank_Program::fullSize * (size_t)n));
            }
            changed = changedSlots;
            changedSlots.reset();
        }
        bankWriteFailed = !bankFile.write(userBanks, changed);
        if (bankWriteFailed)
        {
            // Kept for the next change (or the destructor), never taken as saved.
            {
                const juce::ScopedLock sl(modelLock);
                changedSlots |= changed;
            }
            juce::Logger::writeToLog("Could not write " + bankFile.getFile().getFullPathName());
            postNotification(Notification::fileWriteFailed + Notification::bankDataFile);
        }
    }

    const auto settingsChange = settings.getChangeCount();
    if (settings.hasUnsavedChanges() && (retryFailed || settingsChange != settingsFailedAtChange))
    {
        if (settings.saveSettings())
        {
            settingsFailedAtChange = ~std::uint64_t{0};
        }
        else
        {
            settingsFailedAtChange = settingsChange;
            juce::Logger::writeToLog("Could not write " + settings.getFile().getFullPathName());
            postNotification(Notification::fileWriteFailed + Notification::settingsFile);
        }
    }
}

//==== Globals ========================================================================================

int MidiCntrState::getGlobalValue(int index) const noexcept
{
    if (index < 0 || index >= GlobalSettings::numStoredValues)
        return 0;
    return globalValues[(size_t)index].load();
}

void MidiCntrState::setGlobalValue(int index, int value)
{
    if (!GlobalSettings::isValidIndex(index))
        return;
    value = juce::jlimit(0, GlobalSettings::setting(index).maximum, value);
    if (value == globalValues[(size_t)index].load())
        return;
    globalValues[(size_t)index] = (std::int8_t)value;
    sendNrpn(GlobalSettings::setting(index).nrpn, value);
}

//==== Notifications ==================================================================================

void MidiCntrState::postNotification(std::uint32_t code)
{
    notificationQueue.push(code);
    notifyListeners();
}

void MidiCntrState::postStateNotification(std::uint32_t code)
{
    notificationQueue.push(code);
    const juce::ScopedLock sl(listenerLock);
    for (int i = stateListeners.size(); --i >= 0;)
        stateListeners.getUnchecked(i)->stateChanged();
}

void MidiCntrState::postNotificationQuietly(std::uint32_t code) noexcept
{
    notificationQueue.push(code);
    quietNotificationsPending = true;
}

void MidiCntrState::notifyListeners()
{
    const juce::ScopedLock sl(listenerLock);
    for (int i = listeners.size(); --i >= 0;)
        listeners.getUnchecked(i)->midiCntrStateChanged(*this);
}

bool MidiCntrState::popNotification(std::uint32_t& code) noexcept
{
    return notificationQueue.pop(code);
}

bool MidiCntrState::popHardwareChange(std::uint32_t& entry) noexcept
{
    return hardwareChanges.pop(entry);
}

void MidiCntrState::addListener(MidiCntrStateListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void MidiCntrState::removeListener(MidiCntrStateListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeFirstMatchingValue(listener);
}

void MidiCntrState::addStateListener(stateListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    stateListeners.addIfNotAlreadyThere(listener);
}

void MidiCntrState::removeStateListener(stateListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    stateListeners.removeFirstMatchingValue(listener);
}

void MidiCntrState::timerCallback()
{
    bool haveListeners;
    {
        const juce::ScopedLock sl(listenerLock);
        haveListeners = !listeners.isEmpty();
    }
    if (haveListeners)
    {
        if (quietNotificationsPending.exchange(false))
            notifyListeners();
    }
    else
    {
        // Nobody shows them: codes from while the editor was closed are stale when it opens.
        quietNotificationsPending = false;
        std::uint32_t code;
        while (notificationQueue.pop(code))
        {
        }
    }
    const double now = nowMs();
    checkOutputResponding(haveListeners);
    portSearch->step();
    transfers->tick();
    if (now - lastFileWriteMs >= fileWriteIntervalMs
        && (banksChanged.load()
            || (settings.hasUnsavedChanges() && settings.getChangeCount() != settingsFailedAtChange)))
        writeChanges(false);
}

//==== Host MIDI ======================================================================================

namespace
{
// Controllers that end what sounds: the pedal (when released), all sound off, all notes off.
constexpr std::uint8_t endingControllers[] = {64, 120, 123};
constexpr size_t owedNoteWords = 16 * 128 / 32;
} // namespace

void MidiCntrState::queueForHost(const std::uint8_t* bytes, int size) noexcept
{
    if (bytes == nullptr || size <= 0 || size > 3)
        return;
    ShortMessage m;
    m.timeMs = nowMs();
    std::copy_n(bytes, size, m.bytes);
    m.size = (std::uint8_t)size;
    // While the host does not process, the queue fills: the oldest message makes room, so the
    // newest always gets in, and an oldest one that ends something is owed to the host instead.
    bool queued = toHostQueue.push(m);
    for (size_t attempt = 0; !queued && attempt < toHostQueue.capacity(); ++attempt)
    {
        ShortMessage oldest;
        if (toHostQueue.pop(oldest))
            oweRelease(oldest);
        queued = toHostQueue.push(m);
    }
    if (!queued)
        oweRelease(m);
}

void MidiCntrState::clearToHostQueue() noexcept
{
    ShortMessage m;
    while (toHostQueue.pop(m))
        oweRelease(m);
}

void MidiCntrState::oweRelease(const ShortMessage& m) noexcept
{
    // Lost, these would leave something sounding on the host's side.
    if (!NoteTracker::endsSound(m.bytes, m.size))
        return;
    const int channel = m.bytes[0] & 0x0F;
    size_t word;
    std::uint32_t bit;
    if ((m.bytes[0] & 0xF0) == 0xB0)
    {
        const auto* c = std::find(std::begin(endingControllers), std::end(endingControllers), m.bytes[1]);
        word = owedNoteWords + (size_t)(c - std::begin(endingControllers));
        bit = 1u << channel;
    }
    else
    {
        const int key = channel * 128 + m.bytes[1];
        word = (size_t)key / 32;
        bit = 1u << (key % 32);
    }
    owedReleases[word].fetch_or(bit, std::memory_order_relaxed);
    anyReleaseOwed.store(true, std::memory_order_release);
}

void MidiCntrState::addOwedReleases(juce::MidiBuffer& midi) noexcept
{
    if (!anyReleaseOwed.exchange(false, std::memory_order_acquire))
        return;
    for (size_t w = 0; w < owedReleases.size(); ++w)
    {
        for (auto bits = owedReleases[w].exchange(0, std::memory_order_relaxed); bits != 0; bits &= bits - 1)
        {
            const int b = std::countr_zero(bits);
            std::uint8_t message[3]{};
            if (w < owedNoteWords)
            {
                const int key = (int)w * 32 + b;
                message[0] = (std::uint8_t)(0x80 | (key / 128));
                message[1] = (std::uint8_t)(key % 128);
            }
            else
            {
                message[0] = (std::uint8_t)(0xB0 | b);
                message[1] = endingControllers[w - owedNoteWords];
            }
            midi.addEvent(message, 3, 0);
        }
    }
}

void MidiCntrState::processHostMidi(juce::MidiBuffer& midi, int numSamples, double samplesPerSecond,
                                    bool realtime) noexcept
{
    const bool open = ports->isOutputOpen();
    const bool forwardAll = forwardHostMidi.load();
    const double now = nowMs();
    // Every block takes its place on the line, forwarded events or not, so the line stays whole.
    if (!realtime)
        hostTimeline.restart();
    hostBlockStartMs = hostTimeline.beginBlock(now, numSamples, samplesPerSecond);
    const double latency = getLatencyOffset();

    for (const auto meta : midi)
    {
        const auto* d = meta.data;
        const int size = meta.numBytes;
        if (size <= 0)
            continue;
        const int status = d[0];
        const int type = status & 0xF0;
        const bool isChannel = status >= 0x80 && status < 0xF0;
        const bool isController = type == 0xB0 && size >= 3;
        const bool isProgramChange = type == 0xC0;

        // With forwarding switched off, what ends sound still goes: its note may have gone before.
        if (open && (forwardAll || NoteTracker::endsSound(d, size)) && !(isController && isNrpnOrBankController(d[1]))
            && !isProgramChange)
        {
            const int position = juce::jlimit(0, juce::jmax(0, numSamples - 1), meta.samplePosition);
            sendRaw(d, size, hostTimeline.dueTime(position, latency));
        }

        if (!isChannel || size < 2)
            continue;
        const int channel = (status & 0x0F) + 1;
        const bool dataInRange = d[1] < 128;
        if (isController && dataInRange)
            postNotificationQuietly(Notification::controlChange(channel, d[1], d[2]));
        else if (type == 0x90 && size >= 3 && dataInRange)
            postNotificationQuietly(d[2] > 0 ? Notification::noteOn(channel, d[1], d[2])
                                             : Notification::noteOff(channel, d[1]));
        else if (type == 0x80 && dataInRange)
            postNotificationQuietly(Notification::noteOff(channel, d[1]));
        else if (type == 0xE0 && size >= 3)
            postNotificationQuietly(Notification::pitchBend(channel, d[2], d[1]));
        else if (isProgramChange && dataInRange)
            postNotificationQuietly(Notification::programChange(channel, d[1]));
    }

    midi.clear();

    // A block without samples (a parameter flush) has no place for them: they wait.
    if (numSamples <= 0)
        return;

    // Owed releases are older than anything still queued.
    addOwedReleases(midi);

    size_t count = 0;
    ShortMessage m;
    while (count < toHostScratch.size() && toHostQueue.pop(m))
        toHostScratch[count++] = m;

    // What waited longer than the window (the host was not processing) is stale, except what ends
    // something the host may hold.
    size_t first = 0;
    for (; first < count && toHostScratch[first].timeMs < now - toHostWindowMs; ++first)
        if (NoteTracker::endsSound(toHostScratch[first].bytes, toHostScratch[first].size))
            midi.addEvent(toHostScratch[first].bytes, toHostScratch[first].size, 0);
    if (first == count)
        return;

    const double last = toHostScratch[count - 1].timeMs;
    const double start = toHostScratch[first].timeMs;
    const double scale = numSamples / (last - start + 1.0);
    for (size_t i = first; i < count; ++i)
    {
        const auto& e = toHostScratch[i];
        const int pos = juce::jlimit(0, numSamples - 1, (int)std::lround(scale * (e.timeMs - start)));
        midi.addEvent(e.bytes, e.size, pos);
    }
}

//==== Sample rate, latency, ports ====================================================================

int MidiCntrState::sampleRateIndexFor(double rate) noexcept
{
    static constexpr int rates[numSampleRates] = {44100, 48000, 88200, 96000, 176400, 192000};
    const int r = (int)rate;
    for (int i = 0; i < numSampleRates; ++i)
        if (rates[i] == r)
            return i;
    return 0;
}

void MidiCntrState::setSampleRate(double rate) noexcept
{
    sampleRate = rate;
    sampleRateIndex = sampleRateIndexFor(rate);
}

int MidiCntrState::getLatencyOffset() const noexcept
{
    if (latencyMode.load() >= 100)
        return 0;
    return latencyTable[(size_t)juce::jlimit(0, numSampleRates - 1, sampleRateIndex.load())].load();
}

void MidiCntrState::setLatency(int mode, const std::vector<int>& table)
{
    settings.setLatency(mode, table);
    latencyMode = mode;
    const auto stored = settings.getLatencyTable();
    for (size_t i = 0; i < stored.size(); ++i)
        latencyTable[i] = stored[i];
}

std::vector<int> MidiCntrState::getLatencyTable() const
{
    std::vector<int> table;
    for (const auto& entry : latencyTable)
        table.push_back(entry.load());
    return table;
}

void MidiCntrState::selectInputPort(int position)
{
    portSearch->cancel();
    ports->selectInputPort(position, this);
    // Kept even when the window or the project closes before the setup is confirmed.
    if (!ports->savePortFile())
        postNotification(Notification::fileWriteFailed + Notification::portFile);
}

void MidiCntrState::selectOutputPort(int position)
{
    portSearch->cancel();
    ports->selectOutputPort(position);
    if (!ports->savePortFile())
        postNotification(Notification::fileWriteFailed + Notification::portFile);
}

void MidiCntrState::setMidiChannel(int channel)
{
    if (channel < 1 || channel > 16 || channel == midiChannel.load())
        return;
    ports->releaseSoundingNotes();
    midiChannel = channel;
    settings.setEntry(SettingsList::midiChannelEntry, juce::String(channel));
}

void MidiCntrState::checkOutputResponding(bool haveListeners)
{
    if (ports->closeIfNotResponding(nowMs()))
        outputLossUnreported = true;
    // The editor may be closed when the device hangs: the user hears of it when it opens.
    if (outputLossUnreported && haveListeners)
    {
        outputLossUnreported = false;
        postNotification(Notification::outputNotResponding);
    }
}

bool MidiCntrState::areUserBanksStandIns() const noexcept
{
    const auto c = getBankFileCondition();
    return c == BankDataFile::Condition::unreadable || c == BankDataFile::Condition::foreign;
}

juce::String MidiCntrState::claimBankFileNotice()
{
    if (std::exchange(bankFileNoticeClaimed, true))
        return {};
    const auto path = bankFile.getFile().getFullPathName();
    switch (getBankFileCondition())
    {
        case BankDataFile::Condition::unreadable:
            return "Your user banks could not be read from " + path
                   + ". U1 to U4 show the factory programs instead; the file is left as it is, and sending these "
                     "banks to the Mopho x4 asks first.";
        case BankDataFile::Condition::foreign:
            return path + " is not a bank file of this editor, so U1 to U4 show the factory programs. A copy of it is "
                          "kept before it is ever written over, and sending these banks to the Mopho x4 asks first.";
        case BankDataFile::Condition::partial:
            return "Your user banks file " + path
                   + " ends early: the programs it does not reach show the factory programs. A copy of it is kept "
                     "before it is written over.";
        case BankDataFile::Condition::missing:
        case BankDataFile::Condition::whole:
        case BankDataFile::Condition::longer:
            break;
    }
    return {};
}

bool MidiCntrState::claimFirstRunSearch()
{
    if (firstRunSearchClaimed)
        return false;
    firstRunSearchClaimed = true;
    return ports->wasPortFileMissing() && !globalsReceived.load()
           && !ports->getInputNames().isEmpty() && !ports->getOutputNames().isEmpty();
}

} // namespace zarnel
