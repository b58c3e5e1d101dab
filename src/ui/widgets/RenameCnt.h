#pragma once

#include "StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

// A small name editor with "OK" and "Cancel"; the owner listens to the two buttons and reads
// getText() on "OK".
class RenameCnt : public juce::Component
{
public:
    static constexpr int okId = 1111;
    static constexpr int cancelId = 1113;

    RenameCnt(int x, int y, const juce::String& name);
    ~RenameCnt() override;

    juce::String getText() const;

    StsBut* getOkButton() const noexcept { return ok.get(); }
    StsBut* getCancelButton() const noexcept { return cancel.get(); }
    juce::TextEditor* getEditor() const noexcept { return editor.get(); }

    void paint(juce::Graphics& g) override;

private:
    std::unique_ptr<juce::TextEditor> editor;
    std::unique_ptr<StsBut> ok, cancel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(RenameCnt)
};

} // namespace zarnel
