#pragma once
#include "services/sound_player.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>

class QSoundEffect;

// Wave files through QSoundEffect. Each file is loaded once and kept.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    void play(const QString &path) override;
    void startLoop(const QString &path) override;
    void stopLoop() override;

    // Starts loading these files without waiting, so that the first press is heard: a sound
    // loaded on demand misses the moment it was asked for.
    void preload(const QStringList &paths);

    // Whether the file's sound is playing now (for tests and diagnostics).
    bool isPlaying(const QString &path) const;

private:
    QSoundEffect *effectFor(const QString &path, bool wait);

    QHash<QString, QSoundEffect *> m_effects;
    QPointer<QSoundEffect> m_loop;
};
