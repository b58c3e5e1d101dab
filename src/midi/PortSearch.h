#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace zarnel
{

class MidiCntrState;

// Finds the instrument by itself: tries each output with each input, pairs whose names share
// words first, sends the global dump request and keeps the first pair that answers twice in a
// row (a late answer meant for the pair before cannot pick the wrong output).
//
// Stepped by the controller state's message-thread timer and never waits; the clock can be
// replaced, so tests decide when an answer is late. While it runs, the user's choice stays
// recorded, the request is the only message the devices tried receive, and what they send counts
// only as an answer. Nothing answering or a cancel reopens the user's ports; a find becomes the
// choice and goes into the port file at once.
class PortSearch
{
public:
    // An instrument answers the request within a few milliseconds even through a slow USB hub;
    // this leaves room for busy drivers without making a search of many ports drag on.
    static constexpr double answerTimeMs = 400.0;

    // Port list positions, 1 for the first device.
    struct Pair
    {
        int input = 0;
        int output = 0;
        bool operator==(const Pair& other) const noexcept
        {
            return input == other.input && output == other.output;
        }
    };

    enum class Phase
    {
        idle,
        asking,          // request sent on the pair, waiting for the first answer
        confirming,      // it answered: asked again, waiting for the second answer
        found,           // the pair is the choice now
        nothingAnswered, // every pair tried; the user's ports are back
        noPorts,         // no input or no output to try; nothing was touched
        cancelled        // stopped; the user's ports are back
    };

    struct Report
    {
        juce::String title;
        juce::StringArray lines;
    };

    explicit PortSearch(MidiCntrState& state);

    void setClock(std::function<double()> clockMs);

    // Message thread. start returns false while a search runs already.
    bool start();
    void step();
    void cancel();
    // At shut-down: stops without opening anything again.
    void abandon();

    bool isRunning() const noexcept { return phase == Phase::asking || phase == Phase::confirming; }
    Phase getPhase() const noexcept { return phase; }
    int getPairIndex() const noexcept { return index; }
    int getNumPairs() const noexcept { return (int)pairs.size(); }
    // The pair being tried, or the one found.
    Pair getPair() const noexcept;
    juce::String getInputName() const;
    juce::String getOutputName() const;
    int getRequestsSent() const noexcept { return requestsSent; }
    bool wasChoiceSaved() const noexcept { return choiceSaved; }

    // What the user is told about the search as it stands.
    Report report() const;

    // Every pair, in the order they are tried: most shared distinctive words first (device names,
    // not "MIDI", "Port" or numbers), then most shared words, then outputs in list order, each
    // with the inputs in list order.
    static std::vector<Pair> orderPairs(const juce::StringArray& inputs, const juce::StringArray& outputs);
    static juce::StringArray wordsOf(const juce::String& name, bool distinctiveOnly);

private:
    void tryPair();
    void ask();
    void finish(Phase end);
    void announce();
    double now() const;

    MidiCntrState& state;
    std::function<double()> clock;
    Phase phase = Phase::idle;
    juce::StringArray inputNames, outputNames;
    std::vector<Pair> pairs;
    int index = 0;
    double askedAtMs = 0.0;
    std::uint32_t answersAtRequest = 0;
    int requestsSent = 0;
    bool choiceSaved = true;

    JUCE_DECLARE_NON_COPYABLE(PortSearch)
};

} // namespace zarnel
