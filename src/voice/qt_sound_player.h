#pragma once
#include "services/sound_player.h"

#include <QHash>
#include <QString>

class QSoundEffect;

// Wave files through QSoundEffect. Each file is loaded once and kept. playToEnd never returns
// sooner than about the sound's length, even when nothing can be played, so a caller that
// replays a sound in a loop cannot spin.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    void play(const QString &path) override;
    void playToEnd(const QString &path) override;

    // Length of a RIFF/WAVE file's sound from its header; -1 when it cannot be read.
    static int waveDurationMs(const QString &path);

private:
    // The effect for path, loaded; nullptr when the file is missing or could not be loaded.
    QSoundEffect *effectFor(const QString &path);
    static void waitMs(int ms);

    QHash<QString, QSoundEffect *> m_effects;
};
