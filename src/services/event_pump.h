#pragma once

// "Handle pending events": runs the events already queued, nested inside the caller.
class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void handlePendingEvents() = 0;
};
