#include "core/phone_dialing.h"
#include "core/sound_services.h"
#include "core/voice_command_interpreter.h"
#include "fakes/recording_fakes.h"
#include "records/info_record.h"
#include "records/settings_store.h"

#include <QtTest>

// Each row is a sequence of phrases handed to the interpreter. A phrase written "text@N" is not
// handed over directly: it arrives nested, during the Nth handling of pending events of the row.
class TestVoiceCommandInterpreter : public QObject
{
    Q_OBJECT
private slots:
    void phrases_data();
    void phrases();
    void rhymes();
};

namespace {
const QString kAlarm = QStringLiteral("sounds/alarm.wav");
const QString kPickUp = QStringLiteral("speak:Please pick up the phone now!");

// The shipped word list's phrases plus one that is no command.
QStringList phraseList()
{
    return {"hushby",
            "cancel",
            "abort",
            "stop",
            "prepare",
            "diner",
            "prepare diner",
            "alarm off",
            "alarm on",
            "turn on auto dial",
            "on auto",
            "on dial",
            "turn off auto dial",
            "off auto",
            "off dial",
            "call parents",
            "call work",
            "where",
            "parents",
            "call backup",
            "call relation",
            "call can't be reached",
            "911",
            "nine one one",
            "call police",
            "call the police",
            "police",
            "call hospital",
            "call doctor",
            "call school",
            "sing a song",
            "sing",
            "good night"};
}
} // namespace

void TestVoiceCommandInterpreter::phrases_data()
{
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<bool>("voiceOn");
    QTest::addColumn<bool>("autoDial");
    QTest::addColumn<bool>("check1");
    QTest::addColumn<bool>("check2");
    QTest::addColumn<double>("random");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("listeningAfter");
    QTest::addColumn<bool>("autoDialAfter");

    const QString notOn = "speak:Auto Dial is not on, calling out number now!";

    QTest::newRow("command without wake word") << QStringList{"call police"} << true << false << true << true << 0.0
                                               << QStringList{"heard:call police"} << false << false;
    QTest::newRow("wake word") << QStringList{"hushby"} << true << false << true << true << 0.0
                               << QStringList{"heard:hushby", "speak:Ready"} << true << false;
    QTest::newRow("double wake word") << QStringList{"hushby", "hushby"} << true << false << true << true << 0.0
                                      << QStringList{"heard:hushby", "speak:Ready", "heard:hushby", "speak:Ready"}
                                      << true << false;
    QTest::newRow("listed phrase that is no command")
        << QStringList{"hushby", "good night"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby", "speak:Ready", "heard:good night"} << false << false;
    QTest::newRow("phrase not in the list, case differs")
        << QStringList{"hushby", "Call Police"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby", "speak:Ready", "heard:Call Police"} << false << false;
    QTest::newRow("empty phrase keeps listening")
        << QStringList{"hushby", "", "police"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby",  "speak:Ready", "heard:", "heard:police", notOn, "speak:Calling Police Now!",
                       "speak:555 0100"}
        << false << false;
    QTest::newRow("voice off ignores wake word")
        << QStringList{"hushby", "call police"} << false << false << true << true << 0.0
        << QStringList{"heard:hushby", "heard:call police"} << false << false;
    QTest::newRow("auto dial off reads the number out")
        << QStringList{"hushby", "call police"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby",  "speak:Ready", "heard:call police", notOn, "speak:Calling Police Now!",
                       "speak:555 0100"}
        << false << false;
    QTest::newRow("auto dial on dials") << QStringList{"hushby", "call police"} << true << true << true << true << 0.0
                                        << QStringList{"heard:hushby",      "speak:Ready",
                                                       "heard:call police", "speak:Calling Police Now!",
                                                       "dial:555 0100",     kPickUp}
                                        << false << true;
    QTest::newRow("auto dial on, blank entry")
        << QStringList{"hushby", "call parents"} << true << true << true << true << 0.0
        << QStringList{"heard:hushby",
                       "speak:Ready",
                       "heard:call parents",
                       "speak:Calling parents now!",
                       "message:|Error dialing number : The phone number is not valid.",
                       kPickUp}
        << false << true;
    QTest::newRow("turn on auto dial, then a call dials")
        << QStringList{"hushby", "on auto", "hushby", "call doctor"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby",  "speak:Ready", "heard:on auto",     "speak:Turning on auto dial now!",
                       "heard:hushby",  "speak:Ready", "heard:call doctor", "speak:Calling your doctor Now!",
                       "dial:555 0199", kPickUp}
        << false << true;
    QTest::newRow("turn off auto dial") << QStringList{"hushby", "turn off auto dial"} << true << true << true << true
                                        << 0.0
                                        << QStringList{"heard:hushby", "speak:Ready", "heard:turn off auto dial",
                                                       "speak:Turning off auto dial now!"}
                                        << false << false;
    QTest::newRow("911 dials even with auto dial off")
        << QStringList{"hushby", "nine one one"} << true << false << true << false << 0.0
        << QStringList{"heard:hushby",          "speak:Ready", "heard:nine one one",
                       "speak:Calling 911Now!", "dial:911",    kPickUp}
        << false << false;
    QTest::newRow("911 not allowed") << QStringList{"hushby", "911"} << true << true << false << true << 0.0
                                     << QStringList{"heard:hushby", "speak:Ready", "heard:911"} << false << true;
    QTest::newRow("alarm not allowed") << QStringList{"hushby", "alarm on", "hushby", "alarm off"} << true << false
                                       << true << false << 0.0
                                       << QStringList{"heard:hushby", "speak:Ready", "heard:alarm on",
                                                      "heard:hushby", "speak:Ready", "heard:alarm off"}
                                       << false << false;
    // The alarm loops without holding the handler; the next phrase silences it.
    QTest::newRow("alarm sounds until the next phrase")
        << QStringList{"hushby", "alarm on", "hushby"} << true << false << false << true << 0.0
        << QStringList{"heard:hushby",   "speak:Ready",  "heard:alarm on", "speak:Intruder! ... Intruder!",
                       "loop:" + kAlarm, "heard:hushby", "loopStop",       "speak:Ready"}
        << true << false;
    // Four handlings before the sound, one inside PlayWave, one after: a wake word heard in the
    // last one ends the alarm, and the outer phrase's final reset still clears Listening.
    QTest::newRow("alarm ended by a phrase heard while it starts")
        << QStringList{"hushby", "alarm on", "hushby@6"} << true << false << false << true << 0.0
        << QStringList{"heard:hushby",   "speak:Ready",  "heard:alarm on", "speak:Intruder! ... Intruder!",
                       "loop:" + kAlarm, "heard:hushby", "loopStop",       "speak:Ready"}
        << false << false;
    QTest::newRow("alarm off") << QStringList{"hushby", "alarm off"} << true << false << false << true << 0.0
                               << QStringList{"heard:hushby", "speak:Ready", "heard:alarm off",
                                              "speak:Turning off alarm now!"}
                               << false << false;
    QTest::newRow("cancel without wake word sends Tab then Enter")
        << QStringList{"cancel"} << true << false << true << true << 0.0
        << QStringList{"heard:cancel", "speak:Stopping call, hanging up now!", "key:Tab", "key:Enter"} << false
        << false;
    QTest::newRow("stop after wake word ends listening")
        << QStringList{"hushby", "stop"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby", "speak:Ready", "heard:stop", "speak:Stopping call, hanging up now!",
                       "key:Tab",      "key:Enter"}
        << false << false;
    QTest::newRow("prepare reads the whole stored field")
        << QStringList{"hushby", "prepare diner"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby", "speak:Ready", "heard:prepare diner",
                       "speak:" + QString("Heat the soup").leftJustified(555)}
        << false << false;
    QTest::newRow("sing, random below one half")
        << QStringList{"hushby", "sing"} << true << false << true << true << 0.49
        << QStringList{"heard:hushby",
                       "speak:Ready",
                       "heard:sing",
                       "speak:I will do my best.",
                       "speak:" + VoiceCommandInterpreter::rhyme(1),
                       "speak:How was that?"}
        << false << false;
    QTest::newRow("sing, random one half")
        << QStringList{"hushby", "sing a song"} << true << false << true << true << 0.5
        << QStringList{"heard:hushby",
                       "speak:Ready",
                       "heard:sing a song",
                       "speak:I will do my best.",
                       "speak:" + VoiceCommandInterpreter::rhyme(2),
                       "speak:How was that?"}
        << false << false;
}

void TestVoiceCommandInterpreter::phrases()
{
    QFETCH(QStringList, phrases);
    QFETCH(bool, voiceOn);
    QFETCH(bool, autoDial);
    QFETCH(bool, check1);
    QFETCH(bool, check2);
    QFETCH(double, random);
    QFETCH(QStringList, expected);
    QFETCH(bool, listeningAfter);
    QFETCH(bool, autoDialAfter);

    CallLog log;
    FakeSpeech speech(log);
    FakeSound player(log);
    FakeEventPump events(log);
    FakePrompter prompter(log);
    FakeDialer dialer(log);
    FakeKeys keys(log);
    FakeClock clock;
    clock.randoms = {random};

    SoundServices sound(&speech, &player, &events);
    InfoRecord info;
    info.setField(InfoRecord::PolicePhone, "555 0100");
    info.setField(InfoRecord::DoctorPhone, "555 0199");
    info.setField(InfoRecord::HowToPrepare, "Heat the soup");
    SettingsFlags flags;
    flags.VoiceOn = voiceOn;
    flags.AutoDial = autoDial;
    flags.TalkBack = true;
    PhoneDialing dialing(sound, &dialer, &prompter, info, flags);
    const QStringList list = phraseList();
    VoiceCommandInterpreter interpreter(list, flags, info, {&sound, &dialing, &events, &keys, &clock}, kAlarm);
    interpreter.check1Checked = [check1] { return check1; };
    interpreter.check2Checked = [check2] { return check2; };

    auto hear = [&](const QString &phrase) {
        log.add("heard:" + phrase);
        interpreter.OnPhraseFinished(phrase);
    };
    for (const QString &p : phrases) {
        const int at = p.lastIndexOf('@');
        if (at < 0)
            continue;
        const int n = p.mid(at + 1).toInt();
        while (events.pending.size() < n)
            events.pending << std::function<void()>([] {});
        const QString nested = p.left(at);
        events.pending[n - 1] = [&hear, nested] { hear(nested); };
    }
    sound.setAlarmSounding(!voiceOn); // a sounding alarm ends with any phrase, voice on or off
    for (const QString &p : phrases)
        if (!p.contains('@'))
            hear(p);

    QCOMPARE(log.entries, expected);
    QVERIFY(events.pending.isEmpty());
    QCOMPARE(interpreter.Listening, listeningAfter);
    QCOMPARE(flags.AutoDial, autoDialAfter);
    QVERIFY(!sound.alarmSounding());
}

void TestVoiceCommandInterpreter::rhymes()
{
    for (int n : {1, 2}) {
        const QString r = VoiceCommandInterpreter::rhyme(n);
        QVERIFY2(r.size() > 180 && r.size() < 260, qPrintable(r));
        QVERIFY(r.contains(" ... ") && r.contains(", "));
        QVERIFY2(r.endsWith("ha!"), qPrintable(r));
    }
    QVERIFY(VoiceCommandInterpreter::rhyme(1).contains("frog"));
    QVERIFY(VoiceCommandInterpreter::rhyme(2).contains("jelly"));
}

QTEST_GUILESS_MAIN(TestVoiceCommandInterpreter)
#include "tst_voice_command_interpreter.moc"
