#include "MenuTestSupport.h"

#include "model/DSI_Program.h"
#include "model/FactoryData.h"
#include "ui/menus/BankFileMenu.h"
#include "ui/menus/BankTransferMenu.h"
#include "ui/menus/ChannelMenu.h"
#include "ui/menus/EditMenu.h"
#include "ui/menus/FileMenu.h"
#include "ui/menus/PresetsMenu.h"
#include "ui/menus/ProgramMenu.h"
#include "ui/menus/ProgramSelectMenu.h"
#include "ui/menus/SendMenu.h"
#include "ui/menus/WriteCommand.h"
#include "files/FileMan.h"
#include "ui/files/PresetBankCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace zarnel;
using Record = ProgramSysex::Record;
using Items = std::vector<std::pair<int, juce::String>>;

namespace
{

Record named(Record r, const char* name)
{
    DSI_Program::encodeName(name, r.data() + DSI_Program::nameOffset);
    return r;
}

std::set<int> idsWhere(const MenuModel& menu, const std::function<bool(const MenuModel::Entry&)>& test)
{
    std::set<int> out;
    for (const auto& [id, text] : menu.flatten())
        if (const auto* e = menu.find(id); e != nullptr && test(*e))
            out.insert(id);
    return out;
}

std::set<int> disabled(const MenuModel& m)
{
    return idsWhere(m, [](const auto& e) { return !e.enabled; });
}

std::set<int> ticked(const MenuModel& m)
{
    return idsWhere(m, [](const auto& e) { return e.ticked; });
}

class MenusTest : public ::testing::Test, protected test::CommandRig
{
protected:
    MenusTest()
    {
        state().setCurrentProgram(named(state().getBankProgram(4, 9), "Edited Lead"));
        state().setHostBankProgram(0, named(state().getBankProgram(5, 1), "Host Pad"));
        state().hostProgramIndex = 0;
        rig.synth.waitUntilIdle(3000);
        rig.synth.clearLogs();
        drainCodes();
    }

    std::vector<std::uint32_t> drainCodes()
    {
        return test::drain([this](std::uint32_t& c) { return state().popNotification(c); });
    }

    std::vector<Bytes> wire(size_t expected = 0) { return test::receivedSinceLastCall(rig.synth, expected); }

    static Items programItems(const std::function<juce::String(int)>& name)
    {
        Items items;
        for (int p = 0; p < 128; ++p)
            items.emplace_back(1000 + p, name(p));
        return items;
    }
};

juce::String blankPadded(const char* name)
{
    return DSI_Program::paddedName(name);
}

} // namespace

TEST_F(MenusTest, ItemsInEveryStateThatChangesThem)
{
    const auto edited = blankPadded("Edited Lead");
    struct Case
    {
        const char* what;
        std::function<void()> setUp;
        std::function<MenuModel()> menu;
        Items items;
        std::set<int> disabledIds, tickedIds;
    };
    const Case cases[] = {
        {"File", [] {}, [&] { return FileMenu(context).items(); },
         {{1, "Load Single Program"}, {2, "Save " + edited}, {3, "About"}}, {}, {}},
        {"File under the write dialog", [&] { host.writeDialogShown = true; }, [&] { return FileMenu(context).items(); },
         {{1, "Load Single Program"}, {2, "Save " + edited}, {3, "About"}}, {3}, {}},
        {"Edit, clipboard empty", [] {}, [&] { return EditMenu(context).items(); },
         {{1, "Copy Program: " + edited}, {2, "Paste "}}, {2}, {}},
        {"Edit, clipboard full, edited program changed since",
         [&] {
             clipboard.copy(named(Record{}, "Copied Bass"));
             state().setCurrentProgram(named(state().getCurrentProgram(), "Changed"));
         },
         [&] { return EditMenu(context).items(); },
         {{1, "Copy Program: " + blankPadded("Changed")}, {2, "Paste " + blankPadded("Copied Bass")}}, {}, {}},
        {"Send", [] {}, [&] { return SendMenu(context).items(); },
         {{1, "Current Preset: " + edited}, {2, "FX Bank Preset: " + blankPadded("Host Pad")}}, {}, {}},
        {"Channel 5", [&] { state().midiChannel = 5; }, [&] { return ChannelMenu(context).items(); },
         [] {
             Items i;
             for (int c = 1; c <= 16; ++c)
                 i.emplace_back(c, "Channel " + juce::String(c));
             return i;
         }(),
         {}, {5}},
        {"Program Select on U3:038",
         [&] {
             state().currentBank = 2;
             state().currentProgramNumber = 37;
         },
         [&] { return ProgramSelectMenu(context).items(); },
         [&] {
             Items i{{100000, "Program Bank U1"}, {100001, "Program Bank U2"}, {100002, "Program Bank U3"},
                     {100003, "Program Bank U4"}, {100004, "Program Bank F1"}, {100005, "Program Bank F2"},
                     {100006, "Program Bank F3"}, {100007, "Program Bank F4"}};
             const auto programs = programItems([&](int p) { return state().getBankProgramName(2, p); });
             i.insert(i.end(), programs.begin(), programs.end());
             return i;
         }(),
         {}, {100002, 1037}},
        {"Bank File", [] {}, [] { return BankFileMenu().items(); },
         {{100, "Load Program Bank To Bank U1"}, {101, "Load Program Bank To Bank U2"},
          {102, "Load Program Bank To Bank U3"}, {103, "Load Program Bank To Bank U4"},
          {200, "Save Program Bank U1"}, {201, "Save Program Bank U2"}, {202, "Save Program Bank U3"},
          {203, "Save Program Bank U4"}},
         {}, {}},
        {"Bank Transfer", [] {}, [] { return BankTransferMenu().items(); },
         {{0, "Receive Program Bank "}, {1, "Bank U1"}, {2, "Bank U2"}, {3, "Bank U3"}, {4, "Bank U4"},
          {200, "Receive All Banks"}, {0, "Transmit Program Bank "}, {100, "Bank U1"}, {101, "Bank U2"},
          {102, "Bank U3"}, {103, "Bank U4"}, {300, "Transmit All Banks"}},
         {}, {}},
        {"Presets on U3", [&] { state().currentBank = 2; }, [&] { return PresetsMenu(context).items(); },
         {{0, "Factory Presets "}, {100, "Bank U1"}, {101, "Bank U2"}, {102, "Bank U3"}, {103, "Bank U4"},
          {99, "Initialize Program Bank U3"}},
         {103}, {}},
        {"Presets on F2", [&] { state().currentBank = 5; }, [&] { return PresetsMenu(context).items(); }, {}, {}, {}},
        {"Program menu of F2:018, clipboard full",
         [&] { clipboard.copy(named(Record{}, "Clip")); },
         [&] { return ProgramMenu(context, 5, 17).items(); },
         {{1, "Copy Program: " + state().getBankProgramName(5, 17)}, {2, "Paste " + blankPadded("Clip")},
          {3, "Save " + state().getBankProgramName(5, 17)}, {4, "Load Program "}},
         {}, {}},
        {"Program menu, clipboard empty", [] {}, [&] { return ProgramMenu(context, 0, 0).items(); },
         {{1, "Copy Program: " + state().getBankProgramName(0, 0)}, {2, "Paste "},
          {3, "Save " + state().getBankProgramName(0, 0)}, {4, "Load Program "}},
         {2}, {}},
    };
    for (const auto& c : cases)
    {
        const auto savedProgram = state().getCurrentProgram();
        c.setUp();
        const auto menu = c.menu();
        EXPECT_EQ(menu.flatten(), c.items) << c.what;
        EXPECT_EQ(disabled(menu), c.disabledIds) << c.what;
        EXPECT_EQ(ticked(menu), c.tickedIds) << c.what;
        clipboard = {};
        host.writeDialogShown = false;
        state().currentBank = 0;
        state().currentProgramNumber = 0;
        state().midiChannel = 1;
        state().setCurrentProgram(savedProgram);
    }

    // A press that hit no slot gives no menu.
    for (const auto& [b, a] : {std::pair{8, 0}, {-1, 3}, {0, 128}, {2, -1}})
        EXPECT_TRUE(ProgramMenu(context, b, a).items().isEmpty()) << b << ":" << a;
}

TEST_F(MenusTest, DispatchChangesTheModelAndSendsWhatItSays)
{
    const auto edited = state().getCurrentProgram();
    const auto hostPreset = state().getHostBankProgram(0);
    const auto editBufferDump = [](const Record& r) { return ProgramSysex::editBufferDump(r.data(), r.size()); };

    struct Case
    {
        const char* what;
        std::function<void()> act;
        std::vector<Bytes> wire;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"Program Select: program 37 of bank U3",
         [&] {
             state().currentBank = 2;
             ProgramSelectMenu(context).dispatch(1037, context);
         },
         {{0xB0, 32, 2}, {0xC0, 37}},
         [&] {
             EXPECT_EQ(state().currentBank.load(), 2);
             EXPECT_EQ(state().currentProgramNumber.load(), 37);
             EXPECT_EQ(state().getCurrentProgram(), state().getBankProgram(2, 37));
         }},
        {"Program Select: bank F2 keeps program 37",
         [&] {
             state().currentProgramNumber = 37;
             ProgramSelectMenu(context).dispatch(100005, context);
         },
         {{0xB0, 32, 5}, {0xC0, 37}},
         [&] { EXPECT_EQ(state().getCurrentProgram(), state().getBankProgram(5, 37)); }},
        {"Channel 16, then a selection goes out on it",
         [&] {
             ChannelMenu(context).dispatch(16, context);
             state().selectProgram(1, 3, true);
         },
         {{0xBF, 32, 1}, {0xCF, 3}},
         [&] {
             EXPECT_EQ(host.channelShown, 16);
             EXPECT_EQ(ChannelMenu::labelText(16), "Chan: 16");
             EXPECT_EQ(state().getSettings().getEntry(SettingsList::midiChannelEntry), "16");
         }},
        {"Send the edited program", [&] { SendMenu(context).dispatch(1, context); }, {editBufferDump(edited)},
         [&] { EXPECT_EQ(rig.synth.editBuffer(), edited); }},
        {"Send the host's current preset", [&] { SendMenu(context).dispatch(2, context); },
         {editBufferDump(hostPreset)}, [&] { EXPECT_EQ(state().getCurrentProgram(), hostPreset); }},
        {"Copy sends the edited program and fills the clipboard", [&] { EditMenu(context).dispatch(1, context); },
         {editBufferDump(edited)}, [&] { EXPECT_EQ(clipboard.getProgram(), edited); }},
        {"Paste with an empty clipboard changes nothing",
         [&] {
             EditMenu(context).dispatch(2, context);
             ProgramMenu(context, 0, 4).dispatch(2, context);
         },
         {},
         [&] {
             EXPECT_EQ(state().getCurrentProgram(), edited);
             EXPECT_TRUE(drainCodes().empty());
         }},
        {"Paste replaces the edited program and sends nothing",
         [&] {
             clipboard.copy(hostPreset);
             EditMenu(context).dispatch(2, context);
         },
         {},
         [&] {
             EXPECT_EQ(state().getCurrentProgram(), hostPreset);
             EXPECT_EQ(drainCodes(), std::vector<std::uint32_t>{Notification::programReplaced});
         }},
        {"Copy Program of a slot copies that slot, not the edited program",
         [&] { ProgramMenu(context, 6, 40).dispatch(1, context); },
         {},
         [&] { EXPECT_EQ(clipboard.getProgram(), state().getBankProgram(6, 40)); }},
        {"Paste into slot U2:006",
         [&] {
             clipboard.copy(hostPreset);
             ProgramMenu(context, 1, 5).dispatch(2, context);
         },
         {},
         [&] {
             EXPECT_EQ(state().getBankProgram(1, 5), hostPreset);
             EXPECT_EQ(state().getCurrentProgram(), edited);
             EXPECT_EQ(drainCodes(), (std::vector<std::uint32_t>{Notification::bankContentChanged,
                                                                 Notification::programReplaced}));
         }},
        {"Bank transfers",
         [&] {
             for (int item : {1, 4, 200, 100, 103, 300, 0, 5, 104})
                 BankTransferMenu().dispatch(item, context);
         },
         {},
         [&] {
             EXPECT_EQ(host.transfers,
                       (std::vector<std::pair<int, int>>{{0, 0}, {0, 3}, {7, 0}, {100, 0}, {100, 3}, {107, 0}}));
         }},
        {"Factory presets into U2",
         [&] {
             state().currentBank = 1;
             PresetsMenu(context).dispatch(101, context);
         },
         {},
         [&] {
             const auto bank = state().getBankData(1);
             EXPECT_TRUE(std::equal(bank.begin(), bank.end(), FactoryData::bank(1)));
             EXPECT_EQ(drainCodes(), std::vector<std::uint32_t>{Notification::bankContentChanged});
         }},
        {"Factory Presets > Bank U4 changes nothing",
         [&] {
             state().currentBank = 1;
             state().setBankProgram(1, 0, hostPreset);
             drainCodes();
             PresetsMenu(context).dispatch(103, context);
         },
         {},
         [&] {
             EXPECT_EQ(state().getBankProgram(1, 0), hostPreset);
             EXPECT_TRUE(drainCodes().empty());
         }},
        {"Initialize U4",
         [&] {
             state().currentBank = 3;
             PresetsMenu(context).dispatch(99, context);
         },
         {},
         [&] {
             const auto untitled = DSI_Program().getData();
             for (int p = 0; p < 128; ++p)
                 ASSERT_EQ(state().getBankProgram(3, p), untitled) << p;
         }},
        {"The Presets menu of a factory bank does nothing",
         [&] {
             state().currentBank = 5;
             PresetsMenu(context).dispatch(99, context);
         },
         {},
         [&] { EXPECT_TRUE(drainCodes().empty()); }},
        {"About, unless the write dialog is shown",
         [&] {
             FileMenu(context).dispatch(3, context);
             host.writeDialogShown = true;
             FileMenu(context).dispatch(3, context);
         },
         {},
         [&] { EXPECT_EQ(host.aboutToggles, 1); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        c.act();
        EXPECT_EQ(wire(c.wire.size()), c.wire);
        c.check();

        drainCodes();
        clipboard = {};
        host = {};
        state().midiChannel = 1;
        state().currentBank = 0;
        state().currentProgramNumber = 0;
        state().setCurrentProgram(edited);
    }
}

TEST_F(MenusTest, WriteSendsTheNamedProgramToAUserSlot)
{
    auto expected = named(state().getCurrentProgram(), "Written");
    expected[117] = 3;
    ASSERT_TRUE(WriteCommand::write(context, 1, 9, "Written", 3));
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.program(1, 9) == expected; }, 3000));
    EXPECT_EQ(state().getBankProgram(1, 9), expected);
    EXPECT_EQ(state().getCurrentProgram(), expected);
    EXPECT_EQ(host.writeDialogCloses, 1);
    wire();

    // A factory slot, or no output: told, nothing sent or changed.
    const auto before = state().getBankProgram(5, 9);
    EXPECT_FALSE(WriteCommand::write(context, 5, 9, "Nope", 1));
    state().selectOutputPort(0);
    EXPECT_FALSE(WriteCommand::write(context, 0, 9, "Nope", 1));
    EXPECT_EQ(host.messages, juce::StringArray({WriteCommand::factoryBankText, WriteCommand::noOutputText}));
    EXPECT_EQ(state().getBankProgram(5, 9), before);
    EXPECT_TRUE(wire().empty());

    WriteCommand::cancel(context);
    EXPECT_EQ(host.writeDialogCloses, 2);
}

TEST_F(MenusTest, WhatIsStoredWhileComparingIsTheEdits)
{
    const auto original = state().getCurrentProgram();
    const int edited = original[20] == 100 ? 101 : 100;
    const juce::TemporaryFile file(".syx");
    struct Case
    {
        const char* what;
        std::function<int()> storeAndRead; // the stored byte 20
        bool leavesCompare;
    };
    const Case cases[] = {
        {"WRITE to a user slot",
         [&] {
             EXPECT_TRUE(WriteCommand::write(context, 1, 9, "Written", 3));
             EXPECT_TRUE(rig.synth.waitUntil([&] { return rig.synth.program(1, 9)[20] == edited; }, 3000));
             return (int)state().getBankProgram(1, 9)[20];
         },
         true},
        {"a preset",
         [&] {
             PresetBankCommands::storeEdited(processor, 2, "Kept");
             return (int)state().getHostBankProgram(2)[20];
         },
         true},
        {"a program file",
         [&] {
             host.chosen = file.getFile();
             FileMenu(context).dispatch(FileMenu::saveItem, context);
             juce::MemoryBlock block;
             file.getFile().loadFileAsData(block);
             const auto* data = static_cast<const std::uint8_t*>(block.getData());
             const auto record = FileMan::readProgramFile(Bytes(data, data + block.getSize()));
             return record ? (int)(*record)[20] : -1;
         },
         false},
        {"a copy",
         [&] {
             EditMenu(context).dispatch(EditMenu::copyItem, context);
             return context.clipboard.getProgram() ? (int)(*context.clipboard.getProgram())[20] : -1;
         },
         true},
        {"the current preset sent",
         [&] {
             SendMenu(context).dispatch(SendMenu::currentItem, context);
             EXPECT_TRUE(rig.synth.waitUntil([&] { return rig.synth.editBuffer()[20] == edited; }, 3000));
             return state().getCurrentByte(20);
         },
         true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        state().setCurrentProgram(original);
        processor.recordHistory(); // the program compared with
        processor.setParameterFromEditor(20, edited, false, true);
        processor.recordHistory();
        processor.setComparing(true);
        ASSERT_EQ(state().getCurrentByte(20), original[20]);

        EXPECT_EQ(c.storeAndRead(), edited);
        EXPECT_EQ(processor.getHistory().isComparing(), !c.leavesCompare);
        EXPECT_EQ(processor.getHistory().getEditedProgram()[20], edited);
        processor.setComparing(false);
        wire();
    }
}
