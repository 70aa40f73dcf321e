#pragma once
#include <QMutex>

// flite keeps process-wide state (its lexicon, voices, features) and is not thread-safe:
// pronunciations are made on the recogniser's thread and speech on another. Every call into
// flite, from any file, holds this one lock.
QMutex &fliteLock();
