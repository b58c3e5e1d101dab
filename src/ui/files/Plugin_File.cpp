#include "Plugin_File.h"

#include "../widgets/ListenerCalls.h"

#include "../../midi/MidiCntrState.h"

namespace zarnel
{

Plugin_File::Plugin_File(MidiCntrState& s) : state(s)
{
    setTitle("Presets");
    refresh();
}

const std::uint8_t* Plugin_File::getRowRecord(int row) const
{
    return presets.data() + (size_t)row * ProgramSysex::recordSize;
}

void Plugin_File::refresh()
{
    presets = state.getHostBankData();
    presets.resize(Bank_Program::fullSize, 0);
    repaint();
}

void Plugin_File::paint(juce::Graphics& g)
{
    presets = state.getHostBankData();
    presets.resize(Bank_Program::fullSize, 0);
    ProgramListView::paint(g);
}

void Plugin_File::showPreset(int index)
{
    setSelectedRowQuietly(index);
    setTopRow(index);
}

void Plugin_File::rowChosen(int row)
{
    ListenerCalls::tell(*this, listenerLock, listeners, [row](PlugFileListener& l) { l.presetChosen(row); });
}

void Plugin_File::rowDoubleClicked()
{
    ListenerCalls::tell(*this, listenerLock, listeners, [](PlugFileListener& l) { l.presetDoubleClicked(); });
}

void Plugin_File::addListener(PlugFileListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void Plugin_File::removeListener(PlugFileListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeAllInstancesOf(listener);
}

} // namespace zarnel
