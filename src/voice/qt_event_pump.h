#pragma once
#include "services/event_pump.h"

class QtEventPump : public EventPump
{
public:
    void handlePendingEvents() override;
};
