#pragma once

namespace zarnel
{

class MidiCntrState;

// Told, on the thread that posted it, that notification codes are waiting in the queue. It must
// only hand over to the message thread.
class MidiCntrStateListener
{
public:
    virtual ~MidiCntrStateListener() = default;
    virtual void midiCntrStateChanged(MidiCntrState& state) = 0;
};

// Told about codes posted by the on-screen keyboard's function keys.
class stateListener
{
public:
    virtual ~stateListener() = default;
    virtual void stateChanged() = 0;
};

} // namespace zarnel
