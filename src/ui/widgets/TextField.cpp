#include "TextField.h"

#include "../look/AsyncMenu.h"

namespace zarnel
{

void TextField::mouseDown(const juce::MouseEvent& e)
{
    const int modalBefore = juce::ModalComponentManager::getInstance()->getNumModalComponents();
    juce::TextEditor::mouseDown(e);
    if (e.mods.isPopupMenu())
        AsyncMenu::adoptMenuOpenedBy(*this, modalBefore);
}

} // namespace zarnel
