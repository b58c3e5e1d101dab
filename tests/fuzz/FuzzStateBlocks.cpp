// Arbitrary bytes as the blocks a host hands back: a bank state and a program state. The state
// read afterwards must be exactly what the blocks' layout says, and must read back unchanged.
#include "plugin/ZarnelAudioProcessor.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace zarnel;

namespace
{

// The layout, written out here rather than taken from StateBlocks, so the two can disagree.
constexpr char bankTag[] = "MophoPluginBank";     // 15 bytes, then 10 of version, then 128 records
constexpr char programTag[] = "MophoPluginSettings"; // 19 bytes, then 10 of version, then 1 record
constexpr char trailerTag[] = "ZarnelEditState";  // 15 bytes, version 1, program number, record
constexpr size_t bankSize = 32768;
constexpr size_t bankBlock = 15 + 10 + bankSize;
constexpr size_t trailer = 15 + 2 + 256;
constexpr size_t programBlock = 19 + 10 + 256;

struct Harness
{
    Harness() { processor = std::make_unique<ZarnelAudioProcessor>(folder.get(), backend); }
    ~Harness() { processor.reset(); }

    juce::ScopedJuceInitialiser_GUI juce;
    test::TempFolder folder;
    test::VirtualMidiBackend backend; // no devices: nothing is sent anywhere
    std::unique_ptr<ZarnelAudioProcessor> processor;
};

// What the processor holds, in the terms of the blocks.
struct Model
{
    Bytes bank;
    int program = 0;
    Bytes current;

    static Model from(const juce::MemoryBlock& block)
    {
        const auto* b = static_cast<const std::uint8_t*>(block.getData());
        if (block.getSize() != bankBlock + trailer)
            __builtin_trap();
        Model m;
        m.bank.assign(b + 25, b + bankBlock);
        m.program = b[bankBlock + 16];
        m.current.assign(b + bankBlock + 17, b + bankBlock + trailer);
        return m;
    }

    void applyBank(const Bytes& block)
    {
        if (block.size() < bankBlock || std::memcmp(block.data(), bankTag, 15) != 0)
            return;
        bank.assign(block.begin() + 25, block.begin() + (std::ptrdiff_t)bankBlock);
        const auto* t = block.data() + bankBlock;
        if (block.size() >= bankBlock + trailer && std::memcmp(t, trailerTag, 15) == 0 && t[15] == 1)
        {
            program = std::min<int>(t[16], 127);
            current.assign(t + 17, t + trailer);
        }
    }

    void applyProgram(const Bytes& block)
    {
        if (block.size() < programBlock || std::memcmp(block.data(), programTag, 19) != 0)
            return;
        current.assign(block.begin() + 29, block.begin() + (std::ptrdiff_t)programBlock);
        std::copy(current.begin(), current.end(), bank.begin() + program * 256);
    }

    Bytes expectedState() const
    {
        Bytes out(bankTag, bankTag + 15);
        const char version[] = "Version100";
        out.insert(out.end(), version, version + 10);
        out.insert(out.end(), bank.begin(), bank.end());
        out.insert(out.end(), trailerTag, trailerTag + 15);
        out.push_back(1);
        out.push_back((std::uint8_t)program);
        out.insert(out.end(), current.begin(), current.end());
        return out;
    }
};

// `length` bytes repeating `source` (zeros when it is empty).
void appendTiled(Bytes& out, const std::uint8_t* source, size_t n, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        out.push_back(n > 0 ? source[i % n] : 0);
}

bool same(const juce::MemoryBlock& block, const Bytes& bytes)
{
    return block.getSize() == bytes.size() && std::memcmp(block.getData(), bytes.data(), bytes.size()) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    static Harness h;
    auto& processor = *h.processor;
    if (size < 3)
        return 0;

    // Mode bits: which block gets a real header and trailer, cuts, and the order of the calls.
    const auto mode = data[0];
    const size_t split = 3 + ((size_t)data[1] | (size_t)data[2] << 8) % (size - 2);
    const std::uint8_t* a = data + 3;
    const size_t aSize = split - 3;
    const std::uint8_t* b = data + split;
    const size_t bSize = size - split;

    Bytes bankState;
    if (mode & 1)
    {
        // Small inputs still make a whole bank block: the record bytes repeat.
        bankState.assign(bankTag, bankTag + 15);
        appendTiled(bankState, a, aSize, 10 + bankSize);
        if (mode & 2)
        {
            bankState.insert(bankState.end(), trailerTag, trailerTag + 15);
            bankState.push_back((mode & 0x10) && aSize > 0 ? a[0] : 1);
            appendTiled(bankState, a + aSize / 2, aSize - aSize / 2, 1 + 256);
        }
        if ((mode & 0x20) && aSize > 1)
            bankState.resize(bankState.size() - a[1] % 64);
    }
    else
    {
        bankState.assign(a, a + aSize);
    }

    Bytes programState;
    if (mode & 4)
    {
        programState.assign(programTag, programTag + 19);
        appendTiled(programState, b, bSize, 10 + 256);
        if ((mode & 0x40) && bSize > 0)
            programState.resize(programState.size() - b[0] % 4);
    }
    else
    {
        programState.assign(b, b + bSize);
    }

    juce::MemoryBlock before;
    processor.getStateInformation(before);
    auto model = Model::from(before);

    if (mode & 0x80)
    {
        processor.setCurrentProgramStateInformation(programState.data(), (int)programState.size());
        model.applyProgram(programState);
        processor.setStateInformation(bankState.data(), (int)bankState.size());
        model.applyBank(bankState);
    }
    else
    {
        processor.setStateInformation(bankState.data(), (int)bankState.size());
        model.applyBank(bankState);
        processor.setCurrentProgramStateInformation(programState.data(), (int)programState.size());
        model.applyProgram(programState);
    }

    juce::MemoryBlock after;
    processor.getStateInformation(after);
    if (!same(after, model.expectedState()) || processor.getCurrentProgram() != model.program)
        __builtin_trap();

    // What the host stores reads back byte for byte.
    processor.setStateInformation(after.getData(), (int)after.getSize());
    juce::MemoryBlock again;
    processor.getStateInformation(again);
    if (again != after)
        __builtin_trap();
    return 0;
}
