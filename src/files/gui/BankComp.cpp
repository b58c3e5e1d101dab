#include "BankComp.h"

#include "files/BankPageActions.h"
#include "PageFrame.h"

#include "ui/widgets/TipText.h"
#include "ui/widgets/CategoryMenu.h"

#include "midi/MidiCntrState.h"
#include "model/ParDes.h"

#include <algorithm>

namespace zarnel
{

namespace
{
constexpr int buttonWidth = 70;
constexpr int buttonHeight = 18;
constexpr int rowHeight = 26;
// The content spans about 790 pixels across and 330 below the frame's top.
constexpr float contentWidth = 840.0f;
constexpr float contentHeight = 330.0f;
} // namespace

BankComp::BankComp(MidiCntrState& s) : state(s)
{
    const auto makeButton = [this](const juce::String& caption, int id) {
        auto button = std::make_unique<StsBut>(caption, id, StsBut::plain);
        button->configure(0, 0, buttonWidth, buttonHeight, true);
        button->addChangeListener(this);
        addAndMakeVisible(*button);
        return button;
    };
    for (int k = 0; k < numBankButtons; ++k)
        bankButtons[(size_t)k] = makeButton("BANK " + ProgramBankSet::bankLabel(k), firstBankId + k);
    fileButton = makeButton("FILE", fileCode);
    midiButton = makeButton("MIDI", midiCode);
    presetsButton = makeButton("PRESETS", presetsCode);

    loadedDataSwitch = std::make_unique<SwitchLED>("Use Loaded Data", 13.0f);
    loadedDataSwitch->setSize(140, 18);
    loadedDataSwitch->addChangeListener(this);
    addAndMakeVisible(*loadedDataSwitch);

    grid = std::make_unique<StsGrid>(state);
    grid->applyPageSettings();
    grid->addChangeListener(this);
    addAndMakeVisible(*grid);

    for (int i = 0; i < numCategoryButtons; ++i)
    {
        const auto caption = i == 0 ? juce::String("-----") : i < numShownCategoryButtons ? ParDes::categoryName(i) : "";
        categoryButtons[(size_t)i] = makeButton(caption, firstCategoryId + i);
        categoryButtons[(size_t)i]->setVisible(i < numShownCategoryButtons);
    }

    // The main component listens to OK; it hides the page.
    okButton = std::make_unique<StsBut>("OK", okCode, StsBut::plain);
    okButton->configure(0, 0, buttonWidth, buttonHeight, true);
    addAndMakeVisible(*okButton);

    setTooltips();
    setCategoryChooser({});
    grid->listBank(0);
}

void BankComp::setTooltips()
{
    for (int k = 0; k < numBankButtons; ++k)
        TipText::set(*bankButtons[(size_t)k], bankButtons[(size_t)k]->getCaption()
                                                  + ": list this bank's 128 programs and select its program of the "
                                                    "current number on the instrument.");
    TipText::set(*fileButton, "FILE: load or save a bank as a file.");
    TipText::set(*midiButton, "MIDI: receive a bank from the instrument or transmit one to it.");
    TipText::set(*presetsButton, "PRESETS: fill the current user bank with factory presets or initialised programs.");
    TipText::set(*loadedDataSwitch, "Use Loaded Data: when on, a click on a program loads it into the editor without "
                                    "selecting it on the instrument.");
    TipText::set(*grid, "Programs: a click makes a program current, a right click on its category changes the "
                        "category, elsewhere it opens the program menu.");
    for (int i = 0; i < numShownCategoryButtons; ++i)
        TipText::set(*categoryButtons[(size_t)i],
                     categoryButtons[(size_t)i]->getCaption() + ": list the programs of this category in all eight banks.");
    TipText::set(*okButton, "OK: close the bank page.");
}

BankComp::~BankComp()
{
    grid->removeChangeListener(this);
    loadedDataSwitch->removeChangeListener(this);
}

void BankComp::setCategoryChooser(CategoryChooser chooser)
{
    categoryChooser = chooser ? std::move(chooser) : CategoryMenu::popupFor(*this);
}

StsBut* BankComp::getCommandButton(int commandCode) noexcept
{
    switch (commandCode)
    {
        case fileCode: return fileButton.get();
        case midiCode: return midiButton.get();
        case presetsCode: return presetsButton.get();
        default: return nullptr;
    }
}

void BankComp::placeChild(juce::Component& child, int x, int y, int w, int h)
{
    PageFrame::place(child, contentScale, x, y, w, h);
}

void BankComp::layoutFor(int width, int height)
{
    setBounds(0, 23, width, height);
    const float s = state.uiScale.load();
    const int c = (int)(s * 33.0f);
    int dReal = (int)(s * 165.0f);
    // Everything below is laid out unscaled, for a panel 1/f times this size, and drawn at f.
    const auto scaleFor = [&](int frameTop) {
        return PageFrame::fitScale((float)width, (float)(height - frameTop), contentWidth, contentHeight);
    };
    contentScale = scaleFor(dReal);
    // Too small to read below the editor's top strip: the page takes the editor's place whole.
    if (contentScale < 1.0f && scaleFor(c) > contentScale * 1.2f)
    {
        dReal = c;
        contentScale = scaleFor(c);
    }
    const float f = contentScale;
    const int W = (int)((float)width / f);
    const int H = (int)((float)height / f);
    const int d = (int)((float)dReal / f);
    const int e = (W - 550) / 2;
    const int h = d + 40;
    const int g = std::max(rowHeight, ((H - d - 60) / rowHeight) * rowHeight);

    frameArea = {(int)((float)c / f), d, W - 2 * (int)((float)c / f), H - d - 6};
    for (int k = 0; k < numBankButtons; ++k)
        placeChild(*bankButtons[(size_t)k], e - 100, h + 36 * k, buttonWidth, buttonHeight);
    placeChild(*fileButton, e, h - 36, buttonWidth, buttonHeight);
    placeChild(*midiButton, e + 78, h - 36, buttonWidth, buttonHeight);
    placeChild(*presetsButton, e + 156, h - 36, buttonWidth, buttonHeight);
    placeChild(*loadedDataSwitch, e + 244, h - 30, loadedDataSwitch->getWidth(), loadedDataSwitch->getHeight());
    placeChild(*grid, e, h, 350, g);
    for (int i = 0; i < numCategoryButtons; ++i)
        placeChild(*categoryButtons[(size_t)i], e + 380 + 78 * (i % 4), h + 36 * (i / 4), buttonWidth, buttonHeight);
    placeChild(*okButton, e + 380 + 78 * 3, h + g - 18, buttonWidth, buttonHeight);
    repaint();
}

void BankComp::showFor(bool useLoadedData, int bank, int program)
{
    loadedDataSwitch->setOn(useLoadedData);
    grid->listBank(bank);
    grid->selectProgram(bank, program);
}

void BankComp::relist()
{
    grid->relist();
}

void BankComp::paint(juce::Graphics& g)
{
    PageFrame::paint(g, juce::Colour(0x66000000), frameArea, contentScale);
}

void BankComp::report(int newCode)
{
    code = newCode;
    sendChangeMessage();
}

void BankComp::stsbutChanged(StsBut* button)
{
    const int id = button->getId();
    if (id >= firstBankId && id < firstBankId + numBankButtons)
    {
        const int bank = id - firstBankId;
        grid->listBank(bank);
        BankPageActions::chooseBank(state, bank);
        grid->selectProgram(bank, state.currentProgramNumber.load());
    }
    else if (id >= firstCategoryId && id < firstCategoryId + numShownCategoryButtons)
    {
        grid->listCategory(id - firstCategoryId);
    }
    else if (id == fileCode || id == midiCode || id == presetsCode)
    {
        report(id);
    }
}

void BankComp::gridPressed()
{
    const int bank = grid->getSelectedBank();
    const int program = grid->getSelectedProgram();
    if (bank < 0 || program < 0)
        return;
    // A right press selects the row like a left press first; its message carries only the
    // last code.
    BankPageActions::chooseProgram(state, bank, program);
    if (grid->getCode() == ProgramListModel::categoryMenuCode)
        categoryChooser([safe = juce::Component::SafePointer<BankComp>(this), bank, program](int category) {
            if (safe != nullptr)
                BankPageActions::setCategory(safe->state, bank, program, category);
        });
    else if (grid->getCode() == ProgramListModel::rowMenuCode)
        report(programMenuCode);
}

void BankComp::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == grid.get())
        gridPressed();
    else if (source == loadedDataSwitch.get())
        report(useLoadedDataCode);
}

} // namespace zarnel
