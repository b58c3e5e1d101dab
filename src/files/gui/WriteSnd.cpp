#include "WriteSnd.h"

#include "ui/look/ZarnelLookAndFeel.h"
#include "PageFrame.h"

#include "ui/widgets/CategoryMenu.h"

#include "midi/MidiCntrState.h"
#include "model/DSI_Program.h"
#include "model/ParDes.h"

#include <algorithm>

namespace zarnel
{

namespace
{
constexpr int buttonWidth = 70;
constexpr int buttonHeight = 18;
constexpr int rowHeight = 26;
constexpr int top = 2;
// The content spans about 550 pixels across; the list wants six rows below its top at 87.
constexpr float contentWidth = 600.0f;
constexpr float contentHeight = 270.0f;
} // namespace

WriteSnd::WriteSnd(MidiCntrState& s, int currentBank, int currentProgram, const juce::String& name, int category)
    : state(s), categoryToWrite(category)
{
    for (int k = 0; k < numBankButtons; ++k)
    {
        auto& button = bankButtons[(size_t)k];
        button = std::make_unique<StsBut>("BANK " + ProgramBankSet::bankLabel(k), firstBankId + k, StsBut::plain);
        button->configure(0, 0, buttonWidth, buttonHeight, true);
        button->addChangeListener(this);
        addAndMakeVisible(*button);
    }
    // The main component listens to these two.
    writeButton = std::make_unique<StsBut>("WRITE", writeId, StsBut::plain);
    writeButton->configure(0, 0, buttonWidth, buttonHeight, true);
    addAndMakeVisible(*writeButton);
    cancelButton = std::make_unique<StsBut>("CANCEL", cancelId, StsBut::plain);
    cancelButton->configure(0, 0, buttonWidth, buttonHeight, true);
    addAndMakeVisible(*cancelButton);

    grid = std::make_unique<StsGrid>(state);
    grid->applyPageSettings();
    grid->addChangeListener(this);
    addAndMakeVisible(*grid);

    display = std::make_unique<LCD_Comp>();
    display->setScale(1.0f);
    display->setKeyZone(LCD_Comp::nameZone);
    display->addChangeListener(this);
    addAndMakeVisible(*display);

    const auto destination = WriteDestination::initialFor(currentBank, currentProgram);
    const int shownCategory = std::clamp(category, 0, ParDes::numCategories - 1);
    display->showProgram(destination.bank, destination.program, shownCategory, name.substring(0, DSI_Program::nameLength),
                         ParDes::categoryName(shownCategory));
    grid->listBank(destination.bank);
    grid->selectProgram(destination.bank, destination.program);
    setCategoryChooser({});
}

WriteSnd::~WriteSnd()
{
    grid->removeChangeListener(this);
    display->removeChangeListener(this);
}

void WriteSnd::setCategoryChooser(CategoryChooser chooser)
{
    categoryChooser = chooser ? std::move(chooser) : CategoryMenu::popupFor(*this);
}

void WriteSnd::placeChild(juce::Component& child, int x, int y, int w, int h)
{
    PageFrame::place(child, contentScale, x, y, w, h);
}

void WriteSnd::layoutFor(int width, int height)
{
    setBounds(0, 23, width, height);
    contentScale = PageFrame::fitScale((float)width, (float)height, contentWidth, contentHeight);
    const float f = contentScale;
    const int W = (int)((float)width / f);
    const int H = (int)((float)height / f);
    const int left = (int)(state.uiScale.load() * 33.0f / f);
    const int d = (W - 350) / 2;
    const int g = std::max(rowHeight, ((H - 109) / rowHeight) * rowHeight);

    frameArea = {left, top, W - 2 * left, H - 8};
    // Beside the display, above the bank buttons, rather than at the frame's far left edge.
    textLeft = d - 100;
    for (int k = 0; k < numBankButtons; ++k)
        placeChild(*bankButtons[(size_t)k], d - 100, 93 + 36 * k, buttonWidth, buttonHeight);
    placeChild(*display, d, top + 10, 180, 43);
    placeChild(*grid, d, 87, 350, g);
    placeChild(*cancelButton, d + 380, 87 + g - 54, buttonWidth, buttonHeight);
    placeChild(*writeButton, d + 380, 87 + g - 18, buttonWidth, buttonHeight);
    if (renameBox != nullptr)
        placeChild(*renameBox, d, top + 20, renameBox->getWidth(), renameBox->getHeight());
    repaint();
}

void WriteSnd::relist()
{
    grid->relist();
}

void WriteSnd::paint(juce::Graphics& g)
{
    PageFrame::paint(g, juce::Colour(0x55221E1F), frameArea, contentScale);
    g.addTransform(juce::AffineTransform::scale(contentScale));
    g.setColour(juce::Colour(0xFFF0E8E8));
    g.setFont(ZarnelLookAndFeel::arial(13.0f, juce::Font::bold));
    g.drawText("Destination:", textLeft, top + 15, 100, 20, juce::Justification::topLeft, false);
}

void WriteSnd::showDestination(int bank, int program)
{
    display->showPlace(bank, program);
}

void WriteSnd::stsbutChanged(StsBut* button)
{
    const int id = button->getId();
    if (id >= firstBankId && id < firstBankId + numBankButtons)
    {
        const int bank = id - firstBankId;
        grid->listBank(bank);
        // The destination stays until a row is chosen; in its own bank it shows selected.
        grid->selectProgram(display->getBank(), display->getProgram());
        return;
    }
    if (renameBox != nullptr && button == renameBox->getOkButton())
        acceptRename();
    else if (renameBox != nullptr && button == renameBox->getCancelButton())
    {
        closeRenameBox();
    }
}

void WriteSnd::acceptRename()
{
    if (renameBox == nullptr)
        return;
    const auto name = renameBox->getText().substring(0, DSI_Program::nameLength);
    display->showProgram(display->getBank(), display->getProgram(), display->getCategory(), name,
                         display->getCategoryText());
    closeRenameBox();
}

void WriteSnd::confirmTypedName()
{
    acceptRename();
}

void WriteSnd::openRenameBox()
{
    if (renameBox != nullptr)
        return;
    renameBox = std::make_unique<RenameCnt>(0, 0, display->getName().substring(0, DSI_Program::nameLength).trimEnd());
    renameBox->getOkButton()->addChangeListener(this);
    renameBox->getCancelButton()->addChangeListener(this);
    // Return and Escape answer like OK and Cancel.
    renameBox->getEditor()->onReturnKey = [this] { acceptRename(); };
    renameBox->getEditor()->onEscapeKey = [this] { closeRenameBox(); };
    addAndMakeVisible(*renameBox);
    // At the display, ten pixels lower.
    placeChild(*renameBox, display->getX(), display->getY() + 10, renameBox->getWidth(), renameBox->getHeight());
    renameBox->toFront(false);
    if (isShowing())
        renameBox->getEditor()->grabKeyboardFocus();
}

void WriteSnd::closeRenameBox()
{
    // Called from the box's own button: the box goes once the button has finished reporting.
    if (renameBox == nullptr)
        return;
    renameBox->setVisible(false);
    removeChildComponent(renameBox.get());
    juce::MessageManager::callAsync([box = std::shared_ptr<RenameCnt>(renameBox.release())] {});
}

void WriteSnd::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == grid.get())
    {
        const int bank = grid->getSelectedBank();
        const int program = grid->getSelectedProgram();
        if (WriteDestination::isWritable(bank, program))
            showDestination(bank, program);
        return;
    }
    if (source != display.get())
        return;
    if (display->getZone() == LCD_Comp::nameZone)
        openRenameBox();
    else if (display->getZone() == LCD_Comp::categoryZone)
        categoryChooser([safe = juce::Component::SafePointer<WriteSnd>(this)](int category) {
            if (safe == nullptr)
                return;
            safe->categoryToWrite = category;
            safe->display->showCategoryName(category, ParDes::categoryName(category));
        });
}

} // namespace zarnel
