#include "voice/flite_lock.h"

QMutex &fliteLock()
{
    static QMutex lock;
    return lock;
}
