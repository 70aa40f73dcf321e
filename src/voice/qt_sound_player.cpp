#include "voice/qt_sound_player.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {
// Loading a short wave takes milliseconds; this only bounds a stuck backend.
constexpr int LoadTimeoutMs = 2000;
} // namespace

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer()
{
    qDeleteAll(m_effects);
}

void QtSoundPlayer::play(const QString &path)
{
    if (QSoundEffect *effect = effectFor(path, true))
        effect->play();
}

void QtSoundPlayer::startLoop(const QString &path)
{
    stopLoop();
    if (QSoundEffect *effect = effectFor(path, true)) {
        effect->setLoopCount(QSoundEffect::Infinite);
        effect->play();
        m_loop = effect;
    }
}

void QtSoundPlayer::stopLoop()
{
    if (!m_loop)
        return;
    m_loop->stop();
    m_loop->setLoopCount(1);
    m_loop = nullptr;
}

void QtSoundPlayer::preload(const QStringList &paths)
{
    for (const QString &path : paths)
        effectFor(path, false);
}

bool QtSoundPlayer::isPlaying(const QString &path) const
{
    const QSoundEffect *effect = m_effects.value(path);
    return effect && effect->isPlaying();
}

QSoundEffect *QtSoundPlayer::effectFor(const QString &path, bool wait)
{
    QSoundEffect *effect = m_effects.value(path);
    if (!effect) {
        if (!QFileInfo(path).isFile())
            return nullptr;
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(path));
        m_effects.insert(path, effect);
    }
    if (!wait)
        return effect;
    if (effect->status() == QSoundEffect::Loading || effect->status() == QSoundEffect::Null) {
        QEventLoop loop;
        QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
        QObject::connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
            if (effect->status() == QSoundEffect::Ready || effect->status() == QSoundEffect::Error)
                loop.quit();
        });
        if (effect->status() == QSoundEffect::Loading || effect->status() == QSoundEffect::Null)
            loop.exec();
    }
    if (effect->status() != QSoundEffect::Ready) {
        // Dropped so that a file fixed or added later is loaded afresh.
        m_effects.remove(path);
        effect->deleteLater();
        return nullptr;
    }
    return effect;
}
