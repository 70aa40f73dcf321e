#include "voice/qt_sound_player.h"

#include <QMediaDevices>
#include <QAudioDevice>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString resource(const QString &name)
{
    return qEnvironmentVariable("HUSHBY_SOURCE_DIR") + "/resources/" + name;
}

} // namespace

class TestQtSoundPlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void badFilesAreSkipped_data();
    void badFilesAreSkipped();
    void playDoesNotWaitForTheEnd();
    void loopPlaysOnUntilStopped();

private:
    QTemporaryDir m_dir;
    QString write(const QString &name, const QByteArray &bytes);
};

void TestQtSoundPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(resource("alarm.wav")), "HUSHBY_SOURCE_DIR must name the source tree");
}

QString TestQtSoundPlayer::write(const QString &name, const QByteArray &bytes)
{
    QFile f(m_dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return QString();
    return f.fileName();
}

void TestQtSoundPlayer::badFilesAreSkipped_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << m_dir.filePath("none.wav");
    QTest::newRow("not a wave") << write("junk.wav", QByteArray(5000, 'x'));
}

void TestQtSoundPlayer::badFilesAreSkipped()
{
    QFETCH(QString, path);
    QtSoundPlayer player;
    player.preload({path});
    player.play(path);
    player.startLoop(path);
    QVERIFY(!player.isPlaying(path));
    player.stopLoop();
}

void TestQtSoundPlayer::playDoesNotWaitForTheEnd()
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("no audio output device");
    QtSoundPlayer player;
    const QString alarm = resource("alarm.wav");
    player.play(alarm);
    // Returned while its sound still plays.
    QTRY_VERIFY(player.isPlaying(alarm));
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(alarm), 10000);
}

void TestQtSoundPlayer::loopPlaysOnUntilStopped()
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("no audio output device");
    QtSoundPlayer player;
    const QString alarm = resource("alarm.wav");
    player.preload({alarm});
    player.startLoop(alarm);
    // Well past one round of the sound, it still plays.
    QTest::qWait(3000);
    QVERIFY(player.isPlaying(alarm));
    player.stopLoop();
    QTRY_VERIFY(!player.isPlaying(alarm));
    // A later single play is not looped.
    player.play(alarm);
    QTRY_VERIFY(player.isPlaying(alarm));
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(alarm), 10000);
}

QTEST_GUILESS_MAIN(TestQtSoundPlayer)
#include "tst_qt_sound_player.moc"
