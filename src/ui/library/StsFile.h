#pragma once

#include "ProgramListView.h"

#include "../../library/LibraryStore.h"

namespace zarnel
{

// Told about the library list: view rebuilt (202, 100), row selected (201, store index), and a
// double click.
class StsFileListener
{
public:
    static constexpr int viewRebuilt = 202;
    static constexpr int rowSelected = 201;

    virtual ~StsFileListener() = default;
    virtual void stsFileEvent(int code, int value) = 0;
    virtual void stsFileDoubleClicked() = 0;
};

// The library's list: shows the store's current rows and keeps the selection, which every
// rebuild of the rows clears.
class StsFile : public ProgramListView
{
public:
    explicit StsFile(LibraryStore& store);

    int getNumRows() const override { return (int)store.getView().size(); }
    const std::uint8_t* getRowRecord(int row) const override;

    // The store index of the selected row, or -1.
    int getSelectedIndex() const;
    // Recollects the rows (store filter and search as set), clears scroll and selection, tells.
    void rebuildView();
    // Selects a row as a click does, and tells.
    void selectRow(int row);

    void paint(juce::Graphics& g) override;

    void addListener(StsFileListener* listener);
    void removeListener(StsFileListener* listener);

protected:
    void rowChosen(int row) override;
    void rowDoubleClicked() override;

private:
    void tell(int code, int value);

    LibraryStore& store;
    juce::CriticalSection listenerLock;
    juce::Array<StsFileListener*> listeners;
};

} // namespace zarnel
