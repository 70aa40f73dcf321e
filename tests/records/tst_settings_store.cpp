#include "records/settings_store.h"

#include "support/file_faults.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

bool &flag(SettingsFlags &f, const QString &key)
{
    if (key == "VoiceOn")
        return f.VoiceOn;
    if (key == "Talk")
        return f.TalkBack;
    if (key == "AutoDial")
        return f.AutoDial;
    if (key == "StartStop")
        return f.StartStop;
    if (key == "UsePassword")
        return f.UsePassword;
    if (key == "Use911")
        return f.Use911;
    return f.UseAlarm;
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void defaultPathFollowsXdgConfigHome();
    void emptyStoreGivesDefaults();
    void booleanKeys_data();
    void booleanKeys();
    void textRoundTrip_data();
    void textRoundTrip();
    void handEditedText_data();
    void handEditedText();
    void writersTouchOnlyTheirKeys();
    void fullDiskFailsAndKeepsOldFile();
    void firstSaveIsPrivate();

private:
    void writeIni(const QByteArray &settingsLines);
    QByteArray iniText() const;

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_ini;
    int m_edits = 0;
};

void TestSettingsStore::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    // The folder does not exist yet, as on a first run.
    m_ini = m_dir->filePath(QStringLiteral("The Hushby/The Hushby.ini"));
}

void TestSettingsStore::writeIni(const QByteArray &settingsLines)
{
    QVERIFY(QDir().mkpath(QFileInfo(m_ini).path()));
    QFile f(m_ini);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Settings]\n" + settingsLines + "\n");
    // The INI reader caches a file by path, time and size; an edit of the same size within the
    // same millisecond would go unseen, which only a test can manage to do.
    QVERIFY(f.flush());
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(++m_edits), QFileDevice::FileModificationTime));
}

QByteArray TestSettingsStore::iniText() const
{
    QFile f(m_ini);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestSettingsStore::defaultPathFollowsXdgConfigHome()
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        if (had)
            qputenv("XDG_CONFIG_HOME", saved);
        else
            qunsetenv("XDG_CONFIG_HOME");
    });

    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path()));
    QCOMPARE(SettingsStore::defaultPath(), m_dir->path() + "/The Hushby/The Hushby.ini");
    SettingsStore store;
    store.SaveOption(QStringLiteral("VoiceOn"), true);
    QVERIFY(QFileInfo::exists(m_dir->path() + "/The Hushby/The Hushby.ini"));

    qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(SettingsStore::defaultPath(), QDir::homePath() + "/.config/The Hushby/The Hushby.ini");
}

void TestSettingsStore::emptyStoreGivesDefaults()
{
    SettingsFlags f;
    f.FamilyName = QStringLiteral("stale");
    f.HomePhone = QStringLiteral("stale");
    f.VoiceOn = f.AutoDial = f.StartStop = f.UsePassword = f.Use911 = f.UseAlarm = true;
    f.TalkBack = false;
    SettingsStore(m_ini).LoadSettings(f);
    QCOMPARE(f.FamilyName, QString());
    QCOMPARE(f.HomePhone, QString());
    QCOMPARE(f.VoiceOn, false);
    QCOMPARE(f.TalkBack, true);
    QCOMPARE(f.AutoDial, false);
    QCOMPARE(f.StartStop, false);
    QCOMPARE(f.UsePassword, false);
    QCOMPARE(f.Use911, false);
    QCOMPARE(f.UseAlarm, false);
    QVERIFY(!QFileInfo::exists(m_ini)); // reading creates nothing
}

void TestSettingsStore::booleanKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("def");
    QTest::newRow("VoiceOn") << "VoiceOn" << false;
    QTest::newRow("Talk") << "Talk" << true;
    QTest::newRow("AutoDial") << "AutoDial" << false;
    QTest::newRow("StartStop") << "StartStop" << false;
    QTest::newRow("UsePassword") << "UsePassword" << false;
    QTest::newRow("Use911") << "Use911" << false;
    QTest::newRow("UseAlarm") << "UseAlarm" << false;
}

void TestSettingsStore::booleanKeys()
{
    QFETCH(QString, key);
    QFETCH(bool, def);
    SettingsStore store(m_ini);
    SettingsFlags f;

    // The opposite of the default, stored and read back through the field of that key only.
    store.SaveOption(key, !def);
    QCOMPARE(store.GetSetting(key, QString()), def ? QStringLiteral("False") : QStringLiteral("True"));
    store.LoadSettings(f);
    QCOMPARE(flag(f, key), !def);
    SettingsFlags expected;
    flag(expected, key) = !def;
    for (const QString &other :
         QStringList{"VoiceOn", "Talk", "AutoDial", "StartStop", "UsePassword", "Use911", "UseAlarm"})
        QCOMPARE(flag(f, other), flag(expected, other));

    // Text typed into the file by hand that is not exactly "True" or "False" reads as the default.
    for (const QByteArray &odd : {QByteArray("true"), QByteArray("FALSE"), QByteArray("1"), QByteArray("yes"),
                                  QByteArray("0"), QByteArray("")}) {
        writeIni(key.toLatin1() + "=" + (def ? QByteArray("False") : QByteArray("True")));
        store.LoadSettings(f);
        QCOMPARE(flag(f, key), !def);
        writeIni(key.toLatin1() + "=" + odd);
        store.LoadSettings(f);
        QVERIFY2(flag(f, key) == def, odd.constData());
    }
}

void TestSettingsStore::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Smith";
    QTest::newRow("comma") << "Smith, Jr";
    QTest::newRow("only commas") << ",,";
    QTest::newRow("quotes") << "The \"Best\" O'Neil";
    QTest::newRow("equals semicolon hash") << "a=b; c # d";
    QTest::newRow("brackets") << "[Settings]";
    QTest::newRow("backslash") << "C:\\temp\\x";
    QTest::newRow("outer blanks") << "  spaced  ";
    QTest::newRow("accents") << QStringLiteral("Ren\u00e9e Mu\u00f1oz");
    QTest::newRow("CJK and emoji") << QStringLiteral("\u65e5\u672c \U0001F600");
    QTest::newRow("at sign prefix") << "@Variant(junk)";
    QTest::newRow("boolean text") << "True";
    QTest::newRow("line break") << "two\nlines";
    QTest::newRow("empty") << "";
}

void TestSettingsStore::textRoundTrip()
{
    QFETCH(QString, text);
    SettingsStore(m_ini).SaveSetting(QStringLiteral("Name"), text);
    // A new store reads the file itself, as the next run would.
    QCOMPARE(SettingsStore(m_ini).GetSetting(QStringLiteral("Name"), QStringLiteral("missing")), text);
    SettingsFlags f;
    SettingsStore(m_ini).LoadSettings(f);
    QCOMPARE(f.FamilyName, text); // not trimmed on load
}

void TestSettingsStore::handEditedText_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");
    QTest::newRow("unquoted comma") << QByteArray("Name=Smith, Jr") << "Smith, Jr";
    QTest::newRow("quoted comma") << QByteArray("Name=\"Smith, Jr\"") << "Smith, Jr";
    QTest::newRow("UTF-8") << QByteArray("Name=Ren\xc3\xa9"
                                         "e")
                           << QStringLiteral("Ren\u00e9e");
    QTest::newRow("empty value") << QByteArray("Name=") << "";
    QTest::newRow("other key only") << QByteArray("name=lower case key") << "default";
}

void TestSettingsStore::handEditedText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    writeIni(line);
    QCOMPARE(SettingsStore(m_ini).GetSetting(QStringLiteral("Name"), QStringLiteral("default")), name);
}

void TestSettingsStore::writersTouchOnlyTheirKeys()
{
    writeIni("Use911=True\nUseAlarm=yes\nCustom=kept\nName=Old\n");
    SettingsStore store(m_ini);

    SettingsFlags f;
    f.FamilyName = QStringLiteral("Jones");
    f.HomePhone = QStringLiteral("555-0100");
    f.AutoDial = true; // not written by SaveFamilyInfo
    store.SaveFamilyInfo(f);
    store.SaveOption(QStringLiteral("AutoDial"), true);
    store.SaveOption(QStringLiteral("VoiceOn"), false);

    // Read with a separate reader: the writes are on disk already.
    QSettings raw(m_ini, QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("Settings"));
    QStringList keys = raw.childKeys();
    keys.sort();
    QCOMPARE(keys, QStringList({"AutoDial", "Custom", "HomePhone", "Name", "Use911", "UseAlarm", "VoiceOn"}));
    QCOMPARE(raw.value("Name").toString(), QStringLiteral("Jones"));
    QCOMPARE(raw.value("HomePhone").toString(), QStringLiteral("555-0100"));
    QCOMPARE(raw.value("AutoDial").toString(), QStringLiteral("True"));
    QCOMPARE(raw.value("VoiceOn").toString(), QStringLiteral("False"));
    QCOMPARE(raw.value("Use911").toString(), QStringLiteral("True"));
    QCOMPARE(raw.value("UseAlarm").toString(), QStringLiteral("yes"));
    QCOMPARE(raw.value("Custom").toString(), QStringLiteral("kept"));
    QVERIFY(iniText().contains("AutoDial=True"));
}

void TestSettingsStore::fullDiskFailsAndKeepsOldFile()
{
    writeIni("Name=Old\nHomePhone=555-0100\nUse911=True\n");
    const QByteArray old = iniText();
    SettingsStore store(m_ini);
    QCOMPARE(store.GetSetting(QStringLiteral("Name"), QString()), QStringLiteral("Old"));
    bool saved = true;
    {
        FileSizeLimit full(old.size() + 10);
        QVERIFY(full.ok());
        saved = store.SaveSetting(QStringLiteral("Name"), QString(200, QLatin1Char('n')));
    }
    QVERIFY(!saved);
    QCOMPARE(iniText(), old);
    QCOMPARE(store.GetSetting(QStringLiteral("HomePhone"), QString()), QStringLiteral("555-0100"));
    QCOMPARE(QDir(QFileInfo(m_ini).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"The Hushby.ini"});
    QVERIFY(store.SaveOption(QStringLiteral("Use911"), false));
}

void TestSettingsStore::firstSaveIsPrivate()
{
    const mode_t oldMask = umask(022);
    const auto restore = qScopeGuard([&] { umask(oldMask); });
    QVERIFY(SettingsStore(m_ini).SaveSetting(QStringLiteral("Name"), QStringLiteral("Jones")));
    const auto ownerView = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    QCOMPARE(QFile::permissions(m_ini) & ~ownerView, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(QFile::permissions(QFileInfo(m_ini).path()) & ~ownerView,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(iniText().contains("Name=Jones"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
