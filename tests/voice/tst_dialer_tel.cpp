#include "voice/dialer_tel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A desktop set up from scratch in a temporary folder: its own XDG folders, and a tel: handler
// whose program only records the arguments it was started with.
class TestDialerTel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void handlerGetsTheNumber_data();
    void handlerGetsTheNumber();
    void noHandler_data();
    void noHandler();
    void numberWithoutDigits();
    void expandExec_data();
    void expandExec();

private:
    void write(const QString &relPath, const QByteArray &text);
    QString recorderDesktopEntry(const QString &mimeType = QString());
    QProcessEnvironment environment() const;
    QStringList recorded();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDialerTel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // The recorder lives in a folder with a blank in its name, as programs sometimes do.
    write("bin dir/record-call",
          "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
          "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
    QFile::setPermissions(m_dir->filePath("bin dir/record-call"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestDialerTel::write(const QString &relPath, const QByteArray &text)
{
    const QString path = m_dir->filePath(relPath);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QString TestDialerTel::recorderDesktopEntry(const QString &mimeType)
{
    QString text = "[Desktop Entry]\nType=Application\nName=Recorder\nExec=\"" + m_dir->filePath("bin dir/record-call")
        + "\" --dial %u\n";
    if (!mimeType.isEmpty())
        text += "MimeType=" + mimeType + "\n";
    return text;
}

QProcessEnvironment TestDialerTel::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", m_dir->filePath("home"));
    env.insert("XDG_CONFIG_HOME", m_dir->filePath("config"));
    env.insert("XDG_CONFIG_DIRS", m_dir->filePath("etc-xdg"));
    env.insert("XDG_DATA_HOME", m_dir->filePath("data"));
    env.insert("XDG_DATA_DIRS", m_dir->filePath("share"));
    env.remove("XDG_CURRENT_DESKTOP");
    return env;
}

QStringList TestDialerTel::recorded()
{
    const QString path = m_dir->filePath("bin dir/args.txt");
    if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 5000))
        return {"(the handler was not started)"};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {"(unreadable)"};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// setup: how the recorder is registered. "default": named in the user's mimeapps.list;
// "system default": in a system-wide one; "declared": its own MimeType line only;
// "stale default": the user's default names an application that is gone.
void TestDialerTel::handlerGetsTheNumber_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("args");

    QTest::newRow("user default") << "default"
                                  << "555 0100" << QStringList{"--dial", "tel:5550100"};
    QTest::newRow("system default, vendor subfolder") << "system default"
                                                      << "+1 555 0100" << QStringList{"--dial", "tel:+15550100"};
    QTest::newRow("declared by the application") << "declared"
                                                 << "5550100" << QStringList{"--dial", "tel:5550100"};
    QTest::newRow("stale default falls back") << "stale default"
                                              << "5550100" << QStringList{"--dial", "tel:5550100"};
    QTest::newRow("stored text cannot add arguments")
        << "default"
        << "555 0100 #2 --help; rm -rf ~" << QStringList{"--dial", "tel:5550100%232"};
}

void TestDialerTel::handlerGetsTheNumber()
{
    QFETCH(QString, setup);
    QFETCH(QString, number);
    QFETCH(QStringList, args);

    const QByteArray entry = recorderDesktopEntry().toUtf8();
    if (setup == "default") {
        write("data/applications/recorder.desktop", entry);
        write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/tel=recorder.desktop;\n");
    } else if (setup == "system default") {
        write("share/applications/acme/recorder.desktop", entry);
        write("etc-xdg/mimeapps.list", "[Default Applications]\nx-scheme-handler/tel=acme-recorder.desktop\n");
    } else if (setup == "declared") {
        write("share/applications/recorder.desktop", recorderDesktopEntry("text/plain;x-scheme-handler/tel;").toUtf8());
    } else if (setup == "stale default") {
        write("config/mimeapps.list",
              "[Default Applications]\nx-scheme-handler/tel=gone.desktop;\n"
              "[Added Associations]\nx-scheme-handler/tel=recorder.desktop;\n");
        write("data/applications/recorder.desktop", entry);
    }

    TelDialer dialer(environment());
    QCOMPARE(dialer.requestMakeCall(number, "Hushby", "Dialing", ""), 0);
    QCOMPARE(recorded(), args);
}

void TestDialerTel::noHandler_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("nothing registered") << "none";
    QTest::newRow("only for other types") << "other";
    QTest::newRow("handler hidden by the user") << "hidden";
    QTest::newRow("association removed") << "removed";
    QTest::newRow("program missing") << "missing";
}

void TestDialerTel::noHandler()
{
    QFETCH(QString, setup);
    if (setup == "other") {
        write("share/applications/recorder.desktop", recorderDesktopEntry("x-scheme-handler/mailto;").toUtf8());
    } else if (setup == "hidden") {
        write("share/applications/recorder.desktop", recorderDesktopEntry("x-scheme-handler/tel;").toUtf8());
        write("data/applications/recorder.desktop", "[Desktop Entry]\nHidden=true\n");
    } else if (setup == "removed") {
        write("share/applications/recorder.desktop", recorderDesktopEntry("x-scheme-handler/tel;").toUtf8());
        write("config/mimeapps.list", "[Removed Associations]\nx-scheme-handler/tel=recorder.desktop;\n");
    } else if (setup == "missing") {
        write("data/applications/nothing.desktop",
              "[Desktop Entry]\nType=Application\nExec=" + m_dir->filePath("no-such-program").toUtf8()
                  + " %u\nMimeType=x-scheme-handler/tel;\n");
    }

    TelDialer dialer(environment());
    QCOMPARE(dialer.requestMakeCall("5550100", "Hushby", "Dialing", ""), -2);
    QTest::qWait(100);
    QVERIFY(!QFile::exists(m_dir->filePath("bin dir/args.txt")));
}

void TestDialerTel::numberWithoutDigits()
{
    write("data/applications/recorder.desktop", recorderDesktopEntry("x-scheme-handler/tel;").toUtf8());
    TelDialer dialer(environment());
    QCOMPARE(dialer.requestMakeCall("", "Hushby", "Dialing", ""), -4);
    QCOMPARE(dialer.requestMakeCall("call me", "Hushby", "Dialing", ""), -4);
    QTest::qWait(100);
    QVERIFY(!QFile::exists(m_dir->filePath("bin dir/args.txt")));
}

void TestDialerTel::expandExec_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("args");
    const QString uri = "tel:5550100";

    QTest::newRow("plain") << "dialer %u" << QStringList{"dialer", uri};
    QTest::newRow("list code, other codes dropped") << "dialer --icon %i %U %f" << QStringList{"dialer", "--icon", uri};
    QTest::newRow("quoted program and escapes")
        << R"("/opt/my apps/dial" "say \"hi\"" %u)" << QStringList{"/opt/my apps/dial", "say \"hi\"", uri};
    QTest::newRow("code inside an argument") << "dialer --to=%u" << QStringList{"dialer", "--to=" + uri};
    QTest::newRow("literal percent") << "dialer 100%% %u" << QStringList{"dialer", "100%", uri};
    QTest::newRow("no code: the number is added") << "dialer" << QStringList{"dialer", uri};
    QTest::newRow("unclosed quote") << R"("dialer %u)" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestDialerTel::expandExec()
{
    QFETCH(QString, exec);
    QFETCH(QStringList, args);
    QCOMPARE(TelDialer::expandExec(exec, "tel:5550100"), args);
}

QTEST_GUILESS_MAIN(TestDialerTel)
#include "tst_dialer_tel.moc"
