#include "records/info_file.h"

#include "support/file_faults.h"

#include <QtTest>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray block(char fill)
{
    return QByteArray(InfoRecord::RecordLength, fill);
}

InfoRecord sample(const QString &where)
{
    InfoRecord rec;
    rec.RecordNo = 1;
    rec.setField(InfoRecord::WeAreAt, where);
    rec.setField(InfoRecord::PolicePhone, QStringLiteral("911"));
    rec.setStored(InfoRecord::FriendsAllowed, QStringLiteral("Yes"));
    return rec;
}

// Root writes through permission bits; taking the override capabilities out of the effective set
// lets a test run as root see a read-only file the way a desktop user does.
class PermissionChecksOn
{
public:
    PermissionChecksOn()
    {
        if (geteuid() != 0)
            return;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        m_dropped = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~PermissionChecksOn()
    {
        if (m_dropped)
            syscall(SYS_capset, &m_header, m_saved);
    }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2] = {};
    bool m_dropped = false;
};

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class TestInfoFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void missingFileIsCreatedEmpty();
    void shortFileReadsEmptyAndStaysUntouched_data();
    void shortFileReadsEmptyAndStaysUntouched();
    void unreadableLeavesRecordAlone();
    void firstSave();
    void saveKeepsOtherBytes();
    void saveKeepsPermissions();
    void lockedFileFailsAndIsUnchanged_data();
    void lockedFileFailsAndIsUnchanged();
    void fullDiskFailsAndKeepsOldFile_data();
    void fullDiskFailsAndKeepsOldFile();
    void pipeIsRefusedWithoutWaiting();
    void newFileIsPrivate();

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QString m_path;
};

void TestInfoFile::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("Hushby.dta"));
}

void TestInfoFile::missingFileIsCreatedEmpty()
{
    InfoRecord out = sample(QStringLiteral("left over"));
    QCOMPARE(InfoFile::read(m_path, 1, out), InfoFile::ReadResult::NoRecord);
    QVERIFY(QFileInfo(m_path).isFile());
    QCOMPARE(QFileInfo(m_path).size(), 0);
    for (int f = 1; f <= InfoRecord::FieldCount; ++f)
        QVERIFY(out.trimmed(f).isEmpty());
}

void TestInfoFile::shortFileReadsEmptyAndStaysUntouched_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("recordNo");
    QTest::newRow("100 bytes") << QByteArray(100, 'x') << 1;
    QTest::newRow("one byte short") << block('x').chopped(1) << 1;
    QTest::newRow("record 2 of a one-record file") << block('x') << 2;
}

void TestInfoFile::shortFileReadsEmptyAndStaysUntouched()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, recordNo);
    writeRaw(m_path, contents);
    InfoRecord out = sample(QStringLiteral("left over"));
    QCOMPARE(InfoFile::read(m_path, recordNo, out), InfoFile::ReadResult::NoRecord);
    QVERIFY(out.trimmed(InfoRecord::WeAreAt).isEmpty());
    QCOMPARE(readAll(m_path), contents);
}

void TestInfoFile::unreadableLeavesRecordAlone()
{
    const InfoRecord before = sample(QStringLiteral("kept"));
    const QStringList paths = {m_dir->path(), m_dir->filePath(QStringLiteral("no such folder/Hushby.dta"))};
    for (const QString &path : paths) {
        InfoRecord out = before;
        QString error;
        QCOMPARE(InfoFile::read(path, 1, out, &error), InfoFile::ReadResult::Error);
        QVERIFY2(!error.isEmpty(), qPrintable(path));
        QCOMPARE(out.toBytes(), before.toBytes());
        QVERIFY(!InfoFile::write(path, 1, before, &error));
    }
    QVERIFY(QFileInfo(m_dir->path()).isDir());
}

void TestInfoFile::firstSave()
{
    InfoRecord ignored;
    QCOMPARE(InfoFile::read(m_path, 1, ignored), InfoFile::ReadResult::NoRecord);
    const InfoRecord rec = sample(QStringLiteral("Grandma's, 12 Elm St"));
    QString error;
    QVERIFY2(InfoFile::write(m_path, 1, rec, &error), qPrintable(error));
    const QByteArray bytes = readAll(m_path);
    QCOMPARE(bytes.size(), 5912);
    QCOMPARE(bytes.left(2), QByteArray("\x01\x00", 2));
    QCOMPARE(bytes.mid(5909), QByteArray("Yes"));

    InfoRecord back;
    QCOMPARE(InfoFile::read(m_path, 1, back), InfoFile::ReadResult::Ok);
    QCOMPARE(back.toBytes(), rec.toBytes());
    QCOMPARE(back.trimmed(InfoRecord::WeAreAt), QStringLiteral("Grandma's, 12 Elm St"));
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Hushby.dta"});
}

void TestInfoFile::saveKeepsOtherBytes()
{
    const QByteArray tail("trailing bytes");
    writeRaw(m_path, block('a') + block('b') + block('c') + tail);
    const InfoRecord rec = sample(QStringLiteral("second"));
    QVERIFY(InfoFile::write(m_path, 2, rec));
    QCOMPARE(readAll(m_path), block('a') + rec.toBytes() + block('c') + tail);

    // A record past the end: the gap reads as zero bytes, the earlier records stay.
    writeRaw(m_path, block('a'));
    QVERIFY(InfoFile::write(m_path, 3, rec));
    QCOMPARE(readAll(m_path), block('a') + QByteArray(InfoRecord::RecordLength, '\0') + rec.toBytes());

    // A truncated file is made whole by the next save.
    writeRaw(m_path, QByteArray(100, 'x'));
    QVERIFY(InfoFile::write(m_path, 1, rec));
    QCOMPARE(readAll(m_path), rec.toBytes());
}

void TestInfoFile::saveKeepsPermissions()
{
    writeRaw(m_path, block('a'));
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(m_path, mode));
    QVERIFY(InfoFile::write(m_path, 1, sample(QStringLiteral("x"))));
    QCOMPARE(QFile::permissions(m_path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), mode);
}

void TestInfoFile::lockedFileFailsAndIsUnchanged_data()
{
    QTest::addColumn<QString>("lock");
    QTest::newRow("read-only file") << "file mode";
    QTest::newRow("immutable file") << "immutable";
    // The file is writable but no replacement can be made beside it: no falling back to
    // overwriting the file in place, which a crash could leave half-written.
    QTest::newRow("read-only folder") << "folder mode";
}

void TestInfoFile::lockedFileFailsAndIsUnchanged()
{
    QFETCH(QString, lock);
    const QByteArray old = sample(QStringLiteral("old")).toBytes();
    writeRaw(m_path, old);

    const bool immutable = lock == "immutable";
    const QString locked = lock == "folder mode" ? m_dir->path() : m_path;
    const auto folderMode = QFile::permissions(m_dir->path());
    if (immutable) {
        if (!run(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}))
            QSKIP("chattr +i is not available here (needs root on a file system with attributes)");
    } else {
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const auto unlock = qScopeGuard([&] {
        if (immutable)
            run(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        QFile::setPermissions(m_dir->path(), folderMode);
    });

    PermissionChecksOn checks;
    {
        QFile probe(lock == "folder mode" ? m_dir->filePath(QStringLiteral("probe")) : m_path);
        if (probe.open(QIODevice::WriteOnly | QIODevice::Append))
            QSKIP("this process writes despite permissions (cannot drop root's override capabilities)");
    }

    InfoRecord loaded;
    QCOMPARE(InfoFile::read(m_path, 1, loaded), InfoFile::ReadResult::Ok);
    QCOMPARE(loaded.trimmed(InfoRecord::WeAreAt), QStringLiteral("old"));

    QString error;
    QVERIFY(!InfoFile::write(m_path, 1, sample(QStringLiteral("new")), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(m_path), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Hushby.dta"});
}

void TestInfoFile::fullDiskFailsAndKeepsOldFile_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<int>("recordNo");
    QTest::addColumn<int>("room");
    QTest::newRow("one record, room for half") << block('a') << 1 << 3000;
    QTest::newRow("second record, room for one") << block('a') << 2 << 6000;
    QTest::newRow("first save, no room") << QByteArray() << 1 << 0;
}

void TestInfoFile::fullDiskFailsAndKeepsOldFile()
{
    QFETCH(QByteArray, old);
    QFETCH(int, recordNo);
    QFETCH(int, room);
    writeRaw(m_path, old);
    QString error;
    bool saved = true;
    {
        FileSizeLimit full(room);
        QVERIFY(full.ok());
        saved = InfoFile::write(m_path, recordNo, sample(QStringLiteral("new")), &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(m_path), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Hushby.dta"});
}

void TestInfoFile::pipeIsRefusedWithoutWaiting()
{
    QVERIFY(makeFifo(m_path));
    InfoRecord out = sample(QStringLiteral("kept"));
    InfoFile::ReadResult result = InfoFile::ReadResult::Ok;
    bool saved = true;
    QVERIFY2(finishesWithin(m_path, 3000,
                            [&] {
                                result = InfoFile::read(m_path, 1, out);
                                saved = InfoFile::write(m_path, 1, out);
                            }),
             "blocked on the pipe");
    QCOMPARE(result, InfoFile::ReadResult::Error);
    QCOMPARE(out.trimmed(InfoRecord::WeAreAt), QStringLiteral("kept"));
    QVERIFY(!saved);
}

void TestInfoFile::newFileIsPrivate()
{
    const auto privateMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto ownerBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    InfoRecord ignored;
    QCOMPARE(InfoFile::read(m_path, 1, ignored), InfoFile::ReadResult::NoRecord);
    QCOMPARE(QFile::permissions(m_path) & ~ownerBits, privateMode);
    QVERIFY(QFile::remove(m_path));
    QVERIFY(InfoFile::write(m_path, 1, sample(QStringLiteral("x"))));
    QCOMPARE(QFile::permissions(m_path) & ~ownerBits, privateMode);
}

QTEST_GUILESS_MAIN(TestInfoFile)
#include "tst_info_file.moc"
