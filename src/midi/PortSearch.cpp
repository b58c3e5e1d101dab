#include "PortSearch.h"

#include "MidiCntrState.h"

#include "../model/GlobalSettings.h"

#include <algorithm>

namespace zarnel
{

namespace
{
// Words that every MIDI port name may carry: sharing them says nothing about the device.
bool isGenericWord(const juce::String& word)
{
    static const juce::StringArray generic{"midi", "port", "in", "out", "input", "output", "usb", "io", "device"};
    return generic.contains(word) || word.containsOnly("0123456789");
}

int sharedWords(const juce::StringArray& a, const juce::StringArray& b)
{
    int shared = 0;
    for (const auto& word : a)
        if (b.contains(word))
            ++shared;
    return shared;
}
} // namespace

PortSearch::PortSearch(MidiCntrState& s) : state(s), clock([] { return juce::Time::getMillisecondCounterHiRes(); })
{
}

void PortSearch::setClock(std::function<double()> clockMs)
{
    clock = std::move(clockMs);
}

double PortSearch::now() const
{
    return clock();
}

juce::StringArray PortSearch::wordsOf(const juce::String& name, bool distinctiveOnly)
{
    juce::StringArray words;
    juce::String word;
    const auto flush = [&] {
        if (word.isNotEmpty() && !(distinctiveOnly && isGenericWord(word)))
            words.addIfNotAlreadyThere(word);
        word.clear();
    };
    const auto lower = name.toLowerCase(); // kept: the pointer below walks its characters
    for (auto p = lower.getCharPointer(); !p.isEmpty();)
    {
        const auto c = p.getAndAdvance();
        if (juce::CharacterFunctions::isLetterOrDigit(c))
            word += juce::String::charToString(c);
        else
            flush();
    }
    flush();
    return words;
}

std::vector<PortSearch::Pair> PortSearch::orderPairs(const juce::StringArray& inputs, const juce::StringArray& outputs)
{
    struct Scored
    {
        Pair pair;
        int distinctive, all;
    };
    std::vector<Scored> scored;
    for (int o = 0; o < outputs.size(); ++o)
        for (int i = 0; i < inputs.size(); ++i)
            scored.push_back({{i + 1, o + 1},
                              sharedWords(wordsOf(inputs[i], true), wordsOf(outputs[o], true)),
                              sharedWords(wordsOf(inputs[i], false), wordsOf(outputs[o], false))});
    std::stable_sort(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) {
        return a.distinctive != b.distinctive ? a.distinctive > b.distinctive : a.all > b.all;
    });
    std::vector<Pair> ordered;
    ordered.reserve(scored.size());
    for (const auto& s : scored)
        ordered.push_back(s.pair);
    return ordered;
}

bool PortSearch::start()
{
    if (isRunning())
        return false;
    auto& ports = state.getPorts();
    inputNames = ports.getInputNames();
    outputNames = ports.getOutputNames();
    pairs = orderPairs(inputNames, outputNames);
    index = 0;
    requestsSent = 0;
    choiceSaved = true;
    if (pairs.empty())
    {
        // Nothing to try: the ports stay exactly as they are.
        phase = Phase::noPorts;
        announce();
        return true;
    }
    state.scanActive = true;
    ports.beginProbe();
    tryPair();
    return true;
}

void PortSearch::tryPair()
{
    auto& ports = state.getPorts();
    // A pair that does not open (a device busy in another program) cannot answer: passed over.
    for (; index < (int)pairs.size(); ++index)
    {
        const auto pair = pairs[(size_t)index];
        state.scanInput = pair.input;
        state.scanOutput = pair.output;
        ports.probePair(pair.input, pair.output, &state);
        if (ports.isInputOpen() && ports.isOutputOpen())
        {
            phase = Phase::asking;
            ask();
            announce();
            return;
        }
    }
    finish(Phase::nothingAnswered);
}

void PortSearch::ask()
{
    answersAtRequest = state.getGlobalDumpCount();
    askedAtMs = now();
    ++requestsSent;
    state.requestGlobalDump();
}

void PortSearch::step()
{
    if (!isRunning())
        return;
    if (state.getGlobalDumpCount() != answersAtRequest)
    {
        if (phase == Phase::asking)
        {
            phase = Phase::confirming;
            ask();
            return;
        }
        finish(Phase::found);
        return;
    }
    if (now() - askedAtMs >= answerTimeMs)
    {
        ++index;
        tryPair();
    }
}

void PortSearch::cancel()
{
    if (isRunning())
        finish(Phase::cancelled);
}

void PortSearch::abandon()
{
    if (!isRunning())
        return;
    phase = Phase::cancelled;
    state.scanActive = false;
}

void PortSearch::finish(Phase end)
{
    auto& ports = state.getPorts();
    phase = end;
    state.scanActive = false;
    if (end == Phase::found)
    {
        ports.endProbe(true, &state);
        choiceSaved = ports.savePortFile();
        if (!choiceSaved)
            state.postNotification(Notification::fileWriteFailed + Notification::portFile);
    }
    else
    {
        ports.endProbe(false, &state);
        // The status then tells whether the user's own ports reach the instrument.
        state.requestGlobalDump();
    }
    announce();
}

void PortSearch::announce()
{
    state.postNotification(Notification::portSearchChanged);
}

PortSearch::Pair PortSearch::getPair() const noexcept
{
    return index >= 0 && index < (int)pairs.size() ? pairs[(size_t)index] : Pair{};
}

juce::String PortSearch::getInputName() const
{
    return inputNames[getPair().input - 1];
}

juce::String PortSearch::getOutputName() const
{
    return outputNames[getPair().output - 1];
}

PortSearch::Report PortSearch::report() const
{
    Report r;
    const auto portLines = [&] {
        r.lines.add("In:  " + getInputName());
        r.lines.add("Out: " + getOutputName());
    };
    switch (phase)
    {
        case Phase::idle:
            break;
        case Phase::asking:
        case Phase::confirming:
            r.title = "Searching for the Mopho x4...";
            r.lines.add("Trying port pair " + juce::String(index + 1) + " of " + juce::String(pairs.size()));
            portLines();
            break;
        case Phase::found:
        {
            r.title = "Mopho x4 found";
            portLines();
            r.lines.add(choiceSaved ? "These ports are used from now on."
                                    : "These ports are used now, but the choice could not be saved.");
            const auto missing = GlobalSettings::missingRequirements([this](int i) { return state.getGlobalValue(i); });
            if (!missing.isEmpty())
            {
                r.lines.add("WARNING!");
                r.lines.add("Mopho global settings should be set MANUALLY as follows:");
                for (const auto& line : missing)
                    r.lines.add("  " + line);
            }
            break;
        }
        case Phase::nothingAnswered:
            r.title = "NOT CONNECTED!";
            r.lines.add("- Check USB/MIDI cables.");
            r.lines.add("- Check Mopho global setting: SYSEX send/receive should be set to ON.");
            r.lines.add((pairs.size() == 1 ? juce::String("No instrument answered on the one port pair tried")
                                           : "No instrument answered on the " + juce::String(pairs.size())
                                                 + " port pairs tried")
                        + "; the MIDI ports are as they were.");
            break;
        case Phase::noPorts:
            r.title = "NOT CONNECTED!";
            r.lines.add("- Check USB/MIDI cables.");
            r.lines.add("No MIDI input and output ports to search.");
            break;
        case Phase::cancelled:
            r.title = "Search cancelled";
            r.lines.add("The MIDI ports are as they were.");
            break;
    }
    return r;
}

} // namespace zarnel
