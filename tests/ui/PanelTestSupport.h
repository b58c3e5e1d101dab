#pragma once

#include "UiTestSupport.h"

#include "midi/Notification.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "ui/main/MainComp.h"
#include "support/SynthRig.h"

#include <functional>
#include <utility>
#include <vector>

namespace zarnel::test
{

// A processor on the simulated synthesizer's rig, with our look, for the panels' tests.
struct PanelRig
{
    UiEnvironment ui;
    SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};

    // The parameter changes the processor announced since the last call: what the controls asked
    // for, as (index, value).
    std::vector<std::pair<int, int>> requests()
    {
        std::vector<std::pair<int, int>> out;
        std::uint32_t code;
        while (processor.getState().popNotification(code))
            if (Notification::typeOf(code) == Notification::parameterChanged)
                out.emplace_back((int)((code >> 8) & 0xFFFF), (int)(code & 0xFF));
        return out;
    }
};

// The same with the editor open on it and its about panel closed.
struct EditorRig : PanelRig
{
    EditorRig()
    {
        main.toggleAbout(false, 0);
        pumpMessages(20);
    }

    EditorPanel& panel() { return main.getEditorPanel(); }

    // Lets the synthesizer answer and the message thread handle what arrived.
    bool settleUntil(const std::function<bool()>& condition)
    {
        return runUntil(
            [&] {
                pumpMessages(2); // what was posted meanwhile is handled before the check
                return rig.synth.waitUntilIdle(10) && condition();
            },
            3000);
    }
    void settle() { settleUntil([] { return true; }); }

    ZarnelAudioProcessorEditor editor{processor};
    MainComp& main = editor.getMainComp();
};

} // namespace zarnel::test
