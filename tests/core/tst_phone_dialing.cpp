#include "core/phone_dialing.h"
#include "core/sound_services.h"
#include "fakes/recording_fakes.h"
#include "records/info_record.h"
#include "records/settings_store.h"

#include <QtTest>

class TestPhoneDialing : public QObject
{
    Q_OBJECT
private slots:
    void dialNumber_data();
    void dialNumber();
    void pictureClick_data();
    void pictureClick();
    void entriesReadTheirOwnFields();
};

namespace {
const QString kPickUp = QStringLiteral("speak:Please pick up the phone now!");
const QString kError = QStringLiteral("message:|Error dialing number : ");
const QString kLift = QStringLiteral("message:|Lift the receiver, then press OK");
} // namespace

void TestPhoneDialing::dialNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("hasDialer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("holdsLines"); // a modem: the line is held until hangUp()

    QTest::newRow("accepted, inner spaces kept")
        << "  555 0100  " << true << 0 << QStringList{"dial:555 0100", kPickUp} << false;
    QTest::newRow("line held until the receiver is lifted")
        << "5550100" << true << 0 << QStringList{"dial:5550100", kPickUp, kLift, "hangUp"} << true;
    QTest::newRow("no dialer application")
        << "5550100" << true << -2
        << QStringList{"dial:5550100",
                       kError + "No telephone dialing application is running and none could be started.", kPickUp}
        << false;
    QTest::newRow("dialer busy")
        << "5550100" << true << -3
        << QStringList{"dial:5550100", kError + "The telephone dialing device is busy with another dialing request.",
                       kPickUp}
        << false;
    QTest::newRow("refused as not valid")
        << "abc" << true << -4 << QStringList{"dial:abc", kError + "The phone number is not valid.", kPickUp} << false;
    QTest::newRow("unknown result") << "5550100" << true << -1
                                    << QStringList{"dial:5550100", kError + "Unknown error.", kPickUp} << false;
    QTest::newRow("blank number never reaches the dialer")
        << "   " << true << 0 << QStringList{kError + "The phone number is not valid.", kPickUp} << false;
    QTest::newRow("dialer missing")
        << "5550100" << false << 0
        << QStringList{kError + "No telephone dialing application is running and none could be started.", kPickUp}
        << false;
}

void TestPhoneDialing::dialNumber()
{
    QFETCH(QString, number);
    QFETCH(bool, hasDialer);
    QFETCH(int, result);
    QFETCH(QStringList, expected);
    QFETCH(bool, holdsLines);

    CallLog log;
    FakeSpeech speech(log);
    FakePrompter prompter(log);
    FakeDialer dialer(log);
    dialer.result = result;
    dialer.holdsLines = holdsLines;
    SoundServices sound(&speech, nullptr, nullptr);
    InfoRecord info;
    SettingsFlags flags;
    PhoneDialing dialing(sound, hasDialer ? &dialer : nullptr, &prompter, info, flags);

    dialing.DialNumber(number);

    QCOMPARE(log.entries, expected);
    QVERIFY(!dialer.holdsLine());
    if (!dialer.lastArgs.isEmpty())
        QCOMPARE(dialer.lastArgs, (QStringList{number.trimmed(), "Hushby", "Dialing", ""}));
}

void TestPhoneDialing::pictureClick_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("talkBack");
    QTest::addColumn<bool>("autoDial");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("talk-back only") << 2 << true << false << QStringList{"speak:555 0100"};
    QTest::newRow("auto dial only") << 2 << false << true << QStringList{"dial:555 0100", kPickUp};
    QTest::newRow("both: read out, then dialed")
        << 2 << true << true << QStringList{"speak:555 0100", "dial:555 0100", kPickUp};
    QTest::newRow("neither") << 2 << false << false << QStringList{};
    QTest::newRow("blank entry read out") << 0 << true << false << QStringList{"speak:"};
    QTest::newRow("blank entry dialed") << 0 << false << true
                                        << QStringList{kError + "The phone number is not valid.", kPickUp};
    QTest::newRow("no such entry") << 10 << true << true << QStringList{};
}

void TestPhoneDialing::pictureClick()
{
    QFETCH(int, entry);
    QFETCH(bool, talkBack);
    QFETCH(bool, autoDial);
    QFETCH(QStringList, expected);

    CallLog log;
    FakeSpeech speech(log);
    FakePrompter prompter(log);
    FakeDialer dialer(log);
    SoundServices sound(&speech, nullptr, nullptr);
    InfoRecord info;
    info.setField(InfoRecord::PolicePhone, "555 0100");
    SettingsFlags flags;
    flags.TalkBack = talkBack;
    flags.AutoDial = autoDial;
    PhoneDialing dialing(sound, &dialer, &prompter, info, flags);

    dialing.PhonePictureClick(entry);

    QCOMPARE(log.entries, expected);
}

void TestPhoneDialing::entriesReadTheirOwnFields()
{
    InfoRecord info;
    const QList<InfoRecord::InfoField> fields{
        InfoRecord::WherePhone,     InfoRecord::BackupPhone,        InfoRecord::PolicePhone, InfoRecord::HospitalPhone,
        InfoRecord::AmbulancePhone, InfoRecord::PoisonControlPhone, InfoRecord::FirePhone,   InfoRecord::DoctorPhone,
        InfoRecord::PharmacyPhone,  InfoRecord::SchoolPhone};
    for (int k = 0; k < fields.size(); ++k)
        info.setField(fields[k], QStringLiteral(" 555 010%1 ").arg(k));
    SoundServices sound(nullptr, nullptr, nullptr);
    SettingsFlags flags;
    PhoneDialing dialing(sound, nullptr, nullptr, info, flags);

    QStringList numbers;
    for (int k = 0; k < 10; ++k)
        numbers << dialing.numberText(k);
    QCOMPARE(numbers,
             (QStringList{"555 0100", "555 0101", "555 0102", "555 0103", "555 0104", "555 0105", "555 0106",
                          "555 0107", "555 0108", "555 0109"}));
}

QTEST_GUILESS_MAIN(TestPhoneDialing)
#include "tst_phone_dialing.moc"
