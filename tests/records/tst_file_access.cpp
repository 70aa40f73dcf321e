#include "records/file_access.h"

#include "support/file_faults.h"

#include <QtTest>

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

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_file_access.moc"
