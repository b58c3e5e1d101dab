#pragma once

namespace zarnel
{

// Told when the note player, which sits in the keyboard strip's grip, is dragged: the strip moves
// with it. Positions are in the strip's coordinates.
class KeyPlayListener
{
public:
    virtual ~KeyPlayListener() = default;
    virtual void keyPlayDragStarted(int y) = 0;
    virtual void keyPlayDragged(int y) = 0;
    virtual void keyPlayDragEnded() = 0;
};

} // namespace zarnel
