#include "core/settings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(SettingKey)

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void loadAnnouncesOnlyWhatDiffers();
    void writesAreStoredAndAnnouncedOnce_data();
    void writesAreStoredAndAnnouncedOnce();
    void everyKeyHasItsStoredName();
};

namespace {
QList<SettingKey> announced(const QSignalSpy &spy)
{
    QList<SettingKey> keys;
    for (const QList<QVariant> &args : spy)
        keys << args.at(0).value<SettingKey>();
    return keys;
}
} // namespace

void TestSettings::loadAnnouncesOnlyWhatDiffers()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("The Hushby.ini");
    SettingsStore store(ini);
    SettingsFlags flags;
    Settings settings(store, flags);
    QSignalSpy spy(&settings, &Settings::changed);

    settings.load();
    QVERIFY(spy.isEmpty()); // an empty file holds the defaults the flags start with

    {
        QSettings raw(ini, QSettings::IniFormat);
        raw.setValue("Settings/VoiceOn", "True");
        raw.setValue("Settings/Talk", "True"); // the default already
        raw.setValue("Settings/Name", "Lee");
        raw.setValue("Settings/Dialer", "modem");
    }
    settings.load();
    QCOMPARE(announced(spy), (QList<SettingKey>{SettingKey::Name, SettingKey::VoiceOn, SettingKey::Dialer}));
    QVERIFY(flags.VoiceOn);
    QCOMPARE(flags.FamilyName, QString("Lee"));
    QCOMPARE(settings.text(SettingKey::Dialer), QString("modem"));

    spy.clear();
    settings.load();
    QVERIFY(spy.isEmpty());
}

void TestSettings::writesAreStoredAndAnnouncedOnce_data()
{
    QTest::addColumn<SettingKey>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("flag on") << SettingKey::StartStop << "True"
                             << "True";
    QTest::newRow("flag to its default") << SettingKey::Talk << "False"
                                         << "False";
    QTest::newRow("odd text for a flag is off") << SettingKey::UsePassword << "yes"
                                                << "False";
    QTest::newRow("family name") << SettingKey::Name << "O'Neil & Sons"
                                 << "O'Neil & Sons";
    QTest::newRow("modem device") << SettingKey::ModemDevice << "/dev/ttyACM0"
                                  << "/dev/ttyACM0";
}

void TestSettings::writesAreStoredAndAnnouncedOnce()
{
    QFETCH(SettingKey, key);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("s.ini"));
    SettingsFlags flags;
    Settings settings(store, flags);
    settings.load();
    QSignalSpy spy(&settings, &Settings::changed);
    const QString before = settings.text(key);

    settings.setText(key, text);
    settings.setText(key, text);
    QCOMPARE(store.GetSetting(SettingKeys::name(key), "missing"), stored);
    QCOMPARE(settings.text(key), stored);
    QCOMPARE(announced(spy), before == stored ? QList<SettingKey>{} : QList<SettingKey>{key});

    // Another reader of the same file sees the same value.
    SettingsFlags other;
    Settings second(store, other);
    second.load();
    QCOMPARE(second.text(key), stored);
}

void TestSettings::everyKeyHasItsStoredName()
{
    const QStringList names = {"Name",        "HomePhone", "VoiceOn",  "Talk",   "AutoDial",    "StartStop",
                               "UsePassword", "Use911",    "UseAlarm", "Dialer", "ModemDevice", "VoiceWarp",
                               "VoiceAdaptation"};
    QCOMPARE(int(SettingKeys::all().size()), names.size());
    for (size_t i = 0; i < SettingKeys::all().size(); ++i) {
        const SettingKeyInfo &k = SettingKeys::all()[i];
        QCOMPARE(QString::fromLatin1(k.name), names[int(i)]);
        QCOMPARE(&SettingKeys::info(k.key), &k); // the table is indexed by its keys
    }
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
