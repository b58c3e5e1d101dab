#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// A text box whose cut/copy/paste menu closes with the editor, as every other menu here does.
class TextField : public juce::TextEditor
{
public:
    using juce::TextEditor::TextEditor;

    void mouseDown(const juce::MouseEvent& e) override;
};

} // namespace zarnel
