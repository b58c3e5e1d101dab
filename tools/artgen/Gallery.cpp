// Renders every widget in its usual states into PNG files, to look at them without a host.
//   zarnel_ui_gallery OUTPUT_FOLDER
// Uses a throw-away settings folder, so the user's own settings are never touched.

#include "midi/JuceMidiBackend.h"
#include "model/ParDes.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "ui/look/Pictures.h"
#include "ui/look/PopupMenuLook.h"
#include "ui/look/ZarnelLookAndFeel.h"
#include "ui/widgets/Check_But.h"
#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/ProgBar.h"
#include "ui/widgets/RateSlider.h"
#include "ui/widgets/RenameCnt.h"
#include "ui/widgets/SimpleLabel.h"
#include "ui/widgets/StBut.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsCont.h"
#include "ui/widgets/StsLabel.h"
#include "ui/widgets/SwitchLED.h"

#include <iostream>

using namespace zarnel;

namespace
{

const juce::Colour section(0xFF303030);

// A backdrop the size of the children, in the section colour the editor uses.
class Board : public juce::Component
{
public:
    explicit Board(juce::Colour c = section) : colour(c) {}
    void paint(juce::Graphics& g) override { g.fillAll(colour); }
    juce::Colour colour;
};

bool save(const juce::File& folder, const juce::String& name, juce::Component& c, float zoom = 2.0f)
{
    const auto image = c.createComponentSnapshot(c.getLocalBounds(), true, zoom);
    const auto file = folder.getChildFile(name + ".png");
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    const bool ok = out.openedOk() && png.writeImageToStream(image, out);
    std::cout << (ok ? "" : "FAILED ") << file.getFullPathName() << "\n";
    return ok;
}

void show(StsCont& c, int value)
{
    c.setDisplayedValue(value, ParDes::formatParameterValue(c.getDisplayKind(), value));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: zarnel_ui_gallery OUTPUT_FOLDER\n";
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juceInit;
    ScopedZarnelLook look;
    const juce::File out(juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]));
    out.createDirectory();
    const auto settings = juce::File::createTempFile("zarnel-gallery");
    settings.createDirectory();

    bool ok = true;
    {
        ZarnelAudioProcessor processor(settings, JuceMidiBackend::instance());

        // Value controls as the editor panel lays them out, at 1.0 and at the zoom's 1.5.
        for (const float zoom : {1.0f, 1.5f})
        {
            Board board;
            juce::OwnedArray<StsCont> controls;
            struct Row
            {
                int index;
                const char* caption;
                int x, y, w, h, maximum, type, kind, value;
            };
            const Row rows[] = {
                {0, "Osc 1 Freq", 10, 26, 65, 64, 120, StsCont::knob, 778, 0},
                {1, "Fine", 75, 26, 65, 64, 100, StsCont::knob, 888, 50},
                {2, "Shape/PW", 140, 26, 65, 64, 103, StsCont::knob, 2, 103},
                {22, "Key Amt", 205, 26, 55, 64, 127, StsCont::knob, 222, 90},
                {4, "Keyboard", 265, 52, 65, 32, 1, StsCont::switchBelow, 333, 1},
                {10, "Keyboard", 330, 52, 65, 32, 1, StsCont::switchBelow, 333, 0},
                {12, "Sync Osc 2->1", 400, 26, 105, 20, 1, StsCont::switchRight, 333, 1},
                {24, "4 Pole", 400, 56, 105, 20, 1, StsCont::switchRight, 333, 0},
                {13, "Glide Mode", 10, 106, 100, 32, 3, StsCont::menuBox, 11, 1},
                {103, "Arpeggiator", 120, 106, 81, 32, 14, StsCont::menuBox, 97, 12},
                {45, "Destination", 210, 106, 120, 32, 47, StsCont::menuBox, 400, 6},
                {96, "", 340, 106, 45, 32, 127, StsCont::menuBox, 111, 60},
                {94, "Assign", 395, 106, 110, 32, 5, StsCont::menuBox, 96, 5},
            };
            for (const auto& r : rows)
            {
                auto* c = controls.add(new StsCont(processor));
                c->configure(r.index, r.caption, r.x, r.y, r.w, r.h, 0, r.maximum, r.type, r.kind);
                c->setScale(zoom);
                show(*c, r.value);
                board.addAndMakeVisible(c);
            }
            board.setSize((int)(515 * zoom), (int)(135 * zoom));
            ok = save(out, zoom == 1.0f ? "value_controls" : "value_controls_zoom", board) && ok;
        }

        // Knob frames along the range.
        {
            Board board;
            juce::OwnedArray<StsCont> controls;
            const int values[] = {0, 16, 32, 64, 96, 127};
            for (int i = 0; i < 6; ++i)
            {
                auto* c = controls.add(new StsCont(processor));
                c->configure(3, "Glide", 5 + 65 * i, 21, 65, 64, 0, 127, StsCont::knob, 222);
                show(*c, values[i]);
                board.addAndMakeVisible(c);
            }
            board.setSize(400, 75);
            ok = save(out, "knob_range", board) && ok;
        }
    }
    settings.deleteRecursively();

    {
        Board board;
        StsBut plain("SEQUENCER", 98, StsBut::plain), pressed("PRESSED", 97, StsBut::plain);
        StsBut tab("Programs", 1, StsBut::tab), tab2("Banks", 2, StsBut::tabNoLine), dialog("OK", 1211, StsBut::dialog);
        plain.configure(10, 10, 90, 22, true);
        pressed.configure(110, 10, 90, 22, true);
        tab.configure(210, 10, 90, 20, true);
        tab2.configure(310, 10, 90, 20, true);
        dialog.configure(410, 10, 60, 24, true);
        for (auto* b : {&plain, &pressed, &tab, &tab2, &dialog})
            board.addAndMakeVisible(b);

        Check_But check, ticked;
        check.configure("Send MIDI clock", 45, 200, 13.0f);
        check.setCaptionInside(true);
        ticked.configure("Receive program changes", 65, 250, 13.0f);
        ticked.setCaptionInside(true);
        ticked.setTicked(true);
        SwitchLED off("MIDI Thru", 13.0f), on("Local control", 13.0f);
        off.setBounds(280, 45, 160, 18);
        on.setBounds(280, 65, 160, 18);
        on.setOn(true);
        StBut cat("Pads", 24), sel("Bright Lead", 5), narrow("Keys", 1);
        cat.setOrigin(10, 95);
        sel.setOrigin(120, 95);
        sel.setSelected(true);
        narrow.setBounds(230, 95, 60, 24);
        for (juce::Component* c : std::initializer_list<juce::Component*>{&check, &ticked, &off, &on, &cat, &sel, &narrow})
            board.addAndMakeVisible(c);
        board.setSize(480, 125);
        pressed.mouseDown(juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 1.0f, 0, 0, 0, 0,
                                           &pressed, &pressed, {}, {}, {}, 1, false));
        ok = save(out, "buttons", board) && ok;
    }

    {
        Board board;
        LCD_Comp lcd, lcdBig;
        lcd.setTopLeftPosition(10, 10);
        lcd.showProgram(0, 0, 17, "Choir of Glass", "Vox");
        lcdBig.setScale(1.5f);
        lcdBig.setBounds(200, 10, 270, 64);
        lcdBig.showProgram(5, 99, 25, "Arp Cascade XL", "Arpeggiator");
        board.addAndMakeVisible(lcd);
        board.addAndMakeVisible(lcdBig);

        StsLabel plainLabel, framed;
        plainLabel.configure("MIDI Channel", "Arial", 14.0f, juce::Justification::centredLeft);
        plainLabel.setBounds(10, 85, 120, 20);
        framed.configure("Out: Mopho port", "Arial", 14.0f, juce::Justification::centred);
        framed.setBackgroundMode(StsLabel::filledAndFramed);
        framed.setFillColour(juce::Colour(0xFF282626));
        framed.setFrameColour(juce::Colour(0xFFFBFFFF));
        framed.setBounds(140, 85, 150, 20);
        SimpleLabel simple(14.0f, juce::Colour(0xFF15222A), juce::Font::bold, juce::Justification::centred);
        simple.setText("A rather long text that does not fit");
        simple.setBounds(300, 85, 170, 20);
        RateSlider rate;
        rate.setTopLeftPosition(10, 115);
        rate.setMilliseconds(350);
        RateSlider rateFull;
        rateFull.setTopLeftPosition(250, 115);
        rateFull.setMilliseconds(1000);
        for (juce::Component* c : std::initializer_list<juce::Component*>{&plainLabel, &framed, &simple, &rate, &rateFull})
            board.addAndMakeVisible(c);
        RenameCnt rename(10, 145, "Warm Pad");
        board.addAndMakeVisible(rename);
        board.setSize(480, 200);
        ok = save(out, "labels", board) && ok;
    }

    {
        Board board(juce::Colour(0xFF404448));
        ProgBar bar(600, 200);
        bar.setProgress(64, "64 / 128");
        board.addAndMakeVisible(bar);
        board.setSize(600, 200);
        ok = save(out, "progress", board, 1.0f) && ok;
    }

    {
        // A few category items as the shared pop-up look draws them, the second one highlighted.
        struct Menu : juce::Component
        {
            void paint(juce::Graphics& g) override
            {
                PopupMenuLook popupLook;
                popupLook.drawPopupMenuBackground(g, getWidth(), getHeight());
                const char* names[] = {"- Not Assigned -", "Keys", "Organs", "Strings", "Soft Lead"};
                int width = 0, height = 0;
                for (int i = 0; i < 5; ++i)
                {
                    popupLook.getIdealPopupMenuItemSize(names[i], false, -1, width, height);
                    g.saveState();
                    g.setOrigin(0, 4 + i * height);
                    popupLook.drawPopupMenuItem(g, {0, 0, getWidth(), height}, false, true, i == 1, false, false,
                                                names[i], {}, nullptr, nullptr);
                    g.restoreState();
                }
            }
        } menu;
        menu.setSize(170, 130);
        ok = save(out, "popup_menu", menu) && ok;
    }

    {
        // The about panel's pictures where the panel puts them, over a darkened editor.
        Board board(juce::Colour(0xFF303030));
        board.setSize(1191, 700);
        struct About : juce::Component
        {
            void paint(juce::Graphics& g) override
            {
                g.fillAll(juce::Colour(0x66050520));
                g.drawImage(Pictures::get(Picture::aboutMain), 365, 100, 460, 260, 0, 0, 460, 260);
                g.setColour(juce::Colours::white);
                g.setFont(ZarnelLookAndFeel::arial(15.0f));
                g.drawText("Version: 2.2.0 JAN 14, 2021", 365 + 36, 100 + 110, 200, 30, juce::Justification::centredLeft);
                g.drawImage(Pictures::get(Picture::aboutSecond), 365 + 34, 400, 389, 162, 0, 0, 389, 162);
                g.drawImage(Pictures::get(Picture::windowClose), 20, 20, 17, 15, 36, 0, 17, 15);
            }
        } about;
        about.setBounds(board.getLocalBounds());
        board.addAndMakeVisible(about);
        ok = save(out, "about", board, 1.0f) && ok;
    }
    return ok ? 0 : 1;
}
