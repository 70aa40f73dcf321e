#include "voice/qt_event_pump.h"

#include <QCoreApplication>

void QtEventPump::handlePendingEvents()
{
    QCoreApplication::processEvents();
}
