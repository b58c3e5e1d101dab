#pragma once

#include "../library/ProgramListView.h"

#include "../../model/Bytes.h"

namespace zarnel
{

class MidiCntrState;

// Told about the preset list: a preset chosen, and a double click.
class PlugFileListener
{
public:
    virtual ~PlugFileListener() = default;
    virtual void presetChosen(int index) = 0;
    virtual void presetDoubleClicked() = 0;
};

// The host's 128 presets as a list: row i is always preset i. Shows a copy taken by refresh(),
// so painting never takes the model lock.
class Plugin_File : public ProgramListView
{
public:
    explicit Plugin_File(MidiCntrState& state);

    int getNumRows() const override { return 128; }
    const std::uint8_t* getRowRecord(int row) const override;

    void refresh();
    // Paints the presets as they are now: the host may have replaced them meanwhile.
    void paint(juce::Graphics& g) override;
    // Selects the preset and scrolls it to the top (as near as the list allows), quietly.
    void showPreset(int index);

    void addListener(PlugFileListener* listener);
    void removeListener(PlugFileListener* listener);

protected:
    void rowChosen(int row) override;
    void rowDoubleClicked() override;

private:
    MidiCntrState& state;
    Bytes presets;
    juce::CriticalSection listenerLock;
    juce::Array<PlugFileListener*> listeners;
};

} // namespace zarnel
