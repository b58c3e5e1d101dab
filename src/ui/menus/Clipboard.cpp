#include "Clipboard.h"

#include "../../model/DSI_Program.h"

namespace zarnel
{

juce::String Clipboard::getName() const
{
    return program ? DSI_Program::decodeName(program->data(), program->size()) : juce::String();
}

} // namespace zarnel
