#include "OverlaySnapshots.h"

#include "midi/MidiDevices.h"
#include "model/ProgramSysex.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/MessagePump.h"
#include "ui/main/MIDI_Setup.h"
#include "ui/main/MIDI_scan.h"
#include "ui/main/MainComp.h"

#include <iostream>
#include <map>

namespace
{

// A keyboard and a Mopho x4 whose global settings send controllers instead of NRPN: the
// instrument answers the link test, and the search warns about the settings.
class WronglySetUpSynth : public zarnel::MidiDeviceBackend
{
public:
    juce::StringArray getInputNames() override { return names; }
    juce::StringArray getOutputNames() override { return names; }
    std::unique_ptr<zarnel::MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) override
    {
        callbacks[names[index]] = callback;
        return std::make_unique<Input>(names[index]);
    }
    std::unique_ptr<zarnel::MidiOutputDevice> openOutput(int index) override
    {
        return std::make_unique<Output>(*this, names[index]);
    }

private:
    struct Input : zarnel::MidiInputDevice
    {
        explicit Input(juce::String n) : name(std::move(n)) {}
        juce::String getName() const override { return name; }
        void start() override {}
        void stop() override {}
        juce::String name;
    };
    struct Output : zarnel::MidiOutputDevice
    {
        Output(WronglySetUpSynth& b, juce::String n) : backend(b), name(std::move(n)) {}
        juce::String getName() const override { return name; }
        void sendMessageNow(const juce::MidiMessage& m) override
        {
            const auto request = zarnel::ProgramSysex::globalDumpRequest();
            if (name == synthName && m.getRawDataSize() == (int)request.size()
                && std::equal(request.begin(), request.end(), m.getRawData()))
                backend.answer();
        }
        WronglySetUpSynth& backend;
        juce::String name;
    };

    void answer()
    {
        // Nibble pairs from byte 4: PARAM SEND 1 (controllers), PARAM RECV 2 (NRPN only).
        static const juce::uint8 dump[] = {0xF0, 0x01, 0x29, 0x0F, 0x0C, 0x00, 0x0A, 0x03, 0x00, 0x00, 0x01,
                                           0x00, 0x01, 0x00, 0x02, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00,
                                           0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03,
                                           0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0xF7};
        juce::MessageManager::callAsync([this] {
            if (auto* callback = callbacks[synthName])
                callback->handleIncomingMidiMessage(nullptr, juce::MidiMessage(dump, (int)sizeof dump));
        });
    }

    static constexpr const char* synthName = "Mopho x4 MIDI 1";
    const juce::StringArray names{"Alpha Keys MIDI 1", synthName};
    std::map<juce::String, juce::MidiInputCallback*> callbacks;
};

} // namespace

bool writeOverlaySnapshots(const juce::File& outFolder,
                           const std::function<bool(juce::Component&, const juce::File&)>& writePng)
{
    const auto settings = juce::File::getSpecialLocation(juce::File::tempDirectory)
                              .getChildFile("zarnel-snapshot-overlays-" + juce::Uuid().toString());
    bool ok = true;
    {
        WronglySetUpSynth devices;
        zarnel::ZarnelAudioProcessor processor(settings, devices);
        auto& state = processor.getState();
        state.currentBank = 4;
        // The clock divide at its longest text, for the boxes that show it.
        auto program = state.getBankProgram(4, 0);
        program[102] = 6;
        state.setCurrentProgram(program);
        // No port file: the first opening searches the ports by itself.
        zarnel::ZarnelAudioProcessorEditor editor(processor);
        auto& main = editor.getMainComp();
        main.toggleAbout(false, 0);
        for (int i = 0; i < 300 && state.getPortSearch().isRunning(); ++i)
            zarnel::test::pumpMessages(10);
        zarnel::test::pumpMessages(50);

        const std::pair<int, int> sizes[] = {{452, 150}, {1012, 595}};
        for (const auto& [w, h] : sizes)
        {
            editor.setSize(w, h);
            const auto name = [&](const char* what) {
                return outFolder.getChildFile(juce::String("overlay-") + what + "-" + juce::String(w) + "x"
                                              + juce::String(h) + ".png");
            };
            const auto shot = [&](const char* what) { ok &= writePng(editor, name(what)); };

            if (auto* search = main.getScanPanel())
            {
                search->refresh();
                if (!search->getText().contains("WARNING!"))
                {
                    std::cout << "FAILED the search report has no warning lines:\n" << search->getText() << "\n";
                    ok = false;
                }
                shot("port-search-warning");
            }
            else
            {
                std::cout << "FAILED no port search panel\n";
                ok = false;
            }
            main.toggleScan(false);
            zarnel::test::pumpMessages(20);
            ok &= writePng(main.getAppBar(), name("bar"));

            main.stsbutPressed(zarnel::AppBar::midiCode);
            zarnel::test::pumpMessages(20);
            shot("midi-setup");
            main.getMidiSetup()->toggleGlobalPage();
            zarnel::test::pumpMessages(50);
            shot("midi-setup-globals");
            main.stsbutPressed(zarnel::AppBar::midiCode);
            zarnel::test::pumpMessages(20);

            main.toggleBankPage(true);
            zarnel::test::pumpMessages(20);
            shot("bank-page");
            main.toggleBankPage(false);

            main.stsbutPressed(zarnel::AppBar::writeCode);
            shot("write-dialog");
            main.toggleWriteDialog(false);
            zarnel::test::pumpMessages(20);

            main.toggleAbout(true, 0);
            shot("about");
            main.toggleAbout(false, 0);
            zarnel::test::pumpMessages(20);

            main.showMessage("The bank could not be received whole: 12 programs did not arrive. The bank is not "
                             "full and the programs that came are kept; receive it again to fill it.");
            shot("message-long");
            main.stsbutPressed(zarnel::MsgCont::okCode);
            zarnel::test::pumpMessages(20);

            main.startBankTransfer(100, 1);
            main.handleStateCode(0x17000000 + 1 * 256 + 63);
            shot("progress");
            main.endBankTransfer();
            zarnel::test::pumpMessages(20);

            main.openSectionZoom(6);
            shot("zoom-sequencer");
            main.closeSectionZoom();
            zarnel::test::pumpMessages(20);

            // Back for the next size: the search report again.
            main.toggleScan(true);
            for (int i = 0; i < 300 && state.getPortSearch().isRunning(); ++i)
                zarnel::test::pumpMessages(10);
            zarnel::test::pumpMessages(50);
        }
        main.toggleScan(false);
        zarnel::test::pumpMessages(20);
    }
    settings.deleteRecursively();
    return ok;
}
