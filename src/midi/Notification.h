#pragma once

#include <cstdint>

namespace zarnel
{

// 32-bit notification codes: the type in the top byte, the payload below. MIDI channels inside
// codes run 1 to 16.
struct Notification
{
    static constexpr std::uint32_t parameterChanged = 0x10000000;
    static constexpr std::uint32_t programReplaced = 0x11000000;
    static constexpr std::uint32_t globalDumpArrived = 0x12000000;
    static constexpr std::uint32_t globalDumpRequested = 0x13000000;
    static constexpr std::uint32_t bankReceiveFinished = 0x16000000;
    static constexpr std::uint32_t bankProgramArrived = 0x17000000;
    static constexpr std::uint32_t bankContentChanged = 0x19000000;
    static constexpr std::uint32_t globalChanged = 0x20000000;
    static constexpr std::uint32_t hostProgramChanged = 0x22000000;
    // A file could not be written (payload: which one); the change stays pending and is retried.
    static constexpr std::uint32_t fileWriteFailed = 0x30000000;
    static constexpr std::uint32_t settingsFile = 1;
    static constexpr std::uint32_t bankDataFile = 2;
    static constexpr std::uint32_t portFile = 3;
    // The port search tried another pair or ended (its state is read from the search itself).
    static constexpr std::uint32_t portSearchChanged = 0x31000000;
    // The MIDI output's device stopped taking data and was closed; its name stays chosen.
    static constexpr std::uint32_t outputNotResponding = 0x32000000;

    static constexpr std::uint32_t typeOf(std::uint32_t code) noexcept { return code & 0xFF000000u; }

    static constexpr std::uint32_t parameter(int index, int value) noexcept
    {
        return parameterChanged + (std::uint32_t)index * 256u + (std::uint32_t)value;
    }
    static constexpr std::uint32_t bankProgram(int bank, int program) noexcept
    {
        return bankProgramArrived + (std::uint32_t)bank * 256u + (std::uint32_t)program;
    }
    static constexpr std::uint32_t global(int index) noexcept { return globalChanged + (std::uint32_t)index; }

    // Channel messages: (status + channel) * 2^20 + payload, channel 1..16.
    static constexpr std::uint32_t noteOff(int channel, int note) noexcept
    {
        return (0x80u + (std::uint32_t)channel) * (1u << 20) + (std::uint32_t)note;
    }
    static constexpr std::uint32_t noteOn(int channel, int note, int velocity) noexcept
    {
        return (0x90u + (std::uint32_t)channel) * (1u << 20) + (std::uint32_t)note * 128u + (std::uint32_t)velocity;
    }
    static constexpr std::uint32_t controlChange(int channel, int controller, int value) noexcept
    {
        return (0xB0u + (std::uint32_t)channel) * (1u << 20) + (std::uint32_t)controller * 128u + (std::uint32_t)value;
    }
    static constexpr std::uint32_t programChange(int channel, int program) noexcept
    {
        return (0xC0u + (std::uint32_t)channel) * (1u << 20) + (std::uint32_t)program;
    }
    static constexpr std::uint32_t pitchBend(int channel, int msb, int lsb) noexcept
    {
        return (0xE0u + (std::uint32_t)channel) * (1u << 20) + (std::uint32_t)msb * 128u + (std::uint32_t)lsb;
    }
};

} // namespace zarnel
