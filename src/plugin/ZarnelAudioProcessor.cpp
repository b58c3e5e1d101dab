#include "ZarnelAudioProcessor.h"

#include "HostParameter.h"
#include "ProductInfo.h"
#include "StateBlocks.h"
#include "ZarnelAudioProcessorEditor.h"

#include "../midi/JuceMidiBackend.h"
#include "../model/ParDes.h"
#include "../platform/SettingsFolder.h"

#include <cmath>
#include <limits>
#include <utility>

namespace zarnel
{

namespace
{
juce::AudioPlayHead::PositionInfo defaultPosition()
{
    juce::AudioPlayHead::PositionInfo p;
    p.setBpm(120.0);
    p.setTimeSignature(juce::AudioPlayHead::TimeSignature{4, 4});
    return p;
}
} // namespace

juce::AudioProcessor::BusesProperties ZarnelAudioProcessor::stereoInOut()
{
    return BusesProperties()
        .withInput("Input", juce::AudioChannelSet::stereo(), true)
        .withOutput("Output", juce::AudioChannelSet::stereo(), true);
}

ZarnelAudioProcessor::ZarnelAudioProcessor()
    : AudioProcessor(stereoInOut()), state(SettingsFolder::defaultLocation(), JuceMidiBackend::instance())
{
    construct();
}

ZarnelAudioProcessor::ZarnelAudioProcessor(const juce::File& settingsFolder, MidiDeviceBackend& midiDevices)
    : AudioProcessor(stereoInOut()), state(settingsFolder, midiDevices)
{
    construct();
}

void ZarnelAudioProcessor::construct()
{
    state.addChangeListener(this);

    // The first editor size follows the main display's usable width.
    if (juce::MessageManager::getInstanceWithoutCreating() != nullptr)
        if (const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
            if (display->userArea.getWidth() < 1191)
            {
                editorWidth = 1012;
                editorHeight = 595;
            }

    positionInfo = defaultPosition();
    clockBuffer.ensureSize(3080);
    bypassMidi.ensureSize(16384);
    setLatencySamples(0);

    hostBank.initialise();
    state.setHostBank(&hostBank);

    for (int i = 0; i < numHostParameters; ++i)
    {
        auto param = std::make_unique<HostParameter>(*this, i);
        hostParameters[(size_t)i] = param.get();
        addParameter(param.release());
    }

    // Loading the plug-in sends nothing to the synthesizer: the host simply sees the values of the
    // initial program.
    lastSeenProgramGeneration = state.getProgramGeneration();
    history.reset();
    for (auto& v : reportedValue)
        v = noReport;
    for (auto& g : reportedGeneration)
        g = 0;
    for (auto& t : reportedAtMs)
        t = 0;
    startTimer(gestureTimerMs);
}

ZarnelAudioProcessor::~ZarnelAudioProcessor()
{
    stopTimer();
    for (int i = 0; i < numHostParameters; ++i)
        if (gestureOpen[(size_t)i])
            closeGesture(i);
    state.removeChangeListener(this);
    state.setHostBank(nullptr);
}

const juce::String ZarnelAudioProcessor::getName() const
{
    return ProductInfo::productName;
}

const juce::String ZarnelAudioProcessor::getInputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

const juce::String ZarnelAudioProcessor::getOutputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

bool ZarnelAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    return layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo()
           && layouts.getMainInputChannelSet() == juce::AudioChannelSet::stereo();
}

//==== Audio ==========================================================================================

void ZarnelAudioProcessor::prepareToPlay(double sampleRate, int samplesPerBlock)
{
    state.setSampleRate(sampleRate);
    state.blockSize = samplesPerBlock;
    setLatencySamples(0);
    {
        const juce::ScopedLock sl(clockLock);
        clock.enable = state.clockOutEnabled.load();
    }
    state.clearToHostQueue();
}

void ZarnelAudioProcessor::releaseResources()
{
    {
        const juce::ScopedLock sl(clockLock);
        clock.enable = state.clockOutEnabled.load();
    }
    state.clearToHostQueue();
}

MidiClockGenerator::Transport ZarnelAudioProcessor::transportOf(const juce::AudioPlayHead::PositionInfo& position) noexcept
{
    MidiClockGenerator::Transport t;
    t.bpm = position.getBpm().orFallback(120.0);
    t.ppqPosition = position.getPpqPosition().orFallback(0.0);
    t.isPlaying = position.getIsPlaying();
    t.isRecording = position.getIsRecording();
    t.isLooping = position.getIsLooping();
    if (const auto loop = position.getLoopPoints())
    {
        t.loopStartPpq = loop->ppqStart;
        t.loopEndPpq = loop->ppqEnd;
    }
    return t;
}

void ZarnelAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    juce::ScopedNoDenormals noDenormals;
    const int numSamples = buffer.getNumSamples();
    const double rate = getSampleRate();
    if (rate > 0.0 && (int)state.getSampleRate() != (int)rate)
        state.setSampleRate(rate);
    state.blockSize = numSamples;

    // Automation that found the NRPN sender busy since the last block.
    state.sendDeferredHostValues();

    // This block's own position: a position from the previous block, taken with this block's
    // length, looks like a transport jump whenever the host changes its block size.
    positionInfo = defaultPosition();
    if (auto* head = getPlayHead())
        if (auto position = head->getPosition())
            positionInfo = *position;

    bypassed = false;
    for (const auto event : midi)
        hostNotes.observe(event.data, event.numBytes);
    state.processHostMidi(midi, numSamples, state.getSampleRate(), !isNonRealtime());

    {
        const juce::ScopedLock sl(clockLock);
        auto& ports = state.getPorts();
        // Read every block, so switching the clock while the host plays takes effect at once. A
        // closed output counts as off: an output opened later is located before its first clock.
        const bool open = ports.isOutputOpen();
        clock.enable = open && state.clockOutEnabled.load();
        clock.process(transportOf(positionInfo), clockBuffer, numSamples, state.getSampleRate());
        if (open && clock.hasMessagesToSend() && !clockBuffer.isEmpty() && state.getSampleRate() > 0.0)
        {
            // On the host notes' line: blocks the host calls in a burst keep the clock's spacing.
            const double start = state.getHostBlockStartMs() + state.getLatencyOffset();
            const double msPerSample = 1000.0 / state.getSampleRate();
            for (const auto event : clockBuffer)
                ports.scheduleMessage(event.data, event.numBytes, start + event.samplePosition * msPerSample);
        }
        clockBuffer.clear();
    }

    // Audio passes through; outputs without an input are silent.
    const int ins = getTotalNumInputChannels();
    const int outs = getTotalNumOutputChannels();
    if (!buffer.hasBeenCleared())
        for (int ch = ins; ch < outs && ch < buffer.getNumChannels(); ++ch)
            buffer.clear(ch, 0, numSamples);
}

void ZarnelAudioProcessor::processBlockBypassed(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    bypassMidi.clear();
    if (!bypassed)
    {
        bypassed = true;
        hostNotes.release([this](const std::uint8_t* bytes) { bypassMidi.addEvent(bytes, 3, 0); });
    }
    for (const auto event : midi)
        if (NoteTracker::endsSound(event.data, event.numBytes))
        {
            bypassMidi.addEvent(event.data, event.numBytes, event.samplePosition);
            hostNotes.observe(event.data, event.numBytes);
        }

    // The same road as in processing, so nothing overtakes what was forwarded before; what the
    // instrument sends the host still reaches it.
    state.processHostMidi(bypassMidi, buffer.getNumSamples(), state.getSampleRate(), !isNonRealtime());
    midi.clear();
    midi.addEvents(bypassMidi, 0, -1, 0);
    AudioProcessor::processBlockBypassed(buffer, midi);
}

//==== Editor =========================================================================================

bool ZarnelAudioProcessor::hasEditor() const
{
    return true;
}

juce::AudioProcessorEditor* ZarnelAudioProcessor::createEditor()
{
    return new ZarnelAudioProcessorEditor(*this);
}

//==== Parameters =====================================================================================

int ZarnelAudioProcessor::storedValueFor(float normalised, int maximum) noexcept
{
    // Halves go to the even neighbour, as the host bridge always rounded.
    const double v = std::nearbyint((double)juce::jlimit(0.0f, 1.0f, normalised) * maximum);
    return juce::jlimit(0, juce::jmax(0, maximum), (int)v);
}

void ZarnelAudioProcessor::setParameter(int index, float value)
{
    if (index < 0 || index >= numHostParameters || !history.takesEdits())
        return;
    // A host may hand a value we reported back to us as automation, a little later. If the
    // program was replaced meanwhile, that value belongs to the program before: ignore it once.
    const auto i = (size_t)index;
    if (reportedGeneration[i].load() != state.getProgramGeneration() && reportedValue[i].load() == value
        && juce::Time::getMillisecondCounter() - reportedAtMs[i].load() < echoWindowMs)
    {
        reportedValue[i] = noReport;
        return;
    }
    const auto& tables = state.getTables();
    const int stored = storedValueFor(value, tables.maximum(index));
    // A byte outside the range (real programs hold them) reads as the nearest end: the host
    // sending that back is no edit, and the byte stays.
    if (stored != tables.clamp(index, state.getCurrentByte(index)))
        state.setParameterFromHost(index, stored);
}

float ZarnelAudioProcessor::getParameter(int index) const
{
    if (index < 0 || index >= numHostParameters)
        return 0.0f;
    const auto& tables = state.getTables();
    const int maximum = tables.maximum(index);
    if (maximum <= 0)
        return 0.0f;
    // The value shown, also for a byte below the minimum: the host sending it back is no edit.
    return (float)tables.clamp(index, state.getCurrentByte(index)) / (float)maximum;
}

juce::String ZarnelAudioProcessor::getParameterName(int index) const
{
    if (index < 0 || index >= numHostParameters)
        return {};
    return ParDes::hostParameterName(index);
}

juce::String ZarnelAudioProcessor::getParameterText(int index) const
{
    if (index < 0 || index >= numHostParameters)
        return {};
    const auto& tables = state.getTables();
    return ParDes::formatParameterValue(tables.kind(index), tables.clamp(index, state.getCurrentByte(index)));
}

HostParameter* ZarnelAudioProcessor::getHostParameter(int index) const
{
    if (index < 0 || index >= numHostParameters)
        return nullptr;
    return hostParameters[(size_t)index];
}

bool ZarnelAudioProcessor::isGestureOpen(int index) const noexcept
{
    return index >= 0 && index < numGestureFlags && gestureOpen[(size_t)index];
}

void ZarnelAudioProcessor::setParameterFromEditor(int index, int value, bool notifyHostNow, bool sendToSynth)
{
    if (index < 0 || index >= numGestureFlags || !history.takesEdits())
        return;
    history.beforeEdit(sendToSynth);
    if (index < (int)ProgramSysex::recordSize)
        state.setCurrentByte(index, value);

    bool opened = false;
    if (!gestureOpen[(size_t)index])
    {
        gestureOpen[(size_t)index] = true;
        opened = true;
        if (auto* p = getHostParameter(index))
            p->beginChangeGesture();
    }

    if (index < numHostParameters)
    {
        const int maximum = state.getTables().maximum(index);
        // The host hears the new value without it coming back through our own setParameter: a
        // dump arriving in between would otherwise look like automation and be overwritten.
        reportToHost(index, maximum > 0 ? juce::jlimit(0.0f, 1.0f, (float)value / (float)maximum) : 0.0f);
    }

    if (sendToSynth)
        state.sendParameterNrpn(state.getTables().nrpn(index), value, 0, state.getSampleRate());

    state.postNotification(Notification::parameter(index, value));

    // A gesture the mouse holds ends at mouse up, not at a finished edit nor at the timer.
    if (isGestureHeld(index))
        return;
    if (notifyHostNow)
    {
        closeGesture(index);
    }
    else
    {
        if (opened)
            gestureEndQueue.add((std::int16_t)index);
        startTimer(gestureTimerMs);
    }
}

bool ZarnelAudioProcessor::isGestureHeld(int index) const noexcept
{
    return index >= 0 && index < numGestureFlags && gestureHolds[(size_t)index] > 0;
}

ZarnelAudioProcessor::GestureHold ZarnelAudioProcessor::beginEditorGesture(int index)
{
    if (index < 0 || index >= numGestureFlags || !history.takesEdits())
        return 0;
    auto& holds = gestureHolds[(size_t)index];
    if (holds == std::numeric_limits<std::uint8_t>::max())
        return 0;
    ++holds;
    anyGestureHeld = true;
    if (!gestureOpen[(size_t)index])
    {
        gestureOpen[(size_t)index] = true;
        if (auto* p = getHostParameter(index))
            p->beginChangeGesture();
    }
    return holdGeneration;
}

void ZarnelAudioProcessor::endEditorGesture(int index, GestureHold hold)
{
    if (!isHoldCurrent(hold) || !isGestureHeld(index))
        return;
    if (--gestureHolds[(size_t)index] == 0)
        closeGesture(index);
}

void ZarnelAudioProcessor::releaseStaleHolds()
{
    if (!anyGestureHeld || juce::ModifierKeys::currentModifiers.isAnyMouseButtonDown())
        return;
    anyGestureHeld = false;
    if (++holdGeneration == 0)
        holdGeneration = 1;
    for (int i = 0; i < numGestureFlags; ++i)
        if (std::exchange(gestureHolds[(size_t)i], std::uint8_t{0}) > 0)
            closeGesture(i);
}

void ZarnelAudioProcessor::closeGesture(int index)
{
    if (!isGestureOpen(index))
        return;
    gestureOpen[(size_t)index] = false;
    if (auto* p = getHostParameter(index))
        p->endChangeGesture();
}

void ZarnelAudioProcessor::timerCallback()
{
    releaseStaleHolds();
    for (auto index : gestureEndQueue)
        if (!isGestureHeld(index))
            closeGesture(index);
    gestureEndQueue.clearQuick();
    recordHistory();

    // The program was replaced (a dump, a program change, a state): the host re-reads every value.
    const auto generation = state.getProgramGeneration();
    if (generation != lastSeenProgramGeneration)
    {
        lastSeenProgramGeneration = generation;
        updateHostDisplay(ChangeDetails{}.withParameterInfoChanged(true));
        // The VST3 wrapper only re-reads titles for that, the LV2 wrapper nothing: tell every
        // parameter's listeners (the wrappers among them) its new value.
        for (int i = 0; i < numHostParameters; ++i)
            reportToHost(i, getParameter(i));
    }
}

bool ZarnelAudioProcessor::anyGestureOpen() const noexcept
{
    for (const bool open : gestureOpen)
        if (open)
            return true;
    return false;
}

void ZarnelAudioProcessor::recordHistory()
{
    history.tick(anyGestureOpen(), juce::Time::getMillisecondCounterHiRes());
}

bool ZarnelAudioProcessor::undo()
{
    return stepHistory(true);
}

bool ZarnelAudioProcessor::redo()
{
    return stepHistory(false);
}

bool ZarnelAudioProcessor::stepHistory(bool backwards)
{
    const auto now = juce::Time::getMillisecondCounterHiRes();
    ProgramEditHistory::Move move;
    if (!(backwards ? history.undo(now, move) : history.redo(now, move)))
        return false;
    for (const int index : move.changed)
        if (index < numHostParameters)
            reportToHost(index, getParameter(index));
    // A whole program restored: the host hears every value now, not at the next tick.
    timerCallback();
    return true;
}

void ZarnelAudioProcessor::setComparing(bool shouldCompare)
{
    history.setComparing(shouldCompare, juce::Time::getMillisecondCounterHiRes());
    // The whole program changed: the host hears every value at once, not at the next tick.
    timerCallback();
}

void ZarnelAudioProcessor::reportToHost(int index, float value)
{
    const auto i = (size_t)index;
    reportedGeneration[i] = state.getProgramGeneration();
    reportedAtMs[i] = juce::Time::getMillisecondCounter();
    reportedValue[i] = value;
    hostParameters[i]->sendValueChangedMessageToListeners(value);
}

void ZarnelAudioProcessor::changeListenerCallback(juce::ChangeBroadcaster*)
{
    applyHardwareChanges();
}

void ZarnelAudioProcessor::applyHardwareChanges()
{
    std::uint32_t entry;
    while (state.popHardwareChange(entry))
    {
        const int index = (int)(entry / 4096), value = (int)(entry % 4096);
        // Else dropped: the panel shows the stored program and takes no edits.
        if (history.isComparing() && history.leaveCompareForKnob(index, value, juce::Time::getMillisecondCounterHiRes()))
            timerCallback(); // the host hears the edits back at once
        setParameterFromEditor(index, value, false, false);
    }
}

//==== Programs =======================================================================================

int ZarnelAudioProcessor::getCurrentProgram()
{
    return state.hostProgramIndex.load();
}

void ZarnelAudioProcessor::setCurrentProgram(int index)
{
    if (index < 0 || index >= numHostPrograms)
        return;
    state.hostProgramIndex = index;
    state.loadHostProgram();
    state.postNotification(Notification::hostProgramChanged);
}

const juce::String ZarnelAudioProcessor::getProgramName(int index)
{
    if (index < 0 || index >= numHostPrograms)
        return {};
    return state.getHostBankProgramName(index);
}

void ZarnelAudioProcessor::changeProgramName(int index, const juce::String& newName)
{
    if (index < 0 || index >= numHostPrograms)
        return;
    state.setHostBankProgramName(index, newName);
    state.hostProgramIndex = index;
    state.loadHostProgram();
}

//==== State ==========================================================================================

void ZarnelAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    StateBlocks::Session session;
    session.hostProgramIndex = state.hostProgramIndex.load();
    session.current = history.getEditedProgram();
    const auto block = StateBlocks::makeBankBlock(state.getHostBankData(), session);
    destData.replaceAll(block.data(), block.size());
}

void ZarnelAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    if (sizeInBytes <= 0)
        return;
    const auto bank = StateBlocks::readBankBlock(data, (size_t)sizeInBytes);
    if (!bank)
        return;
    // Whole, under one hold of the lock: a save in between never sees half of each bank.
    state.replaceHostBankData(*bank);

    // VST3 and LV2 hosts restore the state without selecting a program afterwards: bring back the
    // program being edited and the host's program number from the trailer.
    if (const auto session = StateBlocks::readSession(data, (size_t)sizeInBytes))
    {
        state.hostProgramIndex = session->hostProgramIndex;
        state.setCurrentProgram(session->current);
        state.postNotification(Notification::programReplaced);
        state.postNotification(Notification::hostProgramChanged);
    }
}

void ZarnelAudioProcessor::getCurrentProgramStateInformation(juce::MemoryBlock& destData)
{
    const auto current = history.getEditedProgram();
    state.setHostBankProgram(state.hostProgramIndex.load(), current);
    const auto block = StateBlocks::makeProgramBlock(current);
    destData.replaceAll(block.data(), block.size());
}

void ZarnelAudioProcessor::setCurrentProgramStateInformation(const void* data, int sizeInBytes)
{
    if (sizeInBytes <= 0)
        return;
    const auto record = StateBlocks::readProgramBlock(data, (size_t)sizeInBytes);
    if (!record)
        return;
    state.setHostBankProgram(state.hostProgramIndex.load(), *record);
    state.setCurrentProgram(*record);
    state.loadHostProgram();
}

juce::MemoryBlock ZarnelAudioProcessor::makeProgramChunk(const ProgramSysex::Record& record)
{
    const auto block = StateBlocks::makeProgramBlock(record);
    return juce::MemoryBlock(block.data(), block.size());
}

} // namespace zarnel
