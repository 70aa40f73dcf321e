#include "records/file_access.h"

#include "support/file_faults.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestFileAccess : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void copyCutShortLeavesNoFile();
    void madeFilesAndFoldersArePrivate();
    void staleSavesAreRemoved_data();
    void staleSavesAreRemoved();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestFileAccess::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void TestFileAccess::copyCutShortLeavesNoFile()
{
    const QString from = m_dir->filePath(QStringLiteral("shipped.txt"));
    const QString to = m_dir->filePath(QStringLiteral("words.txt"));
    writeRaw(from, QByteArray(4000, 'w'));
    QString error;
    bool copied = true;
    {
        FileSizeLimit full(1000);
        QVERIFY(full.ok());
        copied = FileAccess::copyWhole(from, to, &error);
    }
    QVERIFY(!copied);
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFileInfo::exists(to));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"shipped.txt"});
    QVERIFY2(FileAccess::copyWhole(from, to, &error), qPrintable(error));
    QCOMPARE(QFileInfo(to).size(), 4000);
}

void TestFileAccess::madeFilesAndFoldersArePrivate()
{
    const mode_t oldMask = umask(022);
    const auto restore = qScopeGuard([&] { umask(oldMask); });
    const auto ownerView = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    const auto modeOf = [&](const QString &path) { return QFile::permissions(path) & ~ownerView; };

    const QString folder = m_dir->filePath(QStringLiteral("a/data"));
    QVERIFY(FileAccess::makeFolder(folder));
    QCOMPARE(modeOf(folder), FileAccess::PrivateFolder);
    const QString shared = m_dir->filePath(QStringLiteral("shared"));
    QVERIFY(QDir().mkdir(shared,
                         QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                             | QFileDevice::ReadOther | QFileDevice::ExeOther));
    QVERIFY(FileAccess::makeFolder(shared));
    QVERIFY(modeOf(shared) & QFileDevice::ReadOther); // an existing folder is left as it is

    const QString saved = QDir(folder).filePath(QStringLiteral("saved"));
    QVERIFY(FileAccess::saveWhole(saved, "x"));
    QCOMPARE(modeOf(saved), FileAccess::PrivateFile);
    const QString copied = QDir(folder).filePath(QStringLiteral("copied"));
    QVERIFY(FileAccess::copyWhole(saved, copied));
    QCOMPARE(modeOf(copied), FileAccess::PrivateFile);
    const QString made = QDir(folder).filePath(QStringLiteral("made"));
    QVERIFY(FileAccess::createPrivate(made));
    QCOMPARE(modeOf(made), FileAccess::PrivateFile);
    const QString openedPath = QDir(folder).filePath(QStringLiteral("opened"));
    QFile opened(openedPath);
    QVERIFY(FileAccess::openRegular(opened, QIODevice::ReadWrite));
    QCOMPARE(modeOf(openedPath), FileAccess::PrivateFile);

    // A save over a file the user opened up keeps its mode.
    const auto readable = FileAccess::PrivateFile | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(saved, readable));
    QVERIFY(FileAccess::saveWhole(saved, "y"));
    QCOMPARE(modeOf(saved), readable);
}

void TestFileAccess::staleSavesAreRemoved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ageSecs");
    QTest::addColumn<bool>("removed");
    QTest::newRow("left by a save") << "Hushby.dta.a1B2c3" << 60 << true;
    QTest::newRow("word list copy") << "words.txt.Z9zQ1x" << 60 << true;
    QTest::newRow("a copy the user named") << "Hushby.dta.backup" << 60 << false;
    QTest::newRow("a copy the user named, capitals") << "Hushby.dta.BACKUP" << 60 << false;
    QTest::newRow("a copy the user named, capitalised") << "Hushby.dta.Backup" << 60 << false;
    QTest::newRow("a save going on now") << "Hushby.dta.a1B2c3" << 0 << false;
    QTest::newRow("not six letters") << "Hushby.dta.a1B2c" << 60 << false;
    QTest::newRow("not letters or digits") << "Hushby.dta.a1B2-3" << 60 << false;
    QTest::newRow("a file of the user's") << "Hushby.dta.bak" << 60 << false;
    QTest::newRow("another program's file") << "notes.txt.a1B2c3" << 60 << false;
    QTest::newRow("the file itself") << "Hushby.dta" << 60 << false;
}

void TestFileAccess::staleSavesAreRemoved()
{
    QFETCH(QString, name);
    QFETCH(int, ageSecs);
    QFETCH(bool, removed);
    const QString path = m_dir->filePath(name);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write("partial") == 7 && f.flush());
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSecs), QFileDevice::FileModificationTime));
    }
    const QString folderLikeOne = m_dir->filePath(QStringLiteral("Hushby.dta.Folder"));
    QVERIFY(QDir().mkdir(folderLikeOne));
    const int count
        = FileAccess::removeStaleSaves(m_dir->path(), {QStringLiteral("Hushby.dta"), QStringLiteral("words.txt")});
    QCOMPARE(count, removed ? 1 : 0);
    QCOMPARE(QFileInfo::exists(path), !removed);
    QVERIFY(QFileInfo(folderLikeOne).isDir());
}

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_file_access.moc"
