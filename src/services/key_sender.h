#pragma once
#include <Qt>

// Sends a key press and release to whichever window has the keyboard focus, without waiting.
class KeySender
{
public:
    virtual ~KeySender() = default;
    virtual void sendKey(Qt::Key key) = 0;
};
