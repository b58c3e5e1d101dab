// Loads the built VST3 and LV2 through JUCE's hosting classes and checks what a host sees. The
// Windows build (tests/hosts-windows) compiles the same tests for the VST3 alone and runs them under wine.

#include "model/ParDes.h"
#include "model/ParamTables.h"
#include "support/MessagePump.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace
{

constexpr int numParameters = 185;
constexpr int numPrograms = 128;
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 512;

// Layout of the plug-in's state: the bank block, then the session trailer
// (tag, version, host program, the record being edited).
constexpr size_t recordSize = 256;
constexpr size_t bankHeaderSize = 25;
constexpr size_t bankBlockSize = bankHeaderSize + numPrograms * recordSize;
constexpr size_t trailerSize = 273;
constexpr size_t trailerProgramOffset = bankBlockSize + 16;
constexpr size_t trailerRecordOffset = bankBlockSize + 17;
constexpr size_t nameOffset = 184;

enum class Format
{
    vst3,
    lv2
};

juce::String formatName(Format f)
{
    return f == Format::vst3 ? "VST3" : "LV2";
}

// Collects JUCE's logged assertions (enabled in this build), so a test fails where one fires.
class AssertionLog : public juce::Logger
{
public:
    void logMessage(const juce::String& message) override
    {
        std::cerr << message << std::endl;
        if (message.contains("JUCE Assertion failure"))
        {
            const juce::ScopedLock sl(lock);
            assertions.add(message);
        }
    }

    juce::StringArray take()
    {
        const juce::ScopedLock sl(lock);
        auto out = assertions;
        assertions.clear();
        return out;
    }

private:
    juce::CriticalSection lock;
    juce::StringArray assertions;
};

AssertionLog* assertionLog = nullptr;

juce::String pluginBytesAsText(const juce::MemoryBlock& block, size_t from, size_t count)
{
    return juce::String(static_cast<const char*>(block.getData()) + from, count);
}

class PluginHost
{
public:
    explicit PluginHost(Format f) : format(f) { formats.addDefaultFormats(); }

    juce::AudioPluginFormat* findFormat() const
    {
        for (auto* candidate : formats.getFormats())
            if (candidate->getName() == formatName(format))
                return candidate;
        return nullptr;
    }

    std::unique_ptr<juce::PluginDescription> describe()
    {
        auto* pluginFormat = findFormat();
        if (pluginFormat == nullptr)
            return {};
        juce::OwnedArray<juce::PluginDescription> found;
        if (format == Format::vst3)
        {
            pluginFormat->findAllTypesForFile(found, ZARNEL_VST3_BUNDLE);
        }
#ifdef ZARNEL_LV2_URI // the Windows build (tests/hosts-windows) has no LV2
        else
        {
            // The build folder; the test's empty home keeps an installed copy (~/.lv2) out.
            pluginFormat->searchPathsForPlugins(juce::FileSearchPath(ZARNEL_LV2_FOLDER), true, false);
            pluginFormat->findAllTypesForFile(found, ZARNEL_LV2_URI);
        }
#endif
        if (found.size() != 1)
            return {};
        return std::make_unique<juce::PluginDescription>(*found[0]);
    }

    std::unique_ptr<juce::AudioPluginInstance> load()
    {
        const auto description = describe();
        if (description == nullptr)
        {
            ADD_FAILURE() << "the built " << formatName(format) << " was not found";
            return {};
        }
        juce::String error;
        auto instance = formats.createPluginInstance(*description, sampleRate, blockSize, error);
        if (instance == nullptr)
            ADD_FAILURE() << "could not load the " << formatName(format) << ": " << error;
        return instance;
    }

    // The bytes the plug-in itself wrote, out of the host's wrapping of them.
    juce::MemoryBlock pluginState(juce::AudioPluginInstance& instance) const
    {
        juce::MemoryBlock hostState;
        instance.getStateInformation(hostState);
        juce::MemoryBlock out;
        if (format == Format::vst3)
        {
            if (const auto xml = juce::AudioProcessor::getXmlFromBinary(hostState.getData(), (int)hostState.getSize()))
                if (auto* component = xml->getChildByName("IComponent"))
                    out.fromBase64Encoding(component->getAllSubText());
        }
        else
        {
            const auto literal = lv2StateLiteral(hostState.toString());
            if (literal.getLength() > 0)
                out.fromBase64Encoding(hostState.toString().substring(literal.getStart(), literal.getEnd()));
        }
        return out;
    }

    // Restores bytes in the plug-in's own format through the host's state wrapping.
    void restorePluginState(juce::AudioPluginInstance& from, juce::AudioPluginInstance& into,
                            const juce::MemoryBlock& bytes) const
    {
        juce::MemoryBlock hostState;
        from.getStateInformation(hostState);
        juce::MemoryBlock wrapped;
        if (format == Format::vst3)
        {
            auto xml = juce::AudioProcessor::getXmlFromBinary(hostState.getData(), (int)hostState.getSize());
            ASSERT_NE(xml, nullptr);
            auto* component = xml->getChildByName("IComponent");
            ASSERT_NE(component, nullptr);
            component->deleteAllTextElements();
            component->addTextElement(bytes.toBase64Encoding());
            juce::AudioProcessor::copyXmlToBinary(*xml, wrapped);
        }
        else
        {
            auto text = hostState.toString();
            const auto literal = lv2StateLiteral(text);
            ASSERT_GT(literal.getLength(), 0);
            text = text.replaceSection(literal.getStart(), literal.getLength(), bytes.toBase64Encoding());
            wrapped.append(text.toRawUTF8(), text.getNumBytesAsUTF8());
        }
        into.setStateInformation(wrapped.getData(), (int)wrapped.getSize());
    }

    const Format format;

private:
    // JUCE's LV2 wrapper stores its state as one string property ("...#StateString").
    static juce::Range<int> lv2StateLiteral(const juce::String& ttl)
    {
        const int property = ttl.indexOf("StateString>");
        if (property < 0)
            return {};
        const int open = ttl.indexOfChar(property + 12, '"');
        const int close = open < 0 ? -1 : ttl.indexOfChar(open + 1, '"');
        if (close < 0)
            return {};
        return {open + 1, close};
    }

    juce::AudioPluginFormatManager formats;
};

std::string testName(const ::testing::TestParamInfo<Format>& info)
{
    return formatName(info.param).toStdString();
}

class HostFixture : public ::testing::TestWithParam<Format>
{
protected:
    void TearDown() override
    {
        for (auto& a : assertionLog->take())
            ADD_FAILURE() << a;
    }

    std::unique_ptr<juce::AudioPluginInstance> loadPrepared()
    {
        auto instance = host.load();
        if (instance != nullptr)
        {
            instance->enableAllBuses();
            instance->prepareToPlay(sampleRate, blockSize);
        }
        return instance;
    }

    // The host's parameter for each record index. VST3 keeps the plug-in's order; JUCE's LV2 host
    // puts its bypass first and sorts the rest by URI, which ends in the plug-in's ID ("p<index>").
    std::vector<juce::AudioProcessorParameter*> tableParameters(juce::AudioPluginInstance& instance) const
    {
        std::vector<juce::AudioProcessorParameter*> out(numParameters, nullptr);
        const auto& params = instance.getParameters();
        if (host.format == Format::vst3)
        {
            for (int i = 0; i < numParameters && i < params.size(); ++i)
                out[(size_t)i] = params[i];
            return out;
        }
        for (auto* p : params)
            if (auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*>(p))
            {
                const auto id = hosted->getParameterID().fromLastOccurrenceOf(":", false, false);
                const int index = id.substring(1).getIntValue();
                if (id == "p" + juce::String(index) && index >= 0 && index < numParameters)
                    out[(size_t)index] = p;
            }
        return out;
    }

    juce::AudioProcessorParameter* tableParameter(juce::AudioPluginInstance& instance, int index) const
    {
        return tableParameters(instance)[(size_t)index];
    }

    // One block, then time for the message thread (plug-in timers, host parameter updates).
    static void processOneBlock(juce::AudioPluginInstance& instance, int waitMs = 20)
    {
        juce::AudioBuffer<float> buffer(2, blockSize);
        buffer.clear();
        juce::MidiBuffer midi;
        instance.processBlock(buffer, midi);
        zarnel::test::pumpMessages(waitMs);
    }

    // Blocks and messages taking turns, as in a running host: some changes reach the host only
    // from the audio callback (LV2 patch messages, VST3 output parameter changes).
    static void keepRunning(juce::AudioPluginInstance& instance, int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10)
            processOneBlock(instance, 10);
    }

    // The program the plug-in itself is on, from its session trailer.
    int pluginProgram(juce::AudioPluginInstance& instance) const
    {
        const auto state = host.pluginState(instance);
        if (state.getSize() < bankBlockSize + trailerSize)
            return -1;
        return static_cast<const juce::uint8*>(state.getData())[trailerProgramOffset];
    }

    // Restores into `into` a bank whose programs all differ (tempo 30 + program number, names),
    // with a session on program 9. Returns the plug-in bytes restored.
    juce::MemoryBlock restoreDistinctBank(juce::AudioPluginInstance& from, juce::AudioPluginInstance& into)
    {
        auto bytes = host.pluginState(from);
        if (bytes.getSize() < bankBlockSize + trailerSize)
            return {};
        bytes.setSize(bankBlockSize + trailerSize);
        auto* b = static_cast<juce::uint8*>(bytes.getData());
        for (int program = 0; program < numPrograms; ++program)
        {
            auto* record = b + bankHeaderSize + (size_t)program * recordSize;
            record[2] = (juce::uint8)(program % 104);
            record[tempoIndex] = (juce::uint8)(30 + program);
            const auto name = juce::String("Bank test ") + juce::String(program).paddedLeft('0', 3) + "   ";
            std::memcpy(record + nameOffset, name.toRawUTF8(), 16);
        }
        b[trailerProgramOffset] = 9;
        std::memcpy(b + trailerRecordOffset, b + bankHeaderSize + 9 * recordSize, recordSize);
        host.restorePluginState(from, into, bytes);
        return bytes;
    }

    static constexpr int tempoIndex = 101;

    PluginHost host{GetParam()};
};

class HostedPlugin : public HostFixture
{
};

TEST_P(HostedPlugin, IsAStereoInstrumentWithMidiInAndOut)
{
    const auto description = host.describe();
    ASSERT_NE(description, nullptr) << "the " << formatName(host.format) << " was not found";
    EXPECT_EQ(description->name, "Zarnel X4 Editor");
    EXPECT_TRUE(description->isInstrument);

    auto instance = host.load();
    ASSERT_NE(instance, nullptr);
    EXPECT_TRUE(instance->acceptsMidi());
    EXPECT_TRUE(instance->producesMidi());
    EXPECT_FALSE(instance->isMidiEffect());
    EXPECT_TRUE(instance->hasEditor());

    ASSERT_EQ(instance->getBusCount(true), 1);
    ASSERT_EQ(instance->getBusCount(false), 1);
    EXPECT_EQ(instance->getChannelLayoutOfBus(true, 0), juce::AudioChannelSet::stereo());
    EXPECT_EQ(instance->getChannelLayoutOfBus(false, 0), juce::AudioChannelSet::stereo());
    EXPECT_EQ(instance->getTotalNumInputChannels(), 2);
    EXPECT_EQ(instance->getTotalNumOutputChannels(), 2);
}

TEST_P(HostedPlugin, PassesAudioThroughUnchangedOverManyBlocksWithMidi)
{
    auto instance = loadPrepared();
    ASSERT_NE(instance, nullptr);

    juce::Random random(4711);
    juce::AudioBuffer<float> buffer(2, blockSize), expected(2, blockSize);
    juce::MidiBuffer midi;
    int midiOut = 0, badMidiOut = 0;
    int firstMismatchBlock = -1;
    const auto started = juce::Time::getMillisecondCounterHiRes();

    for (int block = 0; block < 2000; ++block)
    {
        // Different signals per channel, so swapped or summed channels show.
        for (int i = 0; i < blockSize; ++i)
        {
            const auto t = (double)(block * blockSize + i) / sampleRate;
            buffer.setSample(0, i, (float)(0.5 * std::sin(2.0 * juce::MathConstants<double>::pi * 440.0 * t)));
            buffer.setSample(1, i, random.nextFloat() * 2.0f - 1.0f);
        }
        expected.makeCopyOf(buffer);

        midi.clear();
        const int note = 36 + block % 48;
        midi.addEvent(juce::MidiMessage::noteOn(1, note, (juce::uint8)100), block % blockSize);
        midi.addEvent(juce::MidiMessage::noteOff(1, note), (block * 7 + 100) % blockSize);
        midi.addEvent(juce::MidiMessage::controllerEvent(1, 1, block % 128), 200);
        midi.addEvent(juce::MidiMessage::pitchWheel(1, (block * 37) % 16384), 300);
        midi.addEvent(juce::MidiMessage::channelPressureChange(1, block % 128), 400);
        if (block % 250 == 0)
            midi.addEvent(juce::MidiMessage::programChange(1, block / 250), 10);

        instance->processBlock(buffer, midi);

        for (const auto meta : midi)
        {
            ++midiOut;
            if (meta.samplePosition < 0 || meta.samplePosition >= blockSize || meta.numBytes < 1 || meta.data[0] < 0x80)
                ++badMidiOut;
        }

        bool same = true;
        for (int ch = 0; ch < 2; ++ch)
            same = same && std::memcmp(buffer.getReadPointer(ch), expected.getReadPointer(ch), sizeof(float) * blockSize) == 0;
        if (!same && firstMismatchBlock < 0)
            firstMismatchBlock = block;

        if (block % 100 == 0)
            zarnel::test::pumpMessages(1);
    }

    EXPECT_EQ(firstMismatchBlock, -1) << "audio changed, first in block " << firstMismatchBlock;
    EXPECT_EQ(badMidiOut, 0) << "of " << midiOut << " MIDI events out";
    std::cout << formatName(host.format) << ": 2000 blocks in "
              << juce::roundToInt(juce::Time::getMillisecondCounterHiRes() - started) << " ms, " << midiOut
              << " MIDI events out" << std::endl;

    // Still answering afterwards.
    const auto state = host.pluginState(*instance);
    EXPECT_GE(state.getSize(), bankBlockSize);
    instance->releaseResources();
}

TEST_P(HostedPlugin, ShowsTheParameterTableWithNamesAndValueTexts)
{
    auto instance = loadPrepared();
    ASSERT_NE(instance, nullptr);
    const auto& tables = zarnel::ParamTables::get();
    const auto& params = instance->getParameters();
    const auto table = tableParameters(*instance);

    for (int i = 0; i < numParameters; ++i)
    {
        auto* p = table[(size_t)i];
        ASSERT_NE(p, nullptr) << "no host parameter for index " << i;
        EXPECT_EQ(p->getName(1024), zarnel::ParDes::hostParameterName(i)) << "parameter " << i;
        const int maximum = tables.maximum(i);
        for (const int v : {0, maximum / 3, maximum})
            EXPECT_EQ(p->getText((float)v / (float)maximum, 1024),
                      zarnel::ParDes::formatParameterValue(tables.kind(i), v))
                << "parameter " << i << " value " << v;
    }
    EXPECT_EQ(table[2]->getText(1.0f, 1024), "PW 99");
    EXPECT_EQ(table[101]->getText(120.0f / (float)tables.maximum(101), 1024), "120 bpm");

    // Beyond the table only what the format adds itself: bypass and program, and in VST3 JUCE's
    // stand-ins for MIDI controllers (VST3 has no controller events).
    int midiControllers = 0;
    for (auto* p : params)
    {
        if (std::find(table.begin(), table.end(), p) != table.end())
            continue;
        const auto name = p->getName(1024);
        if (name.startsWith("MIDI CC "))
            ++midiControllers;
        else
            EXPECT_TRUE(name.containsIgnoreCase("bypass") || name.containsIgnoreCase("program"))
                << "unexpected parameter \"" << name << "\"";
    }
    EXPECT_EQ(midiControllers, host.format == Format::vst3 ? 16 * 130 : 0);
}

TEST_P(HostedPlugin, ListsProgramsAndChangesProgram)
{
    auto instance = loadPrepared();
    ASSERT_NE(instance, nullptr);
    ASSERT_EQ(instance->getNumPrograms(), numPrograms);
    for (int i = 0; i < numPrograms; ++i)
        EXPECT_EQ(instance->getProgramName(i), "Untitled        ") << "program " << i;

    // VST3 keeps the plug-in's numbering. LV2 programs are presets, which JUCE's host lists in
    // lilv's order: there every host program must still reach a program of its own.
    std::set<int> reached;
    for (int program = numPrograms; --program >= 0;)
    {
        instance->setCurrentProgram(program);
        processOneBlock(*instance, 1);
        EXPECT_EQ(instance->getCurrentProgram(), program);
        const int actual = pluginProgram(*instance);
        if (host.format == Format::vst3)
        {
            EXPECT_EQ(actual, program);
        }
        reached.insert(actual);
    }
    EXPECT_EQ(reached.size(), (size_t)numPrograms);
    EXPECT_EQ(*reached.begin(), 0);
    EXPECT_EQ(*reached.rbegin(), numPrograms - 1);
}

TEST_P(HostedPlugin, HostParameterChangesTheProgramBeingEdited)
{
    auto instance = loadPrepared();
    ASSERT_NE(instance, nullptr);
    instance->setCurrentProgram(3);
    processOneBlock(*instance);
    const int program = pluginProgram(*instance);

    auto* shape = tableParameter(*instance, 2);
    auto* tempo = tableParameter(*instance, tempoIndex);
    ASSERT_NE(shape, nullptr);
    ASSERT_NE(tempo, nullptr);
    const int shapeMax = zarnel::ParamTables::get().maximum(2);
    const int tempoMax = zarnel::ParamTables::get().maximum(tempoIndex);

    shape->setValueNotifyingHost(1.0f);
    tempo->setValueNotifyingHost(90.0f / (float)tempoMax);
    processOneBlock(*instance);

    EXPECT_NEAR(shape->getValue(), 1.0f, 1.0e-4f);
    EXPECT_EQ(shape->getCurrentValueAsText(), "PW 99");
    EXPECT_EQ(tempo->getCurrentValueAsText(), "90 bpm");

    const auto state = host.pluginState(*instance);
    ASSERT_GE(state.getSize(), bankBlockSize + trailerSize);
    const auto* bytes = static_cast<const juce::uint8*>(state.getData());
    EXPECT_EQ(bytes[trailerProgramOffset], program);
    EXPECT_EQ((int)bytes[trailerRecordOffset + 2], shapeMax);
    EXPECT_EQ((int)bytes[trailerRecordOffset + tempoIndex], 90);
}

TEST_P(HostedPlugin, StateRestoresTheSameBankIntoAnotherInstance)
{
    auto first = loadPrepared();
    auto second = loadPrepared();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);

    const auto initial = host.pluginState(*first);
    ASSERT_GE(initial.getSize(), bankBlockSize + trailerSize);
    EXPECT_EQ(pluginBytesAsText(initial, 0, 15), "MophoPluginBank");
    EXPECT_EQ(pluginBytesAsText(initial, 15, 10), "Version100");
    EXPECT_EQ(pluginBytesAsText(initial, bankBlockSize, 15), "ZarnelEditState");
    EXPECT_EQ(pluginBytesAsText(initial, bankHeaderSize + nameOffset, 16), "Untitled        ");

    const auto bytes = restoreDistinctBank(*first, *second);
    ASSERT_EQ(bytes.getSize(), bankBlockSize + trailerSize);
    processOneBlock(*second);

    const auto restored = host.pluginState(*second);
    ASSERT_GE(restored.getSize(), bankBlockSize + trailerSize);
    EXPECT_EQ(std::memcmp(restored.getData(), bytes.getData(), bankBlockSize), 0) << "bank block differs";
    EXPECT_EQ(std::memcmp(static_cast<const char*>(restored.getData()) + bankBlockSize,
                          static_cast<const char*>(bytes.getData()) + bankBlockSize, trailerSize), 0)
        << "session trailer differs";
}

TEST_P(HostedPlugin, HostSeesTheValuesOfARestoredOrChangedProgram)
{
    auto first = loadPrepared();
    auto second = loadPrepared();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(restoreDistinctBank(*first, *second).getSize(), bankBlockSize + trailerSize);

    // The plug-in tells hosts about a replaced program from its timer: give it a few ticks.
    keepRunning(*second, 600);
    auto* tempo = tableParameter(*second, tempoIndex);
    ASSERT_NE(tempo, nullptr);
    EXPECT_EQ(tempo->getCurrentValueAsText(), "39 bpm") << "after restoring a session on program 9";

    for (const int hostProgram : {17, 100})
    {
        second->setCurrentProgram(hostProgram);
        keepRunning(*second, 600);
        const int program = pluginProgram(*second);
        EXPECT_EQ(tempo->getCurrentValueAsText(), juce::String(30 + program) + " bpm")
            << "after changing to host program " << hostProgram << " (plug-in program " << program << ")";
    }
}

TEST_P(HostedPlugin, ReportedValuesDoNotComeBackIntoTheNextProgram)
{
    // The plug-in tells the host every value of a replaced program; a host may hand those back
    // as parameter changes with its next block. If the program was replaced again in between,
    // they belong to the program before and must not be written into the new one.
    auto first = loadPrepared();
    auto second = loadPrepared();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(restoreDistinctBank(*first, *second).getSize(), bankBlockSize + trailerSize);
    keepRunning(*second, 600);

    for (const int hostProgram : {17, 60})
    {
        second->setCurrentProgram(hostProgram);
        zarnel::test::pumpMessages(400); // reported, no block yet
        second->setCurrentProgram(hostProgram + 40);
        keepRunning(*second, 600);

        const auto state = host.pluginState(*second);
        ASSERT_GE(state.getSize(), bankBlockSize + trailerSize);
        const auto* bytes = static_cast<const juce::uint8*>(state.getData());
        const int program = bytes[trailerProgramOffset];
        EXPECT_EQ((int)bytes[trailerRecordOffset + tempoIndex], 30 + program) << "host program " << hostProgram;
        EXPECT_EQ((int)bytes[trailerRecordOffset + 2], program % 104) << "host program " << hostProgram;
    }
}

INSTANTIATE_TEST_SUITE_P(Vst3, HostedPlugin, ::testing::Values(Format::vst3), testName);
#ifdef ZARNEL_LV2_URI
INSTANTIATE_TEST_SUITE_P(Lv2, HostedPlugin, ::testing::Values(Format::lv2), testName);
#endif

// Needs a display (the ctest entry runs it under Xvfb with a window manager).
class HostedEditor : public HostFixture
{
};

TEST_P(HostedEditor, OpensAndClosesRepeatedly)
{
    ASSERT_TRUE(juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isNotEmpty())
        << "no DISPLAY: run this through its ctest entry (xvfb-run)";
    auto instance = loadPrepared();
    ASSERT_NE(instance, nullptr);
    ASSERT_TRUE(instance->hasEditor());

    for (int round = 0; round < 10; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor(instance->createEditorIfNeeded());
        ASSERT_NE(editor, nullptr) << "round " << round;
        EXPECT_EQ(instance->getActiveEditor(), editor.get());
        {
            juce::DocumentWindow window(formatName(host.format) + " editor", juce::Colours::black,
                                        juce::DocumentWindow::closeButton);
            window.setUsingNativeTitleBar(true);
            window.setContentNonOwned(editor.get(), true);
            window.setVisible(true);
            zarnel::test::pumpMessages(250);
            EXPECT_TRUE(editor->isShowing()) << "round " << round;
            EXPECT_GT(editor->getWidth(), 100) << "round " << round;
            EXPECT_GT(editor->getHeight(), 100) << "round " << round;
            processOneBlock(*instance);
            window.clearContentComponent();
        }
        editor.reset();
        zarnel::test::pumpMessages(50);
        EXPECT_EQ(instance->getActiveEditor(), nullptr) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Vst3, HostedEditor, ::testing::Values(Format::vst3), testName);
#ifdef ZARNEL_LV2_URI
INSTANTIATE_TEST_SUITE_P(Lv2, HostedEditor, ::testing::Values(Format::lv2), testName);
#endif

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // One message thread for the whole run, gone before static destruction, so the leak detector
    // only sees what the tests left behind.
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI gui;
        AssertionLog log;
        juce::Logger::setCurrentLogger(&log);
        assertionLog = &log;
        result = RUN_ALL_TESTS();
        juce::Logger::setCurrentLogger(nullptr);
        assertionLog = nullptr;
    }
    return result;
}
