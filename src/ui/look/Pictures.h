#pragma once

#include <juce_graphics/juce_graphics.h>
#include <juce_events/juce_events.h>

#include <array>

namespace zarnel
{

// Every compiled-in picture of the user interface, by role. Sizes in pixels.
enum class Picture
{
    knobStrip,        // 2939 x 48: 60 frames of 47 x 47, one every 49 pixels
    knobBack,         // 48 x 48
    menuBox,          // 200 x 18
    menuArrow,        // 14 x 18
    menuOverlay,      // 113 x 17, its top-left 100 x 17 is stretched over the box
    switchStrip,      // 74 x 20: off at x 0, on at x 36, 37 x 20 each
    checkBox,         // 20 x 11
    checkBoxTicked,   // 20 x 11
    checkBoxPressed,  // 20 x 11
    switchLed,        // 28 x 9: off at x 0, on at x 15, 14 x 9 each
    categoryButton,   // 100 x 18, top nine rows drawn
    lcdScreen,        // 164 x 43, opaque
    lcdGlass,         // 210 x 66
    rateTrack,        // 200 x 18
    rateTrackPressed, // 200 x 18
    aboutMain,        // 460 x 260
    aboutSecond,      // 389 x 162
    windowClose,      // 54 x 15, close mark at (36, 0, 17, 15)
    panelSideLeft,    // 33 x 682, the editor panel's left cheek
    panelSideRight,   // 33 x 682, the right cheek
    panelLogo,        // 226 x 31, the product mark above the program display
    panelMark,        // 179 x 52, the maker's mark in the third envelope's section
    panelTile,        // 200 x 200, opaque, the panel's background, drawn at half size
    envelopeGrid,     // 218 x 73, behind the envelope shape
    seqTrack,         // 458 x 155, opaque, a sequencer track's field, stretched over the track
    seqGlass,         // 458 x 155, the light on a track's glass
    keyGrip,          // 100 x 20, opaque, the keyboard strip's top edge, stretched along it
    wheelWell,        // 81 x 206, the slot a wheel turns in
    wheelStrip,       // 1891 x 200: 35 frames of 55 x 200, one every 54 pixels, bottom to top
    octaveMiniature,  // 269 x 18, the octave strip's keyboard, 25 pixels an octave
    whiteKey,         // 25 x 152
    whiteKeyPressed,  // 25 x 152
    blackKey,         // 16 x 100
    blackKeyPressed,  // 16 x 100
    velocityIcon,     // 30 x 103, the velocity number's box and a wedge below it
    globalSwitch,     // 71 x 22: the global page's switches, off at x 0, on at x 36, 35 x 22 each
    closeMark,        // 30 x 30, the global page's close mark, shown at 15 x 15
    listBackground,   // 246 x 360, the program list's background, stretched and drawn faintly
    scrollThumb,      // 25 x 43, the program list's scroll thumb
    libButton,        // 200 x 48, a library command button's left part, shown 24 high
    libButtonEnd,     // 10 x 48, its right end
    listThumb,        // 36 x 43, the scroll thumb of the library and preset lists
    count
};

// Decodes each picture the first time it is asked for and keeps it until JUCE shuts down, so
// widgets built again and again share one decoded image.
class Pictures : public juce::DeletedAtShutdown
{
public:
    static juce::Image get(Picture picture);

    // The PNG bytes behind a picture and the name of its file in resources/images.
    static juce::MemoryBlock pngData(Picture picture);
    static juce::String fileName(Picture picture);

    Pictures() = default;
    ~Pictures() override;

    JUCE_DECLARE_SINGLETON(Pictures, false)

private:
    juce::Image load(Picture picture);

    juce::CriticalSection lock;
    std::array<juce::Image, (size_t)Picture::count> images;
};

} // namespace zarnel
