#include "ZarnelLookAndFeel.h"

#include "ZarnelBinaryData.h"

namespace zarnel
{

namespace
{

// Parsed once; the faces outlive every look-and-feel and go with JUCE's shutdown.
class EmbeddedFonts : public juce::DeletedAtShutdown
{
public:
    EmbeddedFonts()
        : regular(juce::Typeface::createSystemTypefaceFor(ZarnelBinaryData::LiberationSansRegular_ttf,
                                                          (size_t)ZarnelBinaryData::LiberationSansRegular_ttfSize)),
          bold(juce::Typeface::createSystemTypefaceFor(ZarnelBinaryData::LiberationSansBold_ttf,
                                                       (size_t)ZarnelBinaryData::LiberationSansBold_ttfSize))
    {
    }

    ~EmbeddedFonts() override { clearSingletonInstance(); }

    juce::Typeface::Ptr regular, bold;

    JUCE_DECLARE_SINGLETON(EmbeddedFonts, false)
};

JUCE_IMPLEMENT_SINGLETON(EmbeddedFonts)

} // namespace

ZarnelLookAndFeel::ZarnelLookAndFeel()
{
    setDefaultSansSerifTypeface(liberationSans(false));
}

bool ZarnelLookAndFeel::isArialName(const juce::String& typefaceName)
{
    return typefaceName.equalsIgnoreCase("Arial") || typefaceName == juce::Font::getDefaultSansSerifFontName();
}

juce::Typeface::Ptr ZarnelLookAndFeel::liberationSans(bool bold)
{
    auto* fonts = EmbeddedFonts::getInstance();
    return bold ? fonts->bold : fonts->regular;
}

juce::Typeface::Ptr ZarnelLookAndFeel::getTypefaceForFont(const juce::Font& font)
{
    if (isArialName(font.getTypefaceName()))
        return liberationSans(font.isBold());
    return LookAndFeel_V4::getTypefaceForFont(font);
}

juce::Font ZarnelLookAndFeel::arial(float height, int styleFlags)
{
    return juce::Font("Arial", height, styleFlags);
}

ScopedZarnelLook::ScopedZarnelLook()
{
    juce::LookAndFeel::setDefaultLookAndFeel(&look.get());
    // Faces looked up before we were the default are cached under the same names.
    juce::Typeface::clearTypefaceCache();
}

ScopedZarnelLook::~ScopedZarnelLook()
{
    if (look.getReferenceCount() == 1 && &juce::LookAndFeel::getDefaultLookAndFeel() == &look.get())
    {
        juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
        juce::Typeface::clearTypefaceCache();
    }
}

} // namespace zarnel
