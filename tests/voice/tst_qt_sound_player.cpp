#include "voice/qt_sound_player.h"

#include <QElapsedTimer>
#include <QFile>
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

// A 16-bit mono 8000 Hz wave of the given length, with an extra chunk before the data as
// some editors write.
QByteArray waveWithListChunk(int ms)
{
    const quint32 dataBytes = quint32(8000 * 2 * ms / 1000);
    QByteArray fmt;
    fmt += QByteArray::fromHex("01000100"); // PCM, mono
    fmt += le32(8000) + le32(16000) + QByteArray::fromHex("02001000");
    QByteArray list = "INFOISFT" + le32(3) + "abc" + QByteArray(1, '\0');
    QByteArray body = "WAVE" + QByteArray("fmt ") + le32(16) + fmt + "LIST" + le32(quint32(list.size()))
        + list + "data" + le32(dataBytes) + QByteArray(int(dataBytes), '\0');
    return "RIFF" + le32(quint32(body.size())) + body;
}
} // namespace

class TestQtSoundPlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void waveDurationFromHeader_data();
    void waveDurationFromHeader();
    void playToEndWaitsEvenWhenNothingPlays_data();
    void playToEndWaitsEvenWhenNothingPlays();
    void playToEndLastsTheSoundsLength();
    void playReturnsAtOnce();

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
        return {};
    return f.fileName();
}

void TestQtSoundPlayer::waveDurationFromHeader_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("ms");
    QTest::newRow("push") << resource("push.wav") << 60;
    QTest::newRow("bink") << resource("bink.wav") << 119;
    QTest::newRow("flash") << resource("flash.wav") << 249;
    QTest::newRow("alarm") << resource("alarm.wav") << 1200;
    QTest::newRow("extra chunk before data") << write("list.wav", waveWithListChunk(300)) << 300;
    QByteArray truncated = waveWithListChunk(300);
    truncated.truncate(30);
    QTest::newRow("cut inside fmt") << write("cut.wav", truncated) << -1;
    QTest::newRow("not a wave") << write("text.wav", "hello, this is not a wave file at all") << -1;
    QTest::newRow("missing") << m_dir.filePath("none.wav") << -1;
}

void TestQtSoundPlayer::waveDurationFromHeader()
{
    QFETCH(QString, path);
    QFETCH(int, ms);
    QCOMPARE(QtSoundPlayer::waveDurationMs(path), ms);
}

void TestQtSoundPlayer::playToEndWaitsEvenWhenNothingPlays_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << m_dir.filePath("none.wav");
    QTest::newRow("not a wave") << write("junk.wav", QByteArray(5000, 'x'));
}

void TestQtSoundPlayer::playToEndWaitsEvenWhenNothingPlays()
{
    QFETCH(QString, path);
    QtSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    player.playToEnd(path);
    // An alarm loop around this call must not spin: about a second per round.
    QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));
}

void TestQtSoundPlayer::playToEndLastsTheSoundsLength()
{
    // With a device the sound plays to its end; without one the player still waits its length.
    QtSoundPlayer player;
    for (int round = 0; round < 2; ++round) { // the second round uses the cached effect
        QElapsedTimer clock;
        clock.start();
        player.playToEnd(resource("alarm.wav"));
        QVERIFY2(clock.elapsed() >= 1150, qPrintable(QString::number(clock.elapsed())));
    }
}

void TestQtSoundPlayer::playReturnsAtOnce()
{
    QtSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    player.play(resource("alarm.wav"));
    player.play(m_dir.filePath("none.wav"));
    // Waiting for the sound would take at least its length.
    const int length = QtSoundPlayer::waveDurationMs(resource("alarm.wav"));
    QVERIFY(length > 0);
    QVERIFY2(clock.elapsed() < length, qPrintable(QString("%1 of %2 ms").arg(clock.elapsed()).arg(length)));
}

QTEST_GUILESS_MAIN(TestQtSoundPlayer)
#include "tst_qt_sound_player.moc"
