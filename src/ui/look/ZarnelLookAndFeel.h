#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// Arial has no place on Linux; its metric twin Liberation Sans is compiled in and stands for it
// (and for the default sans-serif face), so text has the same size and weight on every system.
// JUCE resolves typefaces through the default look-and-feel only: hold a ScopedZarnelLook.
class ZarnelLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ZarnelLookAndFeel();

    juce::Typeface::Ptr getTypefaceForFont(const juce::Font& font) override;

    static juce::Typeface::Ptr liberationSans(bool bold);
    static juce::Font arial(float height, int styleFlags = juce::Font::plain);

    static bool isArialName(const juce::String& typefaceName);
};

// Makes the shared ZarnelLookAndFeel the default for as long as any instance lives; the editor
// holds one, declared before its children.
class ScopedZarnelLook
{
public:
    ScopedZarnelLook();
    ~ScopedZarnelLook();

    ZarnelLookAndFeel& get() noexcept { return look.get(); }

private:
    juce::SharedResourcePointer<ZarnelLookAndFeel> look;

    JUCE_DECLARE_NON_COPYABLE(ScopedZarnelLook)
};

} // namespace zarnel
