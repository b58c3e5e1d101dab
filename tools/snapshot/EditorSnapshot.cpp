// Renders the editor at its reference, smallest and largest sizes, and with its overlays, into
// PNG files, without a display. Used to look at the editor when changing it.
#include "midi/MidiDevices.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/MessagePump.h"
#include "ui/main/MainComp.h"
#include "ui/menus/MainCommands.h"

#include "LibrarySnapshot.h"
#include "MenuPicture.h"
#include "OverlaySnapshots.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{

// No MIDI devices: the pictures must not depend on what is plugged in.
class NoMidiDevices : public zarnel::MidiDeviceBackend
{
public:
    juce::StringArray getInputNames() override { return {}; }
    juce::StringArray getOutputNames() override { return {}; }
    std::unique_ptr<zarnel::MidiInputDevice> openInput(int, juce::MidiInputCallback*) override { return {}; }
    std::unique_ptr<zarnel::MidiOutputDevice> openOutput(int) override { return {}; }
};

// Three devices that open and never answer, for the port search in progress.
class SilentMidiDevices : public zarnel::MidiDeviceBackend
{
public:
    juce::StringArray getInputNames() override { return names; }
    juce::StringArray getOutputNames() override { return names; }
    std::unique_ptr<zarnel::MidiInputDevice> openInput(int index, juce::MidiInputCallback*) override
    {
        return std::make_unique<Input>(names[index]);
    }
    std::unique_ptr<zarnel::MidiOutputDevice> openOutput(int index) override
    {
        return std::make_unique<Output>(names[index]);
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
        explicit Output(juce::String n) : name(std::move(n)) {}
        juce::String getName() const override { return name; }
        void sendMessageNow(const juce::MidiMessage&) override {}
        juce::String name;
    };
    const juce::StringArray names{"Alpha Keys MIDI 1", "Mopho x4 MIDI 1", "Gamma Pads MIDI 1"};
};

bool writePng(juce::Component& c, const juce::File& file)
{
    const auto image = c.createComponentSnapshot(c.getLocalBounds(), true, 1.0f);
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    const bool ok = out.openedOk() && png.writeImageToStream(image, out);
    std::cout << (ok ? "wrote " : "FAILED ") << file.getFullPathName() << " (" << image.getWidth() << "x"
              << image.getHeight() << ")\n";
    return ok;
}

// Each menu as it opens over the editor: under its button, or where the press was for menus that
// open at the mouse. The bank page's menus open over that page.
bool writeMenus(zarnel::ZarnelAudioProcessorEditor& editor, const juce::File& outFolder)
{
    auto& main = editor.getMainComp();
    auto& commands = main.getCommands();
    zarnel::MenuModel shown;
    juce::Component* anchor = nullptr;
    commands.setMenuShower([&](const zarnel::MenuModel& menu, juce::Component* a, std::function<void(int)>) {
        shown = menu;
        anchor = a;
    });
    const auto lcd = editor.getLocalArea(&main.getProgramDisplay(), main.getProgramDisplay().getLocalBounds());
    const auto underLcd = lcd.getPosition().translated(lcd.getWidth() / 8, lcd.getHeight() / 2);

    struct Shot
    {
        const char* name;
        std::function<void()> open;
        juce::Point<int> atMouse;
        int openSubmenu;
    };
    auto& state = main.getCommands().getContext().state();
    const auto bankPageCommand = [&](int code) {
        if (!main.isBankPageShown())
            main.toggleBankPage(true);
        commands.bankPageCommand(code, main.getBankPage().getCommandButton(code), 0, 0);
    };
    const Shot shots[] = {
        {"menu-file", [&] { main.stsbutPressed(zarnel::AppBar::fileCode); }, {}, -1},
        {"menu-edit-empty", [&] { main.stsbutPressed(zarnel::AppBar::editCode); }, {}, -1},
        {"menu-edit-full",
         [&] {
             commands.getContext().clipboard.copy(state.getBankProgram(4, 7));
             main.stsbutPressed(zarnel::AppBar::editCode);
         },
         {}, -1},
        {"menu-send", [&] { main.stsbutPressed(zarnel::AppBar::sendCode); }, {}, -1},
        {"menu-channel", [&] { main.changeListenerCallback(&main.getAppBar().getChannelLabel()); }, {}, -1},
        {"menu-program-select", [&] { commands.openProgramSelectMenu(); }, underLcd, -1},
        {"menu-bank-file", [&] { bankPageCommand(zarnel::MainCommands::bankFileCode); }, {}, -1},
        {"menu-bank-transfer-receive", [&] { bankPageCommand(zarnel::MainCommands::bankTransferCode); }, {}, 0},
        {"menu-bank-transfer-transmit", [&] { bankPageCommand(zarnel::MainCommands::bankTransferCode); }, {}, 3},
        {"menu-presets-u3",
         [&] {
             state.currentBank = 2;
             bankPageCommand(zarnel::MainCommands::presetsCode);
             state.currentBank = 4;
         },
         {}, 0},
        {"menu-program-slot", [&] { commands.bankPageCommand(zarnel::MainCommands::programMenuCode, nullptr, 4, 7); },
         {420, 300}, -1},
    };
    bool ok = true;
    for (const auto& shot : shots)
    {
        shown = {};
        anchor = nullptr;
        shot.open();
        if (shown.isEmpty())
        {
            std::cout << "FAILED no menu for " << shot.name << "\n";
            ok = false;
            continue;
        }
        auto image = editor.createComponentSnapshot(editor.getLocalBounds(), true, 1.0f);
        const auto at = anchor != nullptr ? editor.getLocalArea(anchor, anchor->getLocalBounds()).getBottomLeft() : shot.atMouse;
        {
            juce::Graphics g(image);
            MenuPicture::draw(g, shown, at, editor.getLocalBounds(), shot.openSubmenu);
        }
        const auto file = outFolder.getChildFile(juce::String(shot.name) + ".png");
        file.deleteFile();
        juce::FileOutputStream out(file);
        const bool written = out.openedOk() && juce::PNGImageFormat().writeImageToStream(image, out);
        std::cout << (written ? "wrote " : "FAILED ") << file.getFullPathName() << "\n";
        ok &= written;
    }
    commands.setMenuShower({});
    main.toggleBankPage(false);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI gui;
    const juce::File outFolder = argc > 1 ? juce::File::getCurrentWorkingDirectory().getChildFile(argv[1])
                                          : juce::File::getCurrentWorkingDirectory().getChildFile("snapshots");
    outFolder.createDirectory();

    const auto settings = juce::File::getSpecialLocation(juce::File::tempDirectory)
                              .getChildFile("zarnel-snapshot-" + juce::Uuid().toString());
    bool ok = true;
    {
        NoMidiDevices devices;
        zarnel::ZarnelAudioProcessor processor(settings, devices);
        {
            // The first opening shows the about panel.
            zarnel::ZarnelAudioProcessorEditor editor(processor);
            ok &= writePng(editor, outFolder.getChildFile("editor-about.png"));
        }

        // A factory program, so that knobs and envelopes show something.
        auto& state = processor.getState();
        state.currentBank = 4;
        state.setCurrentProgram(state.getBankProgram(4, 0));

        zarnel::ZarnelAudioProcessorEditor editor(processor);
        auto& main = editor.getMainComp();
        main.handleStateCode(0x12000000); // as when the synthesizer answers the link test

        const std::pair<juce::Point<int>, const char*> sizes[] = {
            {{1191, 700}, "editor-1191x700.png"},
            {{452, 150}, "editor-min-452x150.png"},
            {{1429, 1046}, "editor-max-1429x1046.png"},
            {{1012, 595}, "editor-1012x595.png"}};
        for (const auto& [size, name] : sizes)
        {
            editor.setSize(size.x, size.y);
            ok &= writePng(editor, outFolder.getChildFile(name));
        }

        // After an edit the undo button is live; comparing lights COMPARE and shows the program
        // as it was loaded.
        editor.setSize(1191, 700);
        processor.setParameterFromEditor(20, 150, true, false);
        processor.recordHistory();
        zarnel::test::pumpMessages(20);
        main.getHistoryBar().refresh();
        ok &= writePng(editor, outFolder.getChildFile("editor-history.png"));
        processor.setComparing(true);
        zarnel::test::pumpMessages(20);
        main.getHistoryBar().refresh();
        ok &= writePng(editor, outFolder.getChildFile("editor-comparing.png"));
        processor.setComparing(false);
        zarnel::test::pumpMessages(20);

        // The zoom of three sections: one with an envelope, the clock and sequencer section, and the
        // largest one, at the reference and the largest window sizes.
        const std::pair<juce::Point<int>, const char*> zoomSizes[] = {{{1191, 700}, "1191x700"},
                                                                     {{1429, 1046}, "1429x1046"}};
        const std::pair<int, const char*> sections[] = {{0, "filter"}, {6, "sequencer"}, {7, "oscillators"}};
        for (const auto& [size, sizeName] : zoomSizes)
        {
            editor.setSize(size.x, size.y);
            for (const auto& [section, sectionName] : sections)
            {
                main.openSectionZoom(section);
                ok &= writePng(editor, outFolder.getChildFile(juce::String("zoom-") + sectionName + "-" + sizeName + ".png"));
                main.closeSectionZoom();
            }
        }

        // The sequencer page: the overview, then one track edited in each draw mode.
        editor.setSize(1191, 700);
        // A factory sequence, with a rest and a reset among its steps.
        auto sequence = state.getBankProgram(4, 5);
        sequence[120 + 6] = 127;
        sequence[120 + 16 + 15] = 126;
        state.setCurrentProgram(sequence);
        main.refreshAllControls();
        auto& sequencer = main.getSequencerPanel();
        main.showPage(zarnel::MainComp::sequencerPage);
        ok &= writePng(editor, outFolder.getChildFile("sequencer-overview.png"));
        const std::pair<int, const char*> drawModes[] = {{zarnel::SeqPanel::slidersItem, "sliders"},
                                                         {zarnel::SeqPanel::penItem, "pen"},
                                                         {zarnel::SeqPanel::quantizeItem, "quantize"}};
        for (int k = 0; k < 3; ++k)
        {
            sequencer.seqClassMessage(zarnel::SeqClass::editRequestMessage, k, 0);
            zarnel::test::pumpMessages(20);
            main.handleStateCode(0x12000000);
            sequencer.drawModeChosen(drawModes[k].first);
            ok &= writePng(editor, outFolder.getChildFile(juce::String("sequencer-track") + juce::String(k + 1) + "-"
                                                          + drawModes[k].second + ".png"));
        }
        editor.setSize(1429, 1046);
        ok &= writePng(editor, outFolder.getChildFile("sequencer-track3-1429x1046.png"));
        sequencer.stsbutChanged(&sequencer.getOkButton());
        zarnel::test::pumpMessages(20);
        main.showPage(zarnel::MainComp::editorPage);

        // The keyboard strip, collapsed and pulled up to its full height.
        for (const auto& [size, sizeName] : zoomSizes)
        {
            editor.setSize(size.x, size.y);
            auto& strip = main.getKeyboard();
            const int grip = (int)(10.0f * strip.getScale());
            strip.keyPlayDragStarted(grip);
            strip.keyPlayDragged(grip - (int)(152.0f * strip.getScale()));
            strip.keyPlayDragEnded();
            zarnel::test::pumpMessages(20);
            main.handleStateCode(0x12000000);
            ok &= writePng(editor, outFolder.getChildFile(juce::String("keyboard-shown-") + sizeName + ".png"));
        }
        {
            // The piano reached with Tab: the key Space would play is framed.
            auto& pad = main.getKeyboard().getPiano();
            pad.focusGained(juce::Component::focusChangedByTabKey);
            pad.keyPressed(juce::KeyPress(juce::KeyPress::rightKey, juce::ModifierKeys::shiftModifier, 0));
            ok &= writePng(editor, outFolder.getChildFile("keyboard-piano-focus.png"));
            pad.focusLost(juce::Component::focusChangedByTabKey);
            pad.keyPressed(juce::KeyPress(juce::KeyPress::leftKey, juce::ModifierKeys::shiftModifier, 0));
        }

        // The bank page in bank and category view, and the write dialog on a factory program,
        // at the reference and the smallest sizes.
        const std::pair<juce::Point<int>, const char*> pageSizes[] = {{{1191, 700}, "1191x700"}, {{452, 150}, "min-452x150"}};
        for (const auto& [size, sizeName] : pageSizes)
        {
            editor.setSize(size.x, size.y);
            state.selectProgram(4, 10, false);
            main.toggleBankPage(true);
            zarnel::test::pumpMessages(20);
            ok &= writePng(editor, outFolder.getChildFile(juce::String("bank-page-") + sizeName + ".png"));
            main.getBankPage().stsbutChanged(&main.getBankPage().getCategoryButton(3));
            ok &= writePng(editor, outFolder.getChildFile(juce::String("bank-page-category-") + sizeName + ".png"));
            main.toggleBankPage(false);
            main.stsbutPressed(zarnel::AppBar::writeCode);
            ok &= writePng(editor, outFolder.getChildFile(juce::String("write-dialog-") + sizeName + ".png"));
            main.getWriteDialog()->openRenameBox();
            ok &= writePng(editor, outFolder.getChildFile(juce::String("write-dialog-rename-") + sizeName + ".png"));
            main.toggleWriteDialog(false);
            zarnel::test::pumpMessages(20);
        }
        state.selectProgram(4, 0, false);
        zarnel::test::pumpMessages(20);

        editor.setSize(1191, 700);
        ok &= writeMenus(editor, outFolder);
        main.showMessage("The file could not be read.");
        ok &= writePng(editor, outFolder.getChildFile("editor-message.png"));
        main.stsbutPressed(zarnel::MsgCont::okCode);
        zarnel::test::pumpMessages(20);
        // The longest message a device can cause, at the smallest size.
        editor.setSize(452, 150);
        main.showMessage("The MIDI output stopped responding: it was closed. Choose it again in MIDI setup once "
                         "the device is back.");
        ok &= writePng(editor, outFolder.getChildFile("editor-message-output-stopped-smallest.png"));
        editor.setSize(1191, 700);
        zarnel::test::pumpMessages(20);
        ok &= writePng(editor, outFolder.getChildFile("editor-message-output-stopped.png"));
        main.stsbutPressed(zarnel::MsgCont::okCode);
        zarnel::test::pumpMessages(20);
        main.askQuestion("Replace the existing file Bank U1.m_b?", [] {});
        ok &= writePng(editor, outFolder.getChildFile("editor-question.png"));
        main.handleStateCode(0x12000000);
        zarnel::test::pumpMessages(50);

        // The MIDI setup panel, then its global page after a global dump from the synthesizer.
        main.stsbutPressed(zarnel::MsgCont::okCode);
        main.stsbutPressed(77);
        zarnel::test::pumpMessages(20);
        ok &= writePng(editor, outFolder.getChildFile("midi-setup.png"));
        main.getMidiSetup()->toggleGlobalPage();
        const juce::uint8 dump[] = {0xF0, 0x01, 0x29, 0x0F, 0x0C, 0x00, 0x0A, 0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                                    0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00,
                                    0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00,
                                    0xF7};
        state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(dump, (int)sizeof dump));
        zarnel::test::pumpMessages(50);
        ok &= writePng(editor, outFolder.getChildFile("midi-setup-globals.png"));
        main.stsbutPressed(77);
        zarnel::test::pumpMessages(20);

        ok &= writeLibrarySnapshots(main, outFolder, writePng);

        zarnel::ZarnelAudioProcessorEditor third(processor);
        third.getMainComp().startBankTransfer(0, 1);
        third.getMainComp().handleStateCode(0x17000000 + 1 * 256 + 63);
        ok &= writePng(third, outFolder.getChildFile("editor-progress.png"));
        third.getMainComp().endBankTransfer();
    }
    {
        // The search in progress: a first start (no port file) with three devices, none answering.
        const auto searchSettings = settings.getSiblingFile(settings.getFileName() + "-search");
        SilentMidiDevices devices;
        zarnel::ZarnelAudioProcessor processor(searchSettings, devices);
        zarnel::ZarnelAudioProcessorEditor editor(processor);
        editor.getMainComp().toggleAbout(false, 0);
        zarnel::test::pumpMessages(450); // the first pair's wait is over: the second is tried
        ok &= writePng(editor, outFolder.getChildFile("port-search.png"));
        double later = 1.0e9;
        processor.getState().getPortSearch().setClock([&] { return later += 1000.0; });
        zarnel::test::pumpMessages(200);
        ok &= writePng(editor, outFolder.getChildFile("port-search-none.png"));
        editor.getMainComp().toggleScan(false);
        zarnel::test::pumpMessages(20);
        searchSettings.deleteRecursively();
    }
    settings.deleteRecursively();
    ok &= writeOverlaySnapshots(outFolder, writePng);
    return ok ? 0 : 1;
}
