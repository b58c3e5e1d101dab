#pragma once

#include "ProgramSysex.h"

#include <juce_core/juce_core.h>

namespace zarnel
{

// One program record with its name, and its conversion to and from the synthesizer's dumps.
class DSI_Program
{
public:
    static constexpr int nameOffset = 184;
    static constexpr int nameLength = 16;
    static constexpr int categoryOffset = 117;

    DSI_Program();

    // Accepts a plain record (256), an edit-buffer dump (298) or a program dump (300), by length
    // alone. Any other length changes nothing.
    bool setFromBuffer(const std::uint8_t* bytes, size_t size);
    bool setFromBuffer(const Bytes& bytes) { return setFromBuffer(bytes.data(), bytes.size()); }

    // Exactly 293 packed bytes; anything else leaves the record alone.
    void unpack(const std::uint8_t* packed, size_t size);

    const Bytes& packEditBuffer(const std::uint8_t* record, size_t size);
    const Bytes& packEditBuffer(const Bytes& record) { return packEditBuffer(record.data(), record.size()); }

    juce::String readName();
    void writeName(const juce::String& text);

    void setData(const std::uint8_t* bytes, size_t size);
    void setData(const Bytes& bytes) { setData(bytes.data(), bytes.size()); }
    ProgramSysex::Record getData() const;

    const juce::String& getName() const noexcept { return name; }
    const Bytes& getDump() const noexcept { return dump; }

    // Name rules shared with the banks: 16 characters, blank padded, codes 20..159 kept.
    static void encodeName(const juce::String& text, std::uint8_t* dest);
    static juce::String decodeName(const std::uint8_t* record, size_t size);
    static juce::String paddedName(const juce::String& text);

private:
    juce::String name;
    Bytes data;
    Bytes dump;
};

} // namespace zarnel
