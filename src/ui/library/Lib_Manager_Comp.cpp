#include "Lib_Manager_Comp.h"

#include "../widgets/TipText.h"

#include "../../plugin/ZarnelAudioProcessor.h"

namespace zarnel
{

Lib_Manager_Comp::Lib_Manager_Comp(ZarnelAudioProcessor& p, CommandHost& h, const juce::File& file)
    : processor(p), pageHost(h, messages), libraryFile(file), notePlayer(p.getState(), 101)
{
    presetButton.setTooltip("PRESET BANK: show the plug-in's 128 presets, to choose, rename, store, load and save them.");
    libraryButton.setTooltip("LIBRARY: show the program library, to browse, add, rename, apply, load and save programs.");
    for (auto* b : {&presetButton, &libraryButton})
    {
        b->setSize(100, 34);
        b->addListener(this);
        addAndMakeVisible(*b);
    }
    TipText::set(closeHandle, "Close: hide the library window; its pages keep what they show.");
    TipText::set(notePlayer, "Note player: play the instrument from the computer keyboard; drag it to move the window.");
    addAndMakeVisible(closeHandle);
    notePlayer.addListener(this);
    notePlayer.setMouseCursor(juce::MouseCursor::DraggingHandCursor);
    addAndMakeVisible(notePlayer);
    status.setTextColour(juce::Colour(0xFFCEBDBD));
    addAndMakeVisible(status);
    addChildComponent(messages);
    setSize(500, 620);
    presetButton.click();
}

Lib_Manager_Comp::~Lib_Manager_Comp()
{
    presetButton.removeListener(this);
    libraryButton.removeListener(this);
    notePlayer.removeListener(this);
    if (presets != nullptr)
        presets->getButton(Plugin_Bank::doneCommand).removeListener(this);
    if (library != nullptr)
        library->getButton(LibClass::doneCommand).removeListener(this);
}

void Lib_Manager_Comp::openPage(int id)
{
    juce::Component* other = id == libraryPageId ? static_cast<juce::Component*>(presets.get()) : library.get();
    if (other != nullptr)
    {
        other->setVisible(false);
        other->setBounds(-1000, -1000, 20, 20);
    }
    page = id;
    if (id == libraryPageId)
    {
        pageName = "LIBRARY";
        if (library == nullptr)
        {
            library = std::make_unique<LibClass>(processor, pageHost, libraryFile);
            library->getButton(LibClass::doneCommand).addListener(this);
            addChildComponent(*library);
            library->loadFixedLibrary();
        }
        library->setVisible(true);
    }
    else
    {
        pageName = "PRESET BANK";
        if (presets == nullptr)
        {
            presets = std::make_unique<Plugin_Bank>(processor, pageHost);
            presets->getButton(Plugin_Bank::doneCommand).addListener(this);
            addChildComponent(*presets);
        }
        presets->setVisible(true);
        presets->showCurrentPreset();
    }
    resized();
    repaint();
}

void Lib_Manager_Comp::resized()
{
    presetButton.setTopLeftPosition(20, 22);
    libraryButton.setTopLeftPosition(130, 22);
    closeHandle.setBounds(getWidth() - 20, 6, 18, 22);
    notePlayer.setBounds(100, 4, 200, 20);
    status.setBounds(getWidth() - 400, getHeight() - 30, 400, 24);
    juce::Component* current = page == libraryPageId ? static_cast<juce::Component*>(library.get()) : presets.get();
    if (current != nullptr)
        current->setBounds(0, 50, getWidth(), getHeight() - 92);
    if (messages.isVisible())
        messages.setBounds(getLocalBounds());
}

void Lib_Manager_Comp::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xFF373535));
    g.setColour(juce::Colour(0xFF0A0A0A));
    g.fillRect(0, 4, getWidth(), 20);
    g.setColour(juce::Colour(0xFFEDE9E9));
    g.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
    g.drawText("MOPHO : " + pageName, 0, 4, getWidth(), 20, juce::Justification::centred, false);
}

void Lib_Manager_Comp::libButClicked(LibBut*, int id)
{
    if (id == presetPageId || id == libraryPageId)
        openPage(id);
    else if (id == LibClass::doneCommand)
        closeHandle.requestClose();
}

void Lib_Manager_Comp::libButEntered(LibBut* button, int)
{
    status.setText(button->getHelp());
}

void Lib_Manager_Comp::libButExited(LibBut*, int)
{
    status.setText({});
}

void Lib_Manager_Comp::startMove()
{
    moveStartMouse = juce::Desktop::getMousePosition();
    if (auto* window = getTopLevelComponent())
        moveStartWindow = window->getPosition();
}

void Lib_Manager_Comp::moveBy(juce::Point<int> screenPosition)
{
    auto* window = getTopLevelComponent();
    if (window != nullptr && window != this)
        window->setTopLeftPosition(moveStartWindow + (screenPosition - moveStartMouse));
}

void Lib_Manager_Comp::mouseDown(const juce::MouseEvent& e)
{
    if (e.y < 20)
        startMove();
}

void Lib_Manager_Comp::mouseDrag(const juce::MouseEvent& e)
{
    if (e.mouseDownPosition.y < 20)
        moveBy(e.getScreenPosition());
}

void Lib_Manager_Comp::mouseMove(const juce::MouseEvent& e)
{
    setMouseCursor(e.y < 20 ? juce::MouseCursor::DraggingHandCursor : juce::MouseCursor::NormalCursor);
}

void Lib_Manager_Comp::keyPlayDragStarted(int)
{
    startMove();
}

void Lib_Manager_Comp::keyPlayDragged(int)
{
    moveBy(juce::Desktop::getMousePosition());
}

} // namespace zarnel
