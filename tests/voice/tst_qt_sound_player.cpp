#include "voice/qt_sound_player.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {
QString resource(const QString &name)
{
    return qEnvironmentVariable("HUSHBY_SOURCE_DIR") + "/resources/" + name;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// A 16-bit PCM wave of the given rate and channels holding `frames` frames, its data chunk
// claiming `claimed` frames, with an extra chunk before the data as some editors write.
QByteArray wave(int rate, int channels, int frames, int claimed, int bits = 16)
{
    const int block = channels * bits / 8;
    QByteArray fmt = QByteArray::fromHex("0100") + QByteArray(1, char(channels)) + QByteArray(1, '\0');
    fmt += le32(quint32(rate)) + le32(quint32(rate * block));
    fmt += QByteArray(1, char(block)) + QByteArray(1, '\0') + QByteArray(1, char(bits)) + QByteArray(1, '\0');
    QByteArray samples;
    for (int i = 0; i < frames * channels; ++i)
        samples += QByteArray::fromHex("e803"); // 1000
    const QByteArray list = "INFOISFT" + le32(3) + "abc" + QByteArray(1, '\0');
    const QByteArray body = "WAVE" + QByteArray("fmt ") + le32(16) + fmt + "LIST" + le32(quint32(list.size())) + list
        + "data" + le32(quint32(claimed * block)) + samples;
    return "RIFF" + le32(quint32(body.size())) + body;
}
} // namespace

class TestQtSoundPlayer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void readWave_data();
    void readWave();
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

void TestQtSoundPlayer::readWave_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("samples"); // at the mixer's rate; 0 for no sound
    QTest::newRow("mono 22050") << wave(22050, 1, 2205, 2205) << 2205;
    QTest::newRow("stereo 44100 halves") << wave(44100, 2, 4410, 4410) << 2205;
    QTest::newRow("8000 Hz stretched") << wave(8000, 1, 800, 800) << 2205;
    QTest::newRow("header claims more than the file holds") << wave(22050, 1, 1000, 4000000) << 1000;
    QTest::newRow("8-bit is no sound of ours") << wave(22050, 1, 100, 100, 8) << 0;
    QTest::newRow("no data chunk") << QByteArray("RIFF\x04\0\0\0WAVE", 12) << 0;
    QTest::newRow("not a wave") << QByteArray(5000, 'x') << 0;
}

void TestQtSoundPlayer::readWave()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, samples);
    const QVector<qint16> got = QtSoundPlayer::readWave(write("w.wav", bytes));
    QCOMPARE(got.size(), samples);
    if (samples)
        QCOMPARE(got.first(), qint16(1000));
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
    QVERIFY(player.isPlayingOnce());
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(alarm), 10000);
    QVERIFY(!player.isPlayingOnce());
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
    QVERIFY(!player.isPlayingOnce());
    player.stopLoop();
    QTRY_VERIFY(!player.isPlaying(alarm));
    // A later single play is not looped.
    player.play(alarm);
    QTRY_VERIFY(player.isPlaying(alarm));
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(alarm), 10000);
}

QTEST_GUILESS_MAIN(TestQtSoundPlayer)
#include "tst_qt_sound_player.moc"
