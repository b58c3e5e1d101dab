#include "midi/JuceMidiBackend.h"
#include "midi/MIDI_PORTS_Control.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using zarnel::MIDI_PORTS_Control;
using zarnel::test::VirtualMidiBackend;

namespace
{

using Bytes = std::vector<std::uint8_t>;

class Recorder : public VirtualMidiBackend::FarSide
{
public:
    void receivedFromPlugin(const juce::MidiMessage& m) override
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const auto* raw = m.getRawData();
        received.emplace_back(raw, raw + m.getRawDataSize());
        changed.notify_all();
    }

    bool waitFor(const Bytes& message, int timeoutMs = 5000)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(
            lock, std::chrono::milliseconds(timeoutMs),
            [&] { return std::find(received.begin(), received.end(), message) != received.end(); });
    }

    std::vector<Bytes> take()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(received, {});
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Bytes> received;
};

class CountingInput : public juce::MidiInputCallback
{
public:
    void handleIncomingMidiMessage(juce::MidiInput*, const juce::MidiMessage&) override { ++count; }
    std::atomic<int> count{0};
};

const Bytes marker{0xBF, 0x77, 0x55};

Bytes sysex(size_t size)
{
    Bytes b(size);
    for (size_t i = 0; i < size; ++i)
        b[i] = (std::uint8_t)(i % 0x70);
    b.front() = 0xF0;
    b.back() = 0xF7;
    return b;
}

// As a string, so that failures print the bytes.
std::string bytesOf(const juce::MemoryBlock& block)
{
    return std::string(static_cast<const char*>(block.getData()), block.getSize());
}

const std::string defaultFile("NONE\x0FNONE\x10NONE\x11");

class PortsFixture : public ::testing::Test
{
protected:
    PortsFixture()
    {
        backend.addDevice("Mopho A", &farA);
        backend.addDevice("Mopho B", &farB);
        backend.addDevice("AB", nullptr);
    }

    // What reached the far side before a marker sent afterwards, so that "nothing" is checked
    // without sleeping.
    std::vector<Bytes> sentBy(Recorder& far, const std::function<void()>& action)
    {
        far.take();
        action();
        ports->sendController(16, marker[1], marker[2]);
        EXPECT_TRUE(far.waitFor(marker));
        auto got = far.take();
        if (!got.empty() && got.back() == marker)
            got.pop_back();
        return got;
    }

    std::string portFileContent() const
    {
        juce::MemoryBlock content;
        portFile.loadFileAsData(content);
        return bytesOf(content);
    }

    zarnel::test::TempFolder folder;
    juce::File portFile = folder.file("mhxplports.dat");
    Recorder farA, farB;
    CountingInput callback;
    VirtualMidiBackend backend;
    std::unique_ptr<MIDI_PORTS_Control> ports = std::make_unique<MIDI_PORTS_Control>(backend, portFile);
};

} // namespace

TEST_F(PortsFixture, SendersBuildTheirMessagesAndFollowChannelAndRangeRules)
{
    ports->selectOutputPort(1);
    ASSERT_TRUE(ports->outputOpen);
    auto& p = *ports;

    const std::vector<std::pair<std::function<void()>, std::vector<Bytes>>> cases{
        {[&] { p.sendController(1, 7, 100); }, {{0xB0, 7, 100}}},
        {[&] { p.sendController(16, 7, 100); }, {{0xBF, 7, 100}}},
        {[&] { p.sendController(0, 7, 100); }, {{0xB0, 7, 100}}},
        {[&] { p.sendController(-5, 7, 100); }, {{0xB0, 7, 100}}},
        {[&] { p.sendController(17, 7, 100); }, {}},
        {[&] { p.sendController(2, 0x87, 0x1FF); }, {{0xB1, 0x07, 0x7F}}},
        {[&] { p.sendNoteOff(3, 60); }, {{0x82, 60, 0}}},
        {[&] { p.sendNoteOff(17, 60); }, {}},
        {[&] { p.sendNoteOff(1, 200); }, {{0x80, 200 & 0x7F, 0}}},
        {[&] { p.sendPitchWheel(1, 8192); }, {{0xE0, 0x00, 0x40}}},
        {[&] { p.sendPitchWheel(4, 0x3FFF); }, {{0xE3, 0x7F, 0x7F}}},
        {[&] { p.sendPitchWheel(17, 0); }, {}},
        {[&] { p.sendProgramChange(1, 5); }, {{0xC0, 5}}},
        {[&] { p.sendProgramChange(0, 127); }, {{0xC0, 127}}},
        {[&] { p.sendProgramChange(1, 128); }, {}},
        {[&] { p.sendProgramChange(17, 5); }, {}},
        {[&]
         {
             juce::MidiBuffer b;
             b.addEvent(juce::MidiMessage(0x90, 60, 100), 0);
             b.addEvent(juce::MidiMessage(0x80, 60, 0), 0);
             p.sendBufferNow(b);
         },
         {{0x90, 60, 100}, {0x80, 60, 0}}},
        {[&] { p.sendSysex(sysex(6).data(), 6); }, {sysex(6)}},
        {[&] { p.sendSysex(nullptr, 0); }, {}},
    };

    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(sentBy(farA, cases[i].first), cases[i].second) << "case " << i;
    EXPECT_TRUE(farB.take().empty());
}

TEST_F(PortsFixture, NothingIsSentWithoutAnOpenOutput)
{
    const auto sendEverything = [this]
    {
        ports->sendController(1, 7, 1);
        ports->sendNoteOff(1, 60);
        ports->sendPitchWheel(1, 0);
        ports->sendProgramChange(1, 1);
        juce::MidiBuffer b;
        b.addEvent(juce::MidiMessage(0x90, 60, 100), 0);
        ports->sendBufferNow(b);
        ports->sendBufferAt(b, 0, 1000.0);
        const auto big = sysex(600);
        ports->sendSysex(big.data(), big.size());
        ports->sendSysex(big.data(), 10);
    };

    sendEverything();
    ports->selectOutputPort(1);
    ports->selectOutputPort(0);
    EXPECT_FALSE(ports->outputOpen);
    sendEverything();
    EXPECT_EQ(ports->getNumDropped(), 0u);

    ports->selectOutputPort(1);
    EXPECT_TRUE(sentBy(farA, [] {}).empty());
}

TEST_F(PortsFixture, LongSysexGoesInPiecesAndKeepsWhatIsScheduledForLater)
{
    ports->selectOutputPort(1);
    const Bytes delayed{0xB0, 1, 1};

    struct Case
    {
        size_t size;
        std::vector<size_t> pieces;
        bool pendingKept;
    };
    // Nothing scheduled is lost to a dump: a note-off waiting for its latency must still come.
    const Case cases[] = {{256, {256}, true}, {257, {256, 1}, true}, {600, {256, 256, 88}, true}};

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.size);
        farA.take();
        juce::MidiBuffer b;
        b.addEvent(delayed.data(), 3, 0);
        ports->sendBufferAt(b, 500, 1000.0);

        const auto message = sysex(c.size);
        ports->sendSysex(message.data(), message.size());
        // The sender thread runs again afterwards.
        ports->sendBufferAt(b, 550, 1000.0);
        ASSERT_TRUE(farA.waitFor(delayed));
        juce::Thread::sleep(300);

        auto got = farA.take();
        ASSERT_EQ(got.size(), c.pieces.size() + (c.pendingKept ? 2 : 1));
        Bytes joined;
        for (size_t i = 0; i < c.pieces.size(); ++i)
        {
            EXPECT_EQ(got[i].size(), c.pieces[i]);
            joined.insert(joined.end(), got[i].begin(), got[i].end());
        }
        EXPECT_EQ(joined, message);
    }
}

TEST_F(PortsFixture, TimedBlockArrivesNoEarlierThanItsOffset)
{
    ports->selectOutputPort(2);
    juce::MidiBuffer b;
    b.addEvent(juce::MidiMessage(0xB0, 2, 2), 0);
    b.addEvent(juce::MidiMessage(0xB0, 3, 3), 4410);

    const double start = juce::Time::getMillisecondCounterHiRes();
    ports->sendBufferAt(b, 100, 44100.0);
    ports->sendController(1, 1, 1);
    ASSERT_TRUE(farB.waitFor({0xB0, 3, 3}));
    EXPECT_GE(juce::Time::getMillisecondCounterHiRes() - start, 199.0);
    EXPECT_EQ(farB.take(), (std::vector<Bytes>{{0xB0, 1, 1}, {0xB0, 2, 2}, {0xB0, 3, 3}}));
}

TEST_F(PortsFixture, FirstStartWritesDefaultFileAndOpensNothing)
{
    ports->restorePorts(&callback);
    EXPECT_EQ(portFileContent(), defaultFile);
    EXPECT_EQ(ports->portNames, (juce::StringArray{"NONE", "NONE", "NONE"}));
    EXPECT_FALSE(ports->inputOpen);
    EXPECT_FALSE(ports->outputOpen);
    EXPECT_EQ(ports->inputIndex, -1);
    EXPECT_EQ(ports->outputIndex, -1);
}

TEST_F(PortsFixture, PortFileIsReadAndPortsReopenedByExactName)
{
    struct Case
    {
        std::string file;
        juce::String input, output;
        int inputIndex, outputIndex; // -1: port stays closed
    };
    const Case cases[] = {
        {"Mopho A\x0FMopho B\x10NONE\x11", "Mopho A", "Mopho B", 0, 1},
        {"Mopho B\x0FMopho A\x10", "Mopho B", "Mopho A", 1, 0},
        // The last 0x0F ends the input name, so the earlier one belongs to it.
        {"X\x0FMopho A\x0FMopho B\x10NONE\x11", "X\x0FMopho A", "Mopho B", -1, 1},
        {"Mopho A\x10Mopho B\x0F", "NONE", "NONE", -1, -1},
        {"\x0FMopho B\x10NONE\x11", "NONE", "NONE", -1, -1},
        {"Mopho A\x0FMopho B", "NONE", "NONE", -1, -1},
        // A name of one or two characters is no port, even when a device has it.
        {"AB\x0FMopho B\x10NONE\x11", "AB", "Mopho B", -1, 1},
        {"Mopho A\x0F"
         "AB\x10",
         "Mopho A", "AB", 0, -1},
        {"mopho a\x0FMopho B \x10", "mopho a", "Mopho B ", -1, -1},
        {"Unplugged\x0FNONE\x10NONE\x11", "Unplugged", "NONE", -1, -1},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(juce::String(c.file).replaceCharacters("\x0F\x10\x11", "123").toStdString());
        ports.reset();
        ASSERT_TRUE(portFile.replaceWithData(c.file.data(), c.file.size()));
        ports = std::make_unique<MIDI_PORTS_Control>(backend, portFile);
        ports->restorePorts(&callback);

        EXPECT_EQ(ports->portNames[0], c.input);
        EXPECT_EQ(ports->portNames[1], c.output);
        EXPECT_EQ(ports->portNames[2], "NONE");
        EXPECT_EQ(ports->inputOpen.load(), c.inputIndex >= 0);
        EXPECT_EQ(ports->outputOpen.load(), c.outputIndex >= 0);
        EXPECT_EQ(ports->inputIndex, c.inputIndex);
        EXPECT_EQ(ports->outputIndex, c.outputIndex);
        EXPECT_EQ(portFileContent(), c.file) << "reading leaves the file alone";
    }
}

TEST_F(PortsFixture, TooShortFileIsRewrittenFromCurrentNames)
{
    for (const std::string content : {"", "\x0F\x10", "AB"})
    {
        ports.reset();
        ASSERT_TRUE(portFile.replaceWithData(content.data(), content.size()));
        ports = std::make_unique<MIDI_PORTS_Control>(backend, portFile);
        ports->restorePorts(&callback);
        EXPECT_EQ(ports->portNames, (juce::StringArray{"NONE", "NONE", "NONE"}));
        EXPECT_EQ(portFileContent(), defaultFile);
    }
}

TEST_F(PortsFixture, OversizedFileLeavesNoPortAndStaysAsItWas)
{
    // A real name pair followed by a megabyte of junk: not a port file.
    std::string content = "Mopho x4 MIDI 1\x0FMopho x4 MIDI 1\x10NONE\x11";
    content.append(1024 * 1024, 'x');
    ports.reset();
    ASSERT_TRUE(portFile.replaceWithData(content.data(), content.size()));
    ports = std::make_unique<MIDI_PORTS_Control>(backend, portFile);
    ports->restorePorts(&callback);
    EXPECT_EQ(ports->portNames, (juce::StringArray{"NONE", "NONE", "NONE"}));
    EXPECT_EQ(portFile.getSize(), (juce::int64)content.size());
}

TEST_F(PortsFixture, SelectionRecordsNamesAndSurvivesAReorderedDeviceList)
{
    ports->selectInputPort(2, &callback);
    ports->selectOutputPort(1);
    EXPECT_EQ(ports->portNames, (juce::StringArray{"Mopho B", "Mopho A", "NONE"}));
    EXPECT_EQ(ports->inputIndex, 1);
    EXPECT_EQ(ports->outputIndex, 0);
    EXPECT_TRUE(backend.isInputOpen("Mopho B"));
    EXPECT_TRUE(backend.sendToPlugin("Mopho B", juce::MidiMessage(0x90, 60, 1)));
    EXPECT_EQ(callback.count, 1);

    // Choosing another device closes the first.
    ports->selectOutputPort(2);
    EXPECT_FALSE(backend.isOutputOpen("Mopho A"));
    EXPECT_TRUE(backend.isOutputOpen("Mopho B"));
    ASSERT_TRUE(ports->savePortFile());
    EXPECT_EQ(portFileContent(), std::string("Mopho B\x0FMopho B\x10NONE\x11"));

    // Next start: "Mopho B" now comes first in both lists.
    ports.reset();
    backend.removeDevice("Mopho A");
    backend.addDevice("Mopho A", &farA);
    ports = std::make_unique<MIDI_PORTS_Control>(backend, portFile);
    ports->restorePorts(&callback);
    EXPECT_EQ(ports->inputIndex, 0);
    EXPECT_EQ(ports->outputIndex, 0);
    EXPECT_TRUE(backend.isInputOpen("Mopho B"));
    EXPECT_TRUE(backend.isOutputOpen("Mopho B"));

    // Position 0 closes and records NONE.
    ports->selectInputPort(0, &callback);
    ports->selectOutputPort(0);
    EXPECT_EQ(ports->portNames, (juce::StringArray{"NONE", "NONE", "NONE"}));
    EXPECT_FALSE(ports->inputOpen);
    EXPECT_FALSE(ports->outputOpen);
    EXPECT_EQ(ports->inputIndex, -1);
    EXPECT_EQ(ports->outputIndex, -1);
    EXPECT_FALSE(backend.isInputOpen("Mopho B"));
    EXPECT_FALSE(backend.isOutputOpen("Mopho B"));
}

TEST_F(PortsFixture, DeviceThatFailsToOpenLeavesPortClosedButKeepsTheName)
{
    // The virtual devices, like most drivers, allow one user at a time.
    auto heldOut = backend.openOutput(1);
    auto heldIn = backend.openInput(1, nullptr);
    ports->selectOutputPort(2);
    ports->selectInputPort(2, &callback);
    EXPECT_FALSE(ports->outputOpen);
    EXPECT_FALSE(ports->inputOpen);
    EXPECT_EQ(ports->outputIndex, 1);
    EXPECT_EQ(ports->inputIndex, 1);
    ports->sendController(1, 1, 1);
    ASSERT_TRUE(ports->savePortFile());
    EXPECT_EQ(portFileContent(), std::string("Mopho B\x0FMopho B\x10NONE\x11"));

    // A position past the end of the list opens nothing and keeps the name as well.
    ports->selectOutputPort(9);
    EXPECT_FALSE(ports->outputOpen);
    EXPECT_EQ(ports->portNames[1], "Mopho B");
    heldOut.reset();
    heldIn.reset();
    EXPECT_TRUE(farB.take().empty());

    // Retried by name at the next start.
    ports = std::make_unique<MIDI_PORTS_Control>(backend, portFile);
    ports->restorePorts(&callback);
    EXPECT_TRUE(ports->outputOpen);
    EXPECT_TRUE(ports->inputOpen);
}

TEST(PortFileFormat, NamesRoundTripWithTheirCharacters)
{
    // Names within Latin-1 go one byte per character, as older files hold them; wider ones as
    // UTF-8, whose multi-byte sequences never hold a marker byte (U+0410 would end in 0x10).
    // The third name, never read back by older readers, says how names beyond ASCII are written.
    struct Case
    {
        const char* utf8;
        const char* fileBytes;
        const char* third;
    };
    const Case cases[] = {
        {"Mopho x4", "Mopho x4", "NONE"},
        {"Ger\xc3\xa4t", "Ger\xe4t", "LATIN-1"},
        {"\xd0\xa1\xd0\xb8\xd0\xbd\xd1\x82", "\xd0\xa1\xd0\xb8\xd0\xbd\xd1\x82", "UTF-8"}, // Синт
        {"MIDI \xe2\x80\x93 1", "MIDI \xe2\x80\x93 1", "UTF-8"},                                // en dash
        {"\xd0\x90\xd0\x90", "\xd0\x90\xd0\x90", "UTF-8"},                                        // АА
        // Latin-1 whose bytes are valid UTF-8 ("Ã©" is C3 A9, which UTF-8 reads as "é").
        {"\xc3\x83\xc2\xa9 Keys", "\xc3\xa9 Keys", "LATIN-1"},
    };
    for (const auto& c : cases)
    {
        const auto name = juce::String::fromUTF8(c.utf8);
        const auto bytes = MIDI_PORTS_Control::formatPortFile({name, name, "NONE"});
        const std::string one(c.fileBytes);
        EXPECT_EQ(bytesOf(bytes), one + "\x0F" + one + "\x10" + c.third + "\x11") << c.utf8;

        juce::String in, out;
        ASSERT_TRUE(MIDI_PORTS_Control::parsePortFile(bytes, in, out)) << c.utf8;
        EXPECT_EQ(in, name) << c.utf8;
        EXPECT_EQ(out, name) << c.utf8;
    }

    // Bytes that are not valid UTF-8 read as Latin-1, as they always did.
    const juce::MemoryBlock old("Ger\xe4t\xc3\x0F\xff\xfe\x10", 10);
    juce::String in, out;
    ASSERT_TRUE(MIDI_PORTS_Control::parsePortFile(old, in, out));
    EXPECT_EQ(in, juce::String::fromUTF8("Ger\xc3\xa4t\xc3\x83"));
    EXPECT_EQ(out, juce::String::fromUTF8("\xc3\xbf\xc3\xbe"));
}

TEST_F(PortsFixture, ANameBeyondLatin1FindsItsDeviceAgain)
{
    const auto name = juce::String::fromUTF8("\xd0\xa1\xd0\xb8\xd0\xbd\xd1\x82 MIDI \xe2\x80\x93 1");
    backend.addDevice(name, nullptr);
    ports->selectInputPort(backend.getInputNames().indexOf(name) + 1, &callback);
    ports->selectOutputPort(backend.getOutputNames().indexOf(name) + 1);
    ASSERT_TRUE(ports->savePortFile());
    ports->closeInput();
    ports->closeOutput();

    MIDI_PORTS_Control next(backend, ports->getPortFile());
    next.restorePorts(&callback);
    EXPECT_EQ(next.portNames[0], name);
    EXPECT_TRUE(next.isInputOpen());
    EXPECT_TRUE(next.isOutputOpen());
    next.closeInput();
    next.closeOutput();
}

TEST_F(PortsFixture, ClosingWhileAnotherThreadSendsIsSafe)
{
    std::atomic<bool> stop{false};
    std::thread sender(
        [&]
        {
            juce::MidiBuffer b;
            b.ensureSize(64);
            b.addEvent(juce::MidiMessage(0xF8), 0);
            while (!stop)
            {
                ports->sendBufferAt(b, 0, 44100.0);
                ports->sendController(1, 1, 1);
            }
        });
    for (int i = 0; i < 50; ++i)
    {
        ports->selectOutputPort(1 + i % 2);
        ports->selectOutputPort(0);
    }
    stop = true;
    sender.join();
    EXPECT_FALSE(ports->outputOpen);
}

TEST(JuceMidiBackend, DevicesThatDoNotExistOpenAsNothing)
{
    auto& backend = zarnel::JuceMidiBackend::instance();
    CountingInput callback;
    const int inputs = backend.getInputNames().size();
    const int outputs = backend.getOutputNames().size();
    EXPECT_EQ(backend.openInput(-1, &callback), nullptr);
    EXPECT_EQ(backend.openInput(inputs, &callback), nullptr);
    EXPECT_EQ(backend.openOutput(outputs), nullptr);

    zarnel::test::TempFolder folder;
    MIDI_PORTS_Control ports(backend, folder.file("mhxplports.dat"));
    ports.selectInputPort(inputs + 1, &callback);
    ports.selectOutputPort(outputs + 1);
    EXPECT_FALSE(ports.inputOpen);
    EXPECT_FALSE(ports.outputOpen);
    ports.sendController(1, 1, 1);
}
