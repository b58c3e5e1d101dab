#include "StsFile.h"

#include "../widgets/ListenerCalls.h"

namespace zarnel
{

StsFile::StsFile(LibraryStore& s) : store(s)
{
    setTitle("Library programs");
}

const std::uint8_t* StsFile::getRowRecord(int row) const
{
    return store.entry(store.getView()[(size_t)row]);
}

int StsFile::getSelectedIndex() const
{
    const int row = getSelectedRow();
    return row >= 0 && row < getNumRows() ? store.getView()[(size_t)row] : -1;
}

void StsFile::paint(juce::Graphics& g)
{
    ProgramListView::paint(g);
    if (getNumRows() > 0)
        return;
    // An empty list says why, so it does not look broken.
    g.setColour(juce::Colour(0xFF9A9494));
    g.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
    const auto text = store.isEmpty() ? "The library is empty.\nLOAD or ADD CURRENT puts programs in it."
                                      : "No program here matches.";
    g.drawFittedText(text, 10, 20, rowWidth - 20, 60, juce::Justification::centredTop, 3);
}

void StsFile::rebuildView()
{
    store.rebuildView();
    setSelectedRowQuietly(-1);
    setTopRow(0);
    repaint();
    tell(StsFileListener::viewRebuilt, 100);
}

void StsFile::selectRow(int row)
{
    if (row < 0 || row >= getNumRows())
        return;
    setSelectedRowQuietly(row);
    rowChosen(row);
}

void StsFile::rowChosen(int)
{
    tell(StsFileListener::rowSelected, getSelectedIndex());
}

void StsFile::rowDoubleClicked()
{
    ListenerCalls::tell(*this, listenerLock, listeners, [](StsFileListener& l) { l.stsFileDoubleClicked(); });
}

void StsFile::tell(int code, int value)
{
    ListenerCalls::tell(*this, listenerLock, listeners, [code, value](StsFileListener& l) { l.stsFileEvent(code, value); });
}

void StsFile::addListener(StsFileListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void StsFile::removeListener(StsFileListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeAllInstancesOf(listener);
}

} // namespace zarnel
