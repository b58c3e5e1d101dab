#include "CommandPage.h"

namespace zarnel
{

CommandPage::CommandPage(std::initializer_list<ButtonRow> rows)
{
    status.setTextColour(juce::Colour(0xFFCEBDBD));
    addAndMakeVisible(status);
    for (const auto& row : rows)
    {
        auto b = std::make_unique<LibBut>(row.text, row.id);
        b->setHelp(row.help);
        b->setTooltip(row.tip);
        b->setSize(100, 34);
        b->addListener(this);
        addChildComponent(*b);
        buttons.push_back(std::move(b));
    }
    setSize(500, 600);
}

CommandPage::~CommandPage()
{
    for (auto& b : buttons)
        b->removeListener(this);
}

LibBut& CommandPage::getButton(int id)
{
    for (auto& b : buttons)
        if (b->getId() == id)
            return *b;
    return *buttons.front();
}

void CommandPage::placeButtons(const std::vector<int>& ys, int hiddenId)
{
    const int x = getWidth() - 120;
    for (size_t i = 0; i < buttons.size() && i < ys.size(); ++i)
        buttons[i]->setTopLeftPosition(buttons[i]->getId() == hiddenId ? -x : x, ys[i]);
    status.setBounds(400, getHeight() - 30, 400, 24);
}

void CommandPage::showButtons(const std::function<bool(int id)>& shown)
{
    for (auto& b : buttons)
        if (const bool show = shown(b->getId()); b->isVisible() != show)
            b->setVisible(show);
}

void CommandPage::libButEntered(LibBut* button, int)
{
    status.setText(button->getHelp());
}

void CommandPage::libButExited(LibBut*, int)
{
    status.setText({});
}

void CommandPage::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(pageColour));
    g.setColour(juce::Colour(0xFF0A0A0A));
    g.fillRect(0, 4, getWidth(), 2);
}

} // namespace zarnel
