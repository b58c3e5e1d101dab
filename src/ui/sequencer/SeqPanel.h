#pragma once

#include "SeqClass.h"

#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsCont.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace zarnel
{

class ZarnelAudioProcessor;

// The sequencer page: the four tracks with their destinations, tempo, clock divide, trigger and
// on/off, in an overview of all four or with one track enlarged and the others as thumbnails.
// Its news for the main component is a change message with a code: 500 back to the overview,
// 501 edit getChangeTrack(). Its "PROGRAM" button is heard by the main component directly.
class SeqPanel : public juce::Component,
                 public SeqClassListener,
                 public stsbutChangeListener,
                 public juce::ChangeBroadcaster
{
public:
    static constexpr int programButtonId = 97;
    static constexpr int overviewCode = 500, editTrackCode = 501;
    static constexpr int panelWidth = 1148, panelHeight = 684;
    static constexpr int numControls = 8;
    // Draw Mode menu items.
    static constexpr int slidersItem = 1, penItem = 2, quantizeItem = 3;

    explicit SeqPanel(ZarnelAudioProcessor& owner);
    ~SeqPanel() override;

    void showOverview();
    void showTrack(int track);
    void setScale(float newScale);
    float getScale() const noexcept { return scale; }

    // A parameter's value as the program now holds it; only the panel's own parameters (tempo,
    // clock divide, trigger, on/off, the four destinations) change anything here.
    void setParameterValue(int parameterIndex, int value);
    // The same for the editor panel's control of a parameter (its index and value).
    void setControlValue(StsCont* editorControl, int value);
    void setStepValue(int track, int step, int value);
    // Shows the whole program being edited.
    void refresh();

    int getChangeCode() const noexcept { return changeCode; }
    int getChangeTrack() const noexcept { return changeTrack; }
    bool isEditing() const noexcept { return editing; }
    int getEditedTrack() const noexcept { return editedTrack; }

    SeqClass& getTrack(int track) const noexcept { return *tracks[(size_t)juce::jlimit(0, 3, track)]; }
    // The panel's control of a parameter, or nullptr.
    StsCont* getControl(int parameterIndex) const noexcept;
    StsBut& getProgramButton() noexcept { return programButton; }
    StsBut& getOkButton() noexcept { return okButton; }
    StsBut& getEditButton(int track) noexcept { return *editButtons[(size_t)juce::jlimit(0, 3, track)]; }
    StsBut& getDrawModeButton() noexcept { return drawModeButton; }
    // The Draw Mode menu as it would open now, and what choosing one of its items does.
    juce::PopupMenu createDrawModeMenu() const;
    void drawModeChosen(int item);
    // What the page shows of the draw mode: "Sliders" or "Pen", and whether it quantizes.
    juce::String getDrawModeText() const;

    void paint(juce::Graphics& g) override;
    void seqClassMessage(int message, int track, int value) override;
    void stsbutChanged(StsBut* button) override;

private:
    void applyZoom();
    void report(int code, int track);

    ZarnelAudioProcessor& owner;
    bool editing = false;
    int editedTrack = 0;
    float scale = 1.0f;
    int changeCode = overviewCode, changeTrack = 0;

    juce::Image sideLeft, sideRight;
    StsBut programButton{"PROGRAM", programButtonId, StsBut::plain};
    StsBut okButton{"OK", 0, StsBut::plain};
    std::array<std::unique_ptr<StsBut>, SeqSteps::numTracks> editButtons;
    StsBut drawModeButton{"Draw Mode", 0, StsBut::plain};
    std::array<std::unique_ptr<SeqClass>, SeqSteps::numTracks> tracks;
    std::array<std::unique_ptr<StsCont>, numControls> controls;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SeqPanel)
};

} // namespace zarnel
