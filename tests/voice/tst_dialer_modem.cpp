#include "core/phone_dialing.h"
#include "core/settings.h"
#include "core/sound_services.h"
#include "records/info_record.h"
#include "services/prompter.h"
#include "voice/dialer_factory.h"
#include "voice/dialer_modem.h"
#include "voice/dialer_tel.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

// A modem simulated on a pseudo-terminal: the dialer opens the terminal side, the test answers
// on the master side with a scripted reply once a command line is complete.
class SimulatedModem
{
public:
    SimulatedModem()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            return;
        m_device = QString::fromLocal8Bit(ptsname(m_master));
        // Held open so the master does not see a hang-up between the dialer's opens.
        m_keepOpen = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] { readCommand(); });
    }
    ~SimulatedModem()
    {
        delete m_notifier;
        if (m_keepOpen >= 0)
            ::close(m_keepOpen);
        if (m_master >= 0)
            ::close(m_master);
    }
    bool ok() const { return m_notifier != nullptr; }
    QString device() const { return m_device; }
    // Whether the dialer has the terminal side open. A pseudo-terminal has no DTR line; on a real
    // tty, closing is what drops it.
    bool openByDialer() const
    {
        int opens = 0;
        const QFileInfoList fds = QDir("/proc/self/fd").entryInfoList(QDir::Files | QDir::System);
        for (const QFileInfo &fd : fds)
            if (fd.symLinkTarget() == m_device)
                ++opens;
        return opens > 1; // one is our own keep-open
    }

    QByteArray reply; // written back after each complete command
    int replyDelayMs = 0;
    QByteArray received; // everything the dialer wrote

private:
    void readCommand()
    {
        char buf[256];
        ssize_t n;
        while ((n = ::read(m_master, buf, sizeof buf)) > 0) {
            received.append(buf, int(n));
            if (buf[n - 1] != '\r')
                continue;
            const QByteArray answer = reply;
            QTimer::singleShot(replyDelayMs, [this, answer] {
                if (!answer.isEmpty())
                    (void)::write(m_master, answer.constData(), size_t(answer.size()));
            });
        }
    }

    int m_master = -1;
    int m_keepOpen = -1;
    QString m_device;
    QSocketNotifier *m_notifier = nullptr;
};

class TestDialerModem : public QObject
{
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void numberWithoutDigitsIsNotSent_data();
    void numberWithoutDigitsIsNotSent();
    void missingDevice();
    void secondRequestWhileFirstIsPending();
    void lineHeldUntilTheReceiverIsLifted();
    void deviceHeldByAnotherProgram();
    void settingsChooseTheBackend_data();
    void settingsChooseTheBackend();
    void configuredDialerFollowsTheSettings();
};

void TestDialerModem::answers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("result");

    QTest::newRow("ok") << "555 0100" << QByteArray("\r\nOK\r\n") << QByteArray("ATDT5550100;\r") << 0;
    QTest::newRow("echoed command, then ok")
        << "555 0100" << QByteArray("ATDT5550100;\r\r\nOK\r\n") << QByteArray("ATDT5550100;\r") << 0;
    QTest::newRow("pauses, tones and country code kept")
        << "+1 (555) 0100,,*2#" << QByteArray("\r\nOK\r\n") << QByteArray("ATDT+15550100,,*2#;\r") << 0;
    QTest::newRow("a stored text cannot inject a command")
        << "555\r+++ATH0;ATZ\r0100" << QByteArray("\r\nOK\r\n") << QByteArray("ATDT55500100;\r") << 0;
    QTest::newRow("error") << "5550100" << QByteArray("\r\nERROR\r\n") << QByteArray("ATDT5550100;\r") << -1;
    QTest::newRow("busy") << "5550100" << QByteArray("\r\nBUSY\r\n") << QByteArray("ATDT5550100;\r") << -1;
    QTest::newRow("no dial tone") << "5550100" << QByteArray("\r\nNO DIALTONE\r\n") << QByteArray("ATDT5550100;\r")
                                  << -1;
    QTest::newRow("no answer in time") << "5550100" << QByteArray() << QByteArray("ATDT5550100;\r") << -1;
}

void TestDialerModem::answers()
{
    QFETCH(QString, number);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, command);
    QFETCH(int, result);

    SimulatedModem modem;
    QVERIFY(modem.ok());
    modem.reply = reply;
    ModemDialer dialer(modem.device(), 500);

    QCOMPARE(dialer.requestMakeCall(number, "Hushby", "Dialing", ""), result);
    QCOMPARE(modem.received, command);
}

void TestDialerModem::numberWithoutDigitsIsNotSent_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("empty") << "";
    QTest::newRow("letters and a command") << "ATH;ATZ";
}

void TestDialerModem::numberWithoutDigitsIsNotSent()
{
    QFETCH(QString, number);
    SimulatedModem modem;
    QVERIFY(modem.ok());
    modem.reply = "\r\nOK\r\n";
    ModemDialer dialer(modem.device(), 500);

    QCOMPARE(dialer.requestMakeCall(number, "Hushby", "Dialing", ""), -4);
    QTest::qWait(50);
    QCOMPARE(modem.received, QByteArray());
}

void TestDialerModem::missingDevice()
{
    QTemporaryDir dir;
    ModemDialer nowhere(dir.filePath("ttyACM9"), 500);
    QCOMPARE(nowhere.requestMakeCall("5550100", "Hushby", "Dialing", ""), -2);
    ModemDialer unset(QString(), 500);
    QCOMPARE(unset.requestMakeCall("5550100", "Hushby", "Dialing", ""), -2);
}

// A phrase handled while the modem thinks may ask for a second call: it must not be written
// into the first dialogue.
void TestDialerModem::secondRequestWhileFirstIsPending()
{
    SimulatedModem modem;
    QVERIFY(modem.ok());
    modem.reply = "\r\nOK\r\n";
    modem.replyDelayMs = 200;
    ModemDialer dialer(modem.device(), 2000);

    int nested = 1;
    QTimer::singleShot(50, [&] { nested = dialer.requestMakeCall("911", "Hushby", "Dialing", ""); });
    QCOMPARE(dialer.requestMakeCall("5550100", "Hushby", "Dialing", ""), 0);
    QCOMPARE(nested, -3);
    QCOMPARE(modem.received, QByteArray("ATDT5550100;\r"));

    // While the first call holds the line the device stays taken; hung up, it is free again.
    QCOMPARE(dialer.requestMakeCall("911", "Hushby", "Dialing", ""), -3);
    modem.replyDelayMs = 0;
    dialer.hangUp();
    modem.received.clear();
    QCOMPARE(dialer.requestMakeCall("911", "Hushby", "Dialing", ""), 0);
    QCOMPARE(modem.received, QByteArray("ATDT911;\r"));
}

// Records what the modem had been told, and whether the port was open, when the person was asked
// to lift the receiver.
class ReceiverPrompter : public Prompter
{
public:
    explicit ReceiverPrompter(SimulatedModem &modem) : m_modem(modem) { }
    void message(const QString &text, const QString &, Icon) override
    {
        texts << text;
        QTest::qWait(100); // the person takes a moment; the modem must not hear of it
        receivedAtPrompt = m_modem.received;
        openAtPrompt = m_modem.openByDialer();
    }
    bool question(const QString &, const QString &) override { return true; }
    QStringList texts;
    QByteArray receivedAtPrompt;
    bool openAtPrompt = false;

private:
    SimulatedModem &m_modem;
};

// Closing the port right after "OK" would drop DTR and the call with it: the port stays open
// until the person has the receiver, then the modem is put on hook and the port closed.
void TestDialerModem::lineHeldUntilTheReceiverIsLifted()
{
    SimulatedModem modem;
    QVERIFY(modem.ok());
    modem.reply = "\r\nOK\r\n";
    ModemDialer dialer(modem.device(), 500);
    ReceiverPrompter prompter(modem);
    SoundServices sound(nullptr, nullptr, nullptr);
    InfoRecord info;
    SettingsFlags flags;
    PhoneDialing dialing(sound, &dialer, &prompter, info, flags);

    dialing.DialNumber("555 0100");

    QCOMPARE(prompter.texts, QStringList{"Lift the receiver, then press OK"});
    QCOMPARE(prompter.receivedAtPrompt, QByteArray("ATDT5550100;\r"));
    QVERIFY(prompter.openAtPrompt);
    QCOMPARE(modem.received, QByteArray("ATDT5550100;\rATH\r"));
    QVERIFY(!modem.openByDialer());
    QVERIFY(!dialer.holdsLine());
}

void TestDialerModem::deviceHeldByAnotherProgram()
{
    SimulatedModem modem;
    QVERIFY(modem.ok());
    modem.reply = "\r\nOK\r\n";
    QSerialPort holder;
    holder.setPortName(modem.device());
    QVERIFY(holder.open(QIODevice::ReadWrite)); // takes the device's lock

    ModemDialer dialer(modem.device(), 500);
    QCOMPARE(dialer.requestMakeCall("5550100", "Hushby", "Dialing", ""), -3);
    holder.close();
    QCOMPARE(dialer.requestMakeCall("5550100", "Hushby", "Dialing", ""), 0);
}

void TestDialerModem::settingsChooseTheBackend_data()
{
    QTest::addColumn<QString>("dialer"); // "(unset)" leaves the key out
    QTest::addColumn<bool>("modem");

    QTest::newRow("unset") << "(unset)" << false;
    QTest::newRow("tel") << "tel" << false;
    QTest::newRow("modem") << "modem" << true;
    QTest::newRow("modem, other capitals") << "Modem" << true;
    QTest::newRow("unknown kind") << "fax" << false;
}

void TestDialerModem::settingsChooseTheBackend()
{
    QFETCH(QString, dialer);
    QFETCH(bool, modem);

    QTemporaryDir dir;
    SimulatedModem device;
    QVERIFY(device.ok());
    device.reply = "\r\nOK\r\n";
    SettingsStore store(dir.filePath("settings.ini"));
    if (dialer != "(unset)")
        store.SaveSetting("Dialer", dialer);
    store.SaveSetting("ModemDevice", device.device());

    SettingsFlags flags;
    Settings settings(store, flags);
    settings.load();

    const std::unique_ptr<Dialer> d
        = DialerFactory::create(settings.text(SettingKey::Dialer), settings.text(SettingKey::ModemDevice));
    QVERIFY(d);
    QCOMPARE(dynamic_cast<TelDialer *>(d.get()) != nullptr, !modem);
    if (modem) {
        QCOMPARE(d->requestMakeCall("5550100", "Hushby", "Dialing", ""), 0);
        QCOMPARE(device.received, QByteArray("ATDT5550100;\r"));
    }
}

void TestDialerModem::configuredDialerFollowsTheSettings()
{
    QTemporaryDir dir;
    SimulatedModem device;
    QVERIFY(device.ok());
    device.reply = "\r\nOK\r\n";
    SettingsStore store(dir.filePath("settings.ini"));
    SettingsFlags flags;
    Settings settings(store, flags);
    settings.load();
    ConfiguredDialer dialer(settings);

    // Switched to the modem while running: the next call goes to the modem.
    settings.setText(SettingKey::ModemDevice, device.device());
    settings.setText(SettingKey::Dialer, "modem");
    QCOMPARE(dialer.requestMakeCall("5550100", "Hushby", "Dialing", ""), 0);
    QCOMPARE(device.received, QByteArray("ATDT5550100;\r"));

    // Pointed at a device that is not there, the call fails instead of reaching the old one.
    device.received.clear();
    settings.setText(SettingKey::ModemDevice, dir.filePath("no-such-modem"));
    QVERIFY(dialer.requestMakeCall("5550100", "Hushby", "Dialing", "") != 0);
    QCOMPARE(device.received, QByteArray());
}

QTEST_GUILESS_MAIN(TestDialerModem)
#include "tst_dialer_modem.moc"
