#pragma once
#include <QString>

// Plays wave files. Every failure (missing file, no device) is swallowed.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once.
    virtual void play(const QString &path) = 0;
    // Plays the sound and returns when it has ended; events keep being delivered meanwhile.
    // Must not return at once on failure (the alarm loop relies on it taking about the sound's length).
    virtual void playToEnd(const QString &path) = 0;
};
