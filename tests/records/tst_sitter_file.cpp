#include "records/sitter_file.h"

#include "support/file_faults.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

constexpr int kRec = SitterRecord::RecordLength;

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

QByteArray text(const QByteArray &t, int width)
{
    return t.left(width) + QByteArray(qMax(0, width - int(t.size())), ' ');
}

// A record laid out by hand, independent of SitterRecord's own encoder.
QByteArray rawRecord(qint16 number, const QByteArray &name, const QByteArray &phone = {}, const QByteArray &wage = {},
                     const QByteArray &info = {})
{
    QByteArray r;
    r.append(char(number & 0xff)).append(char((number >> 8) & 0xff));
    r += text(name, 255) + text(phone, 14) + text("", 255) + text("", 10) + text(wage, 10) + text("", 10)
        + text(info, 255);
    return r;
}

QByteArray names(const QStringList &list)
{
    QByteArray out;
    for (int i = 0; i < list.size(); ++i)
        out += rawRecord(qint16(i + 1), list[i].toLatin1());
    return out;
}

SitterRecord sitter(const QString &name, const QString &phone = {})
{
    SitterRecord rec;
    rec.setField(SitterRecord::SitterName, name);
    rec.setField(SitterRecord::Phone, phone);
    return rec;
}

// Writes part of the first record it is given, then fails, as a full disk does.
class FailingFile : public QFile
{
public:
    using QFile::QFile;
    int failuresLeft = 1;

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (failuresLeft <= 0)
            return QFile::writeData(data, len);
        --failuresLeft;
        QFile::writeData(data, len / 2);
        return -1;
    }
};

} // namespace

class TestSitterFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void handMadeFileReads();
    void countIgnoresPartialRecord_data();
    void countIgnoresPartialRecord();
    void writtenBytesFollowTheLayout();
    void addReusesLowestErasedSlot_data();
    void addReusesLowestErasedSlot();
    void updateInPlaceAndErase();
    void writeOutOfRangeFails_data();
    void writeOutOfRangeFails();
    void findName_data();
    void findName();
    void failedWriteLeavesFileAsItWas_data();
    void failedWriteLeavesFileAsItWas();
    void pathThatIsAFolderFails();
    void tooManyRecords();
    void pipeIsRefusedWithoutWaiting();
    void newFileIsPrivate();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestSitterFile::init()
{
    m_path = m_dir.filePath(QStringLiteral("%1-%2.brw")
                                .arg(QLatin1String(QTest::currentTestFunction()),
                                     QString::fromUtf8(QTest::currentDataTag()).replace(' ', '_')));
    QFile::remove(m_path);
}

void TestSitterFile::handMadeFileReads()
{
    // Three records, the second erased, a Windows-1252 byte, and 78 bytes of a torn fourth one.
    QByteArray bytes = rawRecord(1, "Ann Smith", "555-0101", "12.50", "Walks the dog \xE9t\xE9 \x80")
        + rawRecord(2, "Erased") + rawRecord(3, "smithers", "555-0103");
    bytes += QByteArray(78, 'x');
    writeRaw(m_path, bytes);

    SitterRecord rec;
    SitterFile::Outcome out = SitterFile::read(m_path, 1, rec);
    QVERIFY(out.ok());
    QCOMPARE(out.count, 3);
    QCOMPARE(rec.Number, qint16(1));
    QCOMPARE(rec.trimmed(SitterRecord::SitterName), QStringLiteral("Ann Smith"));
    QCOMPARE(rec.trimmed(SitterRecord::Phone), QStringLiteral("555-0101"));
    QCOMPARE(rec.trimmed(SitterRecord::Wage), QStringLiteral("12.50"));
    QCOMPARE(rec.trimmed(SitterRecord::Info), QStringLiteral("Walks the dog été €"));
    QCOMPARE(rec.field(SitterRecord::SitterName).size(), 255);

    QVERIFY(SitterFile::read(m_path, 2, rec).ok());
    QVERIFY(rec.isErased());
    QVERIFY(SitterFile::read(m_path, 3, rec).ok());
    QCOMPARE(rec.trimmed(SitterRecord::SitterName), QStringLiteral("smithers"));

    // Past the end nothing is read and the buffer keeps what it held.
    QCOMPARE(SitterFile::read(m_path, 4, rec).status, SitterFile::Status::NoRecord);
    QCOMPARE(rec.trimmed(SitterRecord::SitterName), QStringLiteral("smithers"));
    QCOMPARE(readAll(m_path), bytes);
}

void TestSitterFile::countIgnoresPartialRecord_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("count");
    QTest::newRow("missing") << -1 << 0;
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("two") << 1622 << 2;
    QTest::newRow("two and a piece") << 1700 << 2;
}

void TestSitterFile::countIgnoresPartialRecord()
{
    QFETCH(int, size);
    QFETCH(int, count);
    if (size >= 0)
        writeRaw(m_path, QByteArray(size, ' '));
    SitterRecord rec;
    QCOMPARE(SitterFile::read(m_path, 1, rec).count, count);
    // A missing file is created empty on first use.
    QCOMPARE(QFileInfo(m_path).size(), qint64(qMax(size, 0)));
}

void TestSitterFile::writtenBytesFollowTheLayout()
{
    SitterRecord rec;
    rec.setField(SitterRecord::SitterName, "  Zoë Ng ");
    rec.setField(SitterRecord::Phone, "555-0199 ext 12345"); // 18 characters, cut to 14
    rec.setField(SitterRecord::Wage, "9.75");
    rec.setField(SitterRecord::Info, QString(300, 'n'));
    QVERIFY(SitterFile::add(m_path, rec).ok());

    QByteArray expected = rawRecord(1, "Zo\xEB Ng", "555-0199 ext 1", "9.75", QByteArray(255, 'n'));
    QCOMPARE(readAll(m_path), expected);
    // The name was trimmed when set, and the stored form round-trips through the file.
    SitterRecord back;
    QVERIFY(SitterFile::read(m_path, 1, back).ok());
    QCOMPARE(back.field(SitterRecord::SitterName), rec.field(SitterRecord::SitterName));
    QCOMPARE(back.trimmed(SitterRecord::SitterName), QStringLiteral("Zoë Ng"));
}

void TestSitterFile::addReusesLowestErasedSlot_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<int>>("places");
    QTest::addColumn<qint64>("sizeAfter");
    QTest::newRow("empty file") << QByteArray() << QList<int>{1, 2} << qint64(2 * kRec);
    QTest::newRow("second erased") << names({"Ann", "Erased", "Bob"}) << QList<int>{2, 4} << qint64(4 * kRec);
    QTest::newRow("lowest first") << names({"Erased", "Ann", "  Erased  "}) << QList<int>{1, 3, 4} << qint64(4 * kRec);
    QTest::newRow("case counts") << names({"erased", "ERASED", "Erased!"}) << QList<int>{4} << qint64(4 * kRec);
    QTest::newRow("partial tail overwritten")
        << names({"Ann", "Bob"}) + QByteArray(78, 'x') << QList<int>{3} << qint64(3 * kRec);
}

void TestSitterFile::addReusesLowestErasedSlot()
{
    QFETCH(QByteArray, before);
    QFETCH(QList<int>, places);
    QFETCH(qint64, sizeAfter);
    writeRaw(m_path, before);
    for (int i = 0; i < places.size(); ++i) {
        const SitterFile::Outcome out = SitterFile::add(m_path, sitter(QStringLiteral("New %1").arg(i)));
        QVERIFY(out.ok());
        QCOMPARE(out.number, places[i]);
        SitterRecord rec;
        QVERIFY(SitterFile::read(m_path, places[i], rec).ok());
        QCOMPARE(rec.Number, qint16(places[i]));
        QCOMPARE(rec.trimmed(SitterRecord::SitterName), QStringLiteral("New %1").arg(i));
    }
    QCOMPARE(QFileInfo(m_path).size(), sizeAfter);
    // Records that were not reused are untouched.
    const QByteArray after = readAll(m_path);
    for (int n = 1; n * kRec <= before.size(); ++n)
        if (!places.contains(n))
            QCOMPARE(after.mid((n - 1) * kRec, kRec), before.mid((n - 1) * kRec, kRec));
}

void TestSitterFile::updateInPlaceAndErase()
{
    const QByteArray before = names({"Ann", "Bob", "Cy"});
    writeRaw(m_path, before);
    QVERIFY(SitterFile::write(m_path, 2, sitter("Bobby", "555")).ok());
    QVERIFY(SitterFile::write(m_path, 3, SitterRecord::erased(3)).ok());
    const QByteArray after = readAll(m_path);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.left(kRec), before.left(kRec));
    QCOMPARE(after.mid(kRec, kRec), rawRecord(2, "Bobby", "555"));
    QCOMPARE(after.mid(2 * kRec), rawRecord(3, "Erased"));
}

void TestSitterFile::writeOutOfRangeFails_data()
{
    QTest::addColumn<int>("recordNo");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -1;
    QTest::newRow("gap past the end") << 4;
}

void TestSitterFile::writeOutOfRangeFails()
{
    QFETCH(int, recordNo);
    const QByteArray before = names({"Ann", "Bob"});
    writeRaw(m_path, before);
    QCOMPARE(SitterFile::write(m_path, recordNo, sitter("X")).status, SitterFile::Status::Error);
    QCOMPARE(readAll(m_path), before);
}

void TestSitterFile::findName_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("found"); // 0: no match
    const QStringList people = {"S. Mith", "Ann Smith", "Erased", "smithers", "   "};
    QTest::newRow("SMI skips S. Mith") << people << "SMI" << 1 << 2;
    QTest::newRow("continues after a match") << people << " smi " << 3 << 4;
    QTest::newRow("nothing after the last") << people << "smi" << 5 << 0;
    QTest::newRow("Erased is a name like any") << people << "erased" << 1 << 3;
    QTest::newRow("empty text skips blank names") << QStringList{"  ", "Cy"} << "" << 1 << 2;
    QTest::newRow("not there") << people << "zed" << 1 << 0;
    QTest::newRow("upper case beyond ASCII") << QStringList{"Al", "Élise"} << "éli" << 1 << 2;
    QTest::newRow("text outside the code page") << people << "Ωsmi" << 1 << 0;
    QTest::newRow("empty file") << QStringList{} << "a" << 1 << 0;
}

void TestSitterFile::findName()
{
    QFETCH(QStringList, list);
    QFETCH(QString, search);
    QFETCH(int, from);
    QFETCH(int, found);
    QByteArray bytes;
    for (int i = 0; i < list.size(); ++i)
        bytes += rawRecord(qint16(i + 1), list[i].toLatin1());
    writeRaw(m_path, bytes);
    const SitterFile::Outcome out = SitterFile::findName(m_path, search, from);
    QCOMPARE(out.status, found ? SitterFile::Status::Ok : SitterFile::Status::NotFound);
    if (found)
        QCOMPARE(out.number, found);
}

void TestSitterFile::failedWriteLeavesFileAsItWas_data()
{
    QTest::addColumn<int>("recordNo"); // 0: add
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("update") << 2 << names({"Ann", "Bob", "Cy"});
    QTest::newRow("add into erased slot") << 0 << names({"Ann", "Erased", "Cy"});
    QTest::newRow("append") << 0 << names({"Ann", "Bob"});
    QTest::newRow("append over partial tail") << 0 << names({"Ann"}) + QByteArray(100, 'x');
}

void TestSitterFile::failedWriteLeavesFileAsItWas()
{
    QFETCH(int, recordNo);
    QFETCH(QByteArray, before);
    writeRaw(m_path, before);
    FailingFile file(m_path);
    const SitterFile::Outcome out
        = recordNo ? SitterFile::write(file, recordNo, sitter("Zed")) : SitterFile::add(file, sitter("Zed"));
    QCOMPARE(out.status, SitterFile::Status::Error);
    QVERIFY(out.errorCode != 0);
    QCOMPARE(file.failuresLeft, 0);
    QCOMPARE(readAll(m_path), before);
}

void TestSitterFile::pathThatIsAFolderFails()
{
    QVERIFY(QDir().mkpath(m_path));
    SitterRecord rec = sitter("Kept");
    QCOMPARE(SitterFile::read(m_path, 1, rec).status, SitterFile::Status::Error);
    QCOMPARE(rec.trimmed(SitterRecord::SitterName), QStringLiteral("Kept"));
    QCOMPARE(SitterFile::write(m_path, 1, rec).status, SitterFile::Status::Error);
    QCOMPARE(SitterFile::add(m_path, rec).status, SitterFile::Status::Error);
    const SitterFile::Outcome search = SitterFile::findName(m_path, "K", 1);
    QCOMPARE(search.status, SitterFile::Status::Error);
    QVERIFY(search.errorCode != 0);
}

void TestSitterFile::tooManyRecords()
{
    // Sparse files: all-zero records, none of them erased.
    {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(SitterRecord::MaxRecords) * kRec));
    }
    const SitterFile::Outcome full = SitterFile::add(m_path, sitter("One too many"));
    QCOMPARE(full.status, SitterFile::Status::Full);
    QCOMPARE(QFileInfo(m_path).size(), qint64(SitterRecord::MaxRecords) * kRec);
    QVERIFY(SitterFile::write(m_path, SitterRecord::MaxRecords, sitter("Last")).ok());

    {
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(qint64(SitterRecord::MaxRecords + 1) * kRec));
    }
    const QByteArray before = readAll(m_path);
    SitterRecord rec;
    QCOMPARE(SitterFile::read(m_path, 1, rec).status, SitterFile::Status::TooLarge);
    QCOMPARE(SitterFile::write(m_path, 1, sitter("X")).status, SitterFile::Status::TooLarge);
    QCOMPARE(SitterFile::add(m_path, sitter("X")).status, SitterFile::Status::TooLarge);
    QCOMPARE(SitterFile::findName(m_path, "X", 1).status, SitterFile::Status::TooLarge);
    QCOMPARE(readAll(m_path), before);
}

void TestSitterFile::pipeIsRefusedWithoutWaiting()
{
    QVERIFY(makeFifo(m_path));
    QList<SitterFile::Status> statuses;
    SitterRecord rec;
    QVERIFY2(finishesWithin(m_path, 3000,
                            [&] {
                                statuses << SitterFile::read(m_path, 1, rec).status
                                         << SitterFile::findName(m_path, QString(), 1).status
                                         << SitterFile::nextSlot(m_path).status << SitterFile::add(m_path, rec).status
                                         << SitterFile::write(m_path, 1, rec).status;
                            }),
             "blocked on the pipe");
    QCOMPARE(statuses.size(), 5);
    for (SitterFile::Status status : statuses)
        QCOMPARE(status, SitterFile::Status::Error);
}

void TestSitterFile::newFileIsPrivate()
{
    const mode_t oldMask = umask(022);
    const auto restore = qScopeGuard([&] { umask(oldMask); });
    const auto ownerView = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    const auto privateMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    SitterRecord rec;
    QCOMPARE(SitterFile::read(m_path, 1, rec).status, SitterFile::Status::NoRecord);
    QCOMPARE(QFile::permissions(m_path) & ~ownerView, privateMode);
    QVERIFY(QFile::remove(m_path));
    QVERIFY(SitterFile::add(m_path, rec).ok());
    QCOMPARE(QFile::permissions(m_path) & ~ownerView, privateMode);
}

QTEST_APPLESS_MAIN(TestSitterFile)
#include "tst_sitter_file.moc"
