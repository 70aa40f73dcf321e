#include "records/password_file.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

int modeOf(const QString &path)
{
    struct stat st {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestPasswordFile : public QObject
{
    Q_OBJECT
private slots:
    void storedBytes_data();
    void storedBytes();
    void rewriteOverwritesRecordOne();
    void storable_data();
    void storable();
    void refusesWhatTheCodePageCannotHold();
    void foldersAndFilesArePrivate_data();
    void foldersAndFilesArePrivate();
    void failedWriteIsReported();
    void readLeavesRecordWithoutOne();
};

void TestPasswordFile::storedBytes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << "secret" << QByteArray("secret        ");
    QTest::newRow("blanks around") << "  secret  " << QByteArray("secret        ");
    QTest::newRow("blank inside kept") << "a b" << QByteArray("a b           ");
    QTest::newRow("16 cut to 14") << "abcdefghijklmnop" << QByteArray("abcdefghijklmn");
    QTest::newRow("empty") << "" << QByteArray(14, ' ');
    QTest::newRow("code page") << QString::fromUtf8("café€") << QByteArray("caf\xe9\x80         ");
}

void TestPasswordFile::storedBytes()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("pw/lghfil.brw");
    QVERIFY(PasswordFile::write(path, typed).ok);
    QCOMPARE(readAll(path), bytes);

    QByteArray record(PasswordFile::RecordLength, '\0');
    bool found = false;
    QVERIFY(PasswordFile::read(path, record, &found).ok);
    QVERIFY(found);
    QCOMPARE(PasswordFile::passwordOf(record), PasswordFile::fit(typed));
}

void TestPasswordFile::rewriteOverwritesRecordOne()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lghfil.brw");
    QVERIFY(PasswordFile::write(path, "a-much-longer-one").ok);
    QVERIFY(PasswordFile::write(path, "short").ok);
    QCOMPARE(readAll(path), QByteArray("short         "));
}

void TestPasswordFile::storable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("ascii") << "Hello 123!" << true;
    QTest::newRow("latin-1") << QString::fromUtf8("ÆØÅ ñ ß") << true;
    QTest::newRow("1252 extras") << QString::fromUtf8("€‚ƒ„…Œœ") << true;
    QTest::newRow("question mark") << "?" << true;
    QTest::newRow("cyrillic") << QString::fromUtf8("пароль") << false;
    QTest::newRow("emoji") << QString::fromUtf8("pw\U0001F600") << false;
}

void TestPasswordFile::storable()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QCOMPARE(PasswordFile::storable(text), ok);
}

void TestPasswordFile::refusesWhatTheCodePageCannotHold()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lghfil.brw");
    QVERIFY(PasswordFile::write(path, "old").ok);
    const PasswordFile::Outcome out = PasswordFile::write(path, QString::fromUtf8("пароль"));
    QVERIFY(!out.ok);
    QVERIFY(!out.error.isEmpty());
    QCOMPARE(readAll(path), QByteArray("old           "));
}

void TestPasswordFile::foldersAndFilesArePrivate_data()
{
    QTest::addColumn<bool>("existedWide");
    QTest::newRow("made fresh") << false;
    QTest::newRow("existed with wide modes") << true;
}

void TestPasswordFile::foldersAndFilesArePrivate()
{
    QFETCH(bool, existedWide);
    QTemporaryDir dir;
    const QString folder = dir.filePath("the-hushby");
    const QString path = folder + "/lghfil.brw";
    if (existedWide) {
        QVERIFY(QDir().mkpath(folder));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("previous      ");
        f.close();
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0777) == 0);
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
    }
    QVERIFY(PasswordFile::write(path, "pw").ok);
    QCOMPARE(modeOf(folder), 0700);
    QCOMPARE(modeOf(path), 0600);
}

void TestPasswordFile::failedWriteIsReported()
{
    QTemporaryDir dir;
    // A folder where the file should be: the open fails even for root.
    const QString path = dir.filePath("lghfil.brw");
    QVERIFY(QDir().mkpath(path));
    PasswordFile::Outcome out = PasswordFile::write(path, "pw");
    QVERIFY(!out.ok);
    QVERIFY(!out.error.isEmpty());

    // A file where the folder should be.
    QFile blocker(dir.filePath("notafolder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    out = PasswordFile::write(dir.filePath("notafolder/lghfil.brw"), "pw");
    QVERIFY(!out.ok);
    QVERIFY(!out.error.isEmpty());
}

void TestPasswordFile::readLeavesRecordWithoutOne()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lghfil.brw");
    QByteArray record(PasswordFile::RecordLength, '\0');
    bool found = true;
    QVERIFY(PasswordFile::read(path, record, &found).ok);
    QVERIFY(!found);

    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("short");
    f.close();
    QVERIFY(PasswordFile::read(path, record, &found).ok);
    QVERIFY(!found);
    QCOMPARE(record, QByteArray(PasswordFile::RecordLength, '\0'));
}

QTEST_GUILESS_MAIN(TestPasswordFile)
#include "tst_password_file.moc"
