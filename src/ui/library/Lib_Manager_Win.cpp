#include "Lib_Manager_Win.h"

namespace zarnel
{

Lib_Manager_Win::Lib_Manager_Win(ZarnelAudioProcessor& processor, CommandHost& host, const juce::File& libraryFile)
    : juce::DocumentWindow({}, juce::Colours::black, 0, false)
{
    setUsingNativeTitleBar(false);
    setTitleBarHeight(0);
    auto comp = std::make_unique<Lib_Manager_Comp>(processor, host, libraryFile);
    comp->setSize(width, height);
    content = comp.get();
    setContentOwned(comp.release(), true);
    setSize(width, height);
}

void Lib_Manager_Win::bringUp()
{
    if (showOnDesktop && !isOnDesktop())
    {
        centreWithSize(width, height);
        addToDesktop(getDesktopWindowStyleFlags());
    }
    setVisible(true);
    if (isOnDesktop())
        toFront(true);
}

void Lib_Manager_Win::closeButtonPressed()
{
    content->getCloseHandle().requestClose();
}

} // namespace zarnel
