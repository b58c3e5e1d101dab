#include "Pictures.h"

#include "ZarnelBinaryData.h"

namespace zarnel
{

namespace
{

struct Entry
{
    const char* data;
    int size;
    const char* file;
};

Entry entryFor(Picture picture)
{
    using namespace ZarnelBinaryData;
    switch (picture)
    {
        case Picture::knobStrip:        return {knob_strip_png, knob_strip_pngSize, "knob_strip.png"};
        case Picture::knobBack:         return {knob_back_png, knob_back_pngSize, "knob_back.png"};
        case Picture::menuBox:          return {menu_box_png, menu_box_pngSize, "menu_box.png"};
        case Picture::menuArrow:        return {menu_arrow_png, menu_arrow_pngSize, "menu_arrow.png"};
        case Picture::menuOverlay:      return {menu_overlay_png, menu_overlay_pngSize, "menu_overlay.png"};
        case Picture::switchStrip:      return {switch_strip_png, switch_strip_pngSize, "switch_strip.png"};
        case Picture::checkBox:         return {check_box_png, check_box_pngSize, "check_box.png"};
        case Picture::checkBoxTicked:   return {check_box_ticked_png, check_box_ticked_pngSize, "check_box_ticked.png"};
        case Picture::checkBoxPressed:  return {check_box_pressed_png, check_box_pressed_pngSize, "check_box_pressed.png"};
        case Picture::switchLed:        return {switch_led_png, switch_led_pngSize, "switch_led.png"};
        case Picture::categoryButton:   return {category_button_png, category_button_pngSize, "category_button.png"};
        case Picture::lcdScreen:        return {lcd_screen_png, lcd_screen_pngSize, "lcd_screen.png"};
        case Picture::lcdGlass:         return {lcd_glass_png, lcd_glass_pngSize, "lcd_glass.png"};
        case Picture::rateTrack:        return {rate_track_png, rate_track_pngSize, "rate_track.png"};
        case Picture::rateTrackPressed: return {rate_track_pressed_png, rate_track_pressed_pngSize, "rate_track_pressed.png"};
        case Picture::aboutMain:        return {about_main_png, about_main_pngSize, "about_main.png"};
        case Picture::aboutSecond:      return {about_second_png, about_second_pngSize, "about_second.png"};
        case Picture::windowClose:      return {window_close_png, window_close_pngSize, "window_close.png"};
        case Picture::panelSideLeft:    return {panel_side_left_png, panel_side_left_pngSize, "panel_side_left.png"};
        case Picture::panelSideRight:   return {panel_side_right_png, panel_side_right_pngSize, "panel_side_right.png"};
        case Picture::panelLogo:        return {panel_logo_png, panel_logo_pngSize, "panel_logo.png"};
        case Picture::panelMark:        return {panel_mark_png, panel_mark_pngSize, "panel_mark.png"};
        case Picture::panelTile:        return {panel_tile_png, panel_tile_pngSize, "panel_tile.png"};
        case Picture::envelopeGrid:     return {envelope_grid_png, envelope_grid_pngSize, "envelope_grid.png"};
        case Picture::seqTrack:         return {seq_track_png, seq_track_pngSize, "seq_track.png"};
        case Picture::seqGlass:         return {seq_glass_png, seq_glass_pngSize, "seq_glass.png"};
        case Picture::keyGrip:          return {key_grip_png, key_grip_pngSize, "key_grip.png"};
        case Picture::wheelWell:        return {wheel_well_png, wheel_well_pngSize, "wheel_well.png"};
        case Picture::wheelStrip:       return {wheel_strip_png, wheel_strip_pngSize, "wheel_strip.png"};
        case Picture::octaveMiniature:  return {octave_miniature_png, octave_miniature_pngSize, "octave_miniature.png"};
        case Picture::whiteKey:         return {white_key_png, white_key_pngSize, "white_key.png"};
        case Picture::whiteKeyPressed:  return {white_key_pressed_png, white_key_pressed_pngSize, "white_key_pressed.png"};
        case Picture::blackKey:         return {black_key_png, black_key_pngSize, "black_key.png"};
        case Picture::blackKeyPressed:  return {black_key_pressed_png, black_key_pressed_pngSize, "black_key_pressed.png"};
        case Picture::velocityIcon:     return {velocity_icon_png, velocity_icon_pngSize, "velocity_icon.png"};
        case Picture::globalSwitch:     return {global_switch_png, global_switch_pngSize, "global_switch.png"};
        case Picture::closeMark:        return {close_mark_png, close_mark_pngSize, "close_mark.png"};
        case Picture::listBackground:   return {list_background_png, list_background_pngSize, "list_background.png"};
        case Picture::scrollThumb:      return {scroll_thumb_png, scroll_thumb_pngSize, "scroll_thumb.png"};
        case Picture::libButton:        return {lib_button_png, lib_button_pngSize, "lib_button.png"};
        case Picture::libButtonEnd:     return {lib_button_end_png, lib_button_end_pngSize, "lib_button_end.png"};
        case Picture::listThumb:        return {list_thumb_png, list_thumb_pngSize, "list_thumb.png"};
        case Picture::count:            break;
    }
    return {nullptr, 0, ""};
}

} // namespace

JUCE_IMPLEMENT_SINGLETON(Pictures)

Pictures::~Pictures()
{
    clearSingletonInstance();
}

juce::Image Pictures::get(Picture picture)
{
    if (picture == Picture::count)
        return {};
    auto* self = getInstance();
    const juce::ScopedLock sl(self->lock);
    auto& image = self->images[(size_t)picture];
    if (image.isNull())
        image = self->load(picture);
    return image;
}

juce::Image Pictures::load(Picture picture)
{
    const auto entry = entryFor(picture);
    if (entry.data == nullptr)
        return {};
    juce::PNGImageFormat png;
    juce::MemoryInputStream in(entry.data, (size_t)entry.size, false);
    return png.decodeImage(in);
}

juce::MemoryBlock Pictures::pngData(Picture picture)
{
    const auto entry = entryFor(picture);
    return entry.data != nullptr ? juce::MemoryBlock(entry.data, (size_t)entry.size) : juce::MemoryBlock();
}

juce::String Pictures::fileName(Picture picture)
{
    return entryFor(picture).file;
}

} // namespace zarnel
