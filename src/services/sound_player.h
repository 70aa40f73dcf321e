#pragma once
#include <QString>

// Plays wave files. Every failure (missing file, no device) is swallowed.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Starts the sound and returns at once.
    virtual void play(const QString &path) = 0;
    // Plays the sound over and over, without a gap between rounds, until stopLoop(); returns at once.
    virtual void startLoop(const QString &path) = 0;
    virtual void stopLoop() = 0;
    // Whether a sound started by play() may still be heard; the loop does not count.
    virtual bool isPlayingOnce() const { return false; }
};
