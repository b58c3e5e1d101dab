#include "ParDes.h"

#include "ParameterList.h"

#include <array>

namespace zarnel
{

namespace
{

template <size_t N>
juce::String pick(const std::array<const char*, N>& texts, int value, const char* otherwise = "*/*")
{
    if (value >= 0 && value < (int)N)
        return texts[(size_t)value];
    return otherwise;
}

juce::String signedOffset(int value, int centre)
{
    return juce::String(value - centre);
}

const std::array<const char*, 16> lfoSyncedRates{"32 st", "16 st", "8 st",   "6 st",   "4 st",   "3 st",
                                                 "2 st",  "1.5 st", "1 st", "2/3 st", "1/2 st", "1/3 st",
                                                 "1/4 st", "1/6 st", "1/8 st", "1/16 st"};

const std::array<const char*, 5> lfoShapes{"Triangle", "Reverse Sawtooth", "Sawtooth", "Pulse (square)", "Random"};

const std::array<const char*, 4> glideModes{"Fixed Rate", "Fixed Rate Auto", "Fixed Time", "Fixed Time Auto"};

const std::array<const char*, 21> modSources{
    "OFF",         "Sequence Track 1", "Sequence Track 2", "Sequence Track 3", "Sequence Track 4",
    "LFO 1",       "LFO 2",            "LFO 3",            "LFO 4",            "Filter Envelope",
    "Amp Envelope", "Envelope 3",      "Pitch Bend",       "Mod Wheel",        "Pressure",
    "MIDI Breath", "MIDI Foot",        "MIDI Expression",  "Velocity",         "Note Number",
    "Noise"};

const std::array<const char*, 13> clockDivides{"Half Note",  "Quarter Note", "8th Note",  "8th N 1/2S", "8th N FS",
                                               "8th N T",    "16th Note",    "16th N 1/2S", "16th N S", "16th N T",
                                               "32nd N",     "32nd N T",     "64th N T"};

const std::array<const char*, 6> seqTriggers{"Normal", "No Reset", "No Gate", "No G/R", "Key Step", "Audio In"};

const std::array<const char*, 5> unisonModes{"1 voice", "All voice", "All detune 1", "All detune 2", "All detune 3"};

const std::array<const char*, 6> unisonAssigns{"Low Note ", "Low Note RT",   "High Note ",
                                               "High Note RT", "Last Note Hit", "Last Note Hit RT"};

const std::array<const char*, 15> arpModes{"Up",          "Down",          "Up/Down",       "Assign",
                                           "Random",      "2 Oct Up",      "2 Oct Down",    "2 Oct Up/Down",
                                           "2 Oct Assign", "2 Oct Random", "3 Oct Up",      "3 Oct Down",
                                           "3 Oct Up/Down", "3 Oct Assign", "3 Oct Random"};

const std::array<const char*, 2> pushItModes{"NORMAL", "TOGGLE"};

const std::array<const char*, 48> modDestinations{
    "OFF",           "Osc 1 Freq",      "Osc 2 Freq",   "Osc All Freq", "Osc Mix",         "Noise Level",
    "Osc 1 Pulse Width", "Osc 2 Pulse Width", "Osc All PW", "Low Pass",  "Resonance",       "Audio Mod",
    "VCA Level",     "Output Pan",      "LFO 1 Freq",   "LFO 2 Freq",   "LFO 3 Freq",      "LFO 4 Freq",
    "LFO All Freq",  "LFO 1 Amt",       "LFO 2 Amt",    "LFO 3 Amt",    "LFO 4 Amt",       "LFO All Amt",
    "Env 1 Amt",     "Env 2 Amt",       "Env 3 Amt",    "Env All Amounts", "Env 1 Attack", "Env 2 Attack",
    "Env 3 Attack",  "Env All Attacks", "Env 1 Decay",  "Env 2 Decay",  "Env 3 Decay",     "Env All Decays",
    "Env 1 Release", "Env 2 Release",   "Env 3 Release", "Env All Releases", "Mod 1 Amt",  "Mod 2 Amt",
    "Mod 3 Amt",     "Mod 4 Amt",       "Feedback Vol", "Sub Osc 1",    "Sub Osc 2",       "Feedback Gain"};

const std::array<const char*, 12> noteNames{"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

const std::array<const char*, ParDes::numCategories> categories{
    "- Not Assigned -", "Keys",       "Organs",     "Strings",   "Soft Lead", "Bright Lead", "Res Lead",
    "Sync",             "Soft Bass",  "Bright Bass", "Res Bass", "Sub Bass",  "Brass",       "Instruments",
    "Evolution",        "Motion",     "Synth",      "Vox",       "Bells",     "Harmonics",   "Sequence",
    "Percussion",       "Noise",      "Sound FX",   "Pads",      "Arpeggiator"};

const std::array<const char*, 4> seqStepPrefixes{"Seq 1 Step ", "Seq 2 Step ", "Seq 3 Step ", "Seq 4 Step "};

} // namespace

juce::String ParDes::noteName(int value)
{
    if (value < 0)
        return juce::String(value);
    return juce::String(noteNames[(size_t)(value % 12)]) + juce::String(value / 12);
}

juce::String ParDes::modDestinationName(int value)
{
    return pick(modDestinations, value, "");
}

juce::String ParDes::formatParameterValue(int kind, int value)
{
    switch (kind)
    {
        case 2:
            if (value >= 0 && value <= 3)
                return pick(std::array<const char*, 4>{"OFF", "SAW", "TRI", "SAW/TRI"}, value);
            if (value >= 4 && value <= 13)
                return "PW 0" + juce::String(value - 4);
            return "PW " + juce::String(value - 4);
        case 11:
            return pick(glideModes, value);
        case 37:
            if (value >= 151 && value <= 166)
                return lfoSyncedRates[(size_t)(value - 151)];
            return juce::String(value);
        case 38:
            return pick(lfoShapes, value);
        case 65:
            return pick(modSources, value);
        case 92:
            return pick(clockDivides, value);
        case 93:
            return "Range   " + juce::String(value);
        case 94:
            return pick(seqTriggers, value);
        case 95:
            return pick(unisonModes, value);
        case 96:
            return pick(unisonAssigns, value);
        case 97:
            return pick(arpModes, value);
        case 111:
        case 778:
            return noteName(value);
        case 113:
            return pick(pushItModes, value);
        case 333:
            return value == 0 ? "OFF" : "ON";
        case 400:
            return modDestinationName(value);
        case 444:
            return juce::String(value) + " bpm";
        case 555:
            return signedOffset(value, 127);
        case 888:
            return signedOffset(value, 50);
        case 4008:
            return value == 48 ? juce::String("Sequencer 1 Slew") : modDestinationName(value);
        case 4010:
            return value == 48 ? juce::String("Sequencer 2 Slew") : modDestinationName(value);
        default:
            return juce::String(value);
    }
}

juce::String ParDes::hostParameterName(int index)
{
    if (index >= 0 && index < numListedParameters)
        return parameterList[(size_t)index].hostName;
    if (index >= 120 && index <= 183)
    {
        const int track = (index - 120) / 16;
        const int step = (index - 120) % 16 + 1;
        return juce::String(seqStepPrefixes[(size_t)track]) + juce::String(step);
    }
    return {};
}

juce::String ParDes::categoryName(int index)
{
    return pick(categories, index, "");
}

} // namespace zarnel
