#include "core/phone_dialing.h"
#include "core/sound_services.h"
#include "core/voice_command_interpreter.h"
#include "fakes/recording_fakes.h"
#include "records/info_record.h"
#include "records/settings_store.h"

#include <QtTest>

#include <memory>

// In phrases(), each row is a sequence of phrases handed to the interpreter. A phrase written
// "text@N" is not handed over directly: it arrives nested, during the Nth handling of pending
// events of the row. The dialogue tests play out steps in time; see runDialogue().
class TestVoiceCommandInterpreter : public QObject
{
    Q_OBJECT
private slots:
    void phrases_data();
    void phrases();
    void wakeWordTimeLimit_data();
    void wakeWordTimeLimit() { runDialogue(); }
    void hangUpOnlyOurCall_data();
    void hangUpOnlyOurCall() { runDialogue(); }
    void ownSoundIsNoCommand_data();
    void ownSoundIsNoCommand() { runDialogue(); }
    void rhymes();

private:
    static void addDialogueColumns();
    void runDialogue();
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

// The interpreter among recording fakes. Police and doctor have numbers, the parents none.
struct Rig {
    explicit Rig(bool clocked = true, bool speechTells = true)
    {
        speech.tellsWhenSpoken = speechTells;
        Clock *c = clocked ? &clock : nullptr;
        sound = std::make_unique<SoundServices>(&speech, &player, &events, c);
        info.setField(InfoRecord::PolicePhone, "555 0100");
        info.setField(InfoRecord::DoctorPhone, "555 0199");
        info.setField(InfoRecord::HowToPrepare, "Heat the soup");
        flags.VoiceOn = true;
        flags.TalkBack = true;
        dialing = std::make_unique<PhoneDialing>(*sound, &dialer, &prompter, info, flags, c);
        interpreter = std::make_unique<VoiceCommandInterpreter>(
            list, flags, info, VoiceCommandInterpreter::Services{sound.get(), dialing.get(), &events, &keys, c},
            kAlarm);
    }
    void hear(const QString &phrase)
    {
        log.add("heard:" + phrase);
        interpreter->OnPhraseFinished(phrase);
    }

    CallLog log;
    FakeSpeech speech{log};
    FakeSound player{log};
    FakeEventPump events{log};
    FakePrompter prompter{log};
    FakeDialer dialer{log};
    FakeKeys keys{log};
    FakeClock clock;
    InfoRecord info;
    SettingsFlags flags;
    const QStringList list = phraseList();
    std::unique_ptr<SoundServices> sound;
    std::unique_ptr<PhoneDialing> dialing;
    std::unique_ptr<VoiceCommandInterpreter> interpreter;
};
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
    // Four handlings before the sound, one inside startAlarm, one after: a wake word heard in the
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
        << QStringList{"hushby", "911", "cancel"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby", "speak:Ready", "heard:911",    "speak:Calling 911Now!",
                       "dial:911",     kPickUp,       "heard:cancel", "speak:Stopping call, hanging up now!",
                       "key:Tab",      "key:Enter"}
        << false << false;
    QTest::newRow("stop after wake word ends listening")
        << QStringList{"hushby", "911", "hushby", "stop"} << true << false << true << true << 0.0
        << QStringList{"heard:hushby", "speak:Ready",
                       "heard:911",    "speak:Calling 911Now!",
                       "dial:911",     kPickUp,
                       "heard:hushby", "speak:Ready",
                       "heard:stop",   "speak:Stopping call, hanging up now!",
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

    Rig rig;
    rig.clock.randoms = {random};
    rig.flags.VoiceOn = voiceOn;
    rig.flags.AutoDial = autoDial;
    rig.interpreter->check1Checked = [check1] { return check1; };
    rig.interpreter->check2Checked = [check2] { return check2; };

    for (const QString &p : phrases) {
        const int at = p.lastIndexOf('@');
        if (at < 0)
            continue;
        const int n = p.mid(at + 1).toInt();
        while (rig.events.pending.size() < n)
            rig.events.pending << std::function<void()>([] {});
        const QString nested = p.left(at);
        rig.events.pending[n - 1] = [&rig, nested] { rig.hear(nested); };
    }
    rig.sound->setAlarmSounding(!voiceOn); // a sounding alarm ends with any phrase, voice on or off
    for (const QString &p : phrases)
        if (!p.contains('@'))
            rig.hear(p);

    QCOMPARE(rig.log.entries, expected);
    QVERIFY(rig.events.pending.isEmpty());
    QCOMPARE(rig.interpreter->Listening, listeningAfter);
    QCOMPARE(rig.flags.AutoDial, autoDialAfter);
    QVERIFY(!rig.sound->alarmSounding());
}

void TestVoiceCommandInterpreter::addDialogueColumns()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected"); // the log from the last "|" step on
}

// Steps, in order: "+N" lets N seconds pass; "(" the recogniser hears an utterance begin; "hold"
// keeps each text heard until "spoken"; "sound" a sound played once is still heard, "silence" it
// is over; "wave" plays a sound through SoundServices; "click" clicks the police's phone picture;
// "refuse" has the dialer refuse calls; "alarm" starts the alarm's loop; "|" clears the log; any
// other step is a phrase heard. A row starting "no clock" or "speech cannot tell" sets up the rig
// without that. Auto dial is on and both check boxes are checked.
void TestVoiceCommandInterpreter::runDialogue()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);

    Rig rig(!steps.contains("no clock"), !steps.contains("speech cannot tell"));
    rig.flags.AutoDial = true;
    rig.interpreter->check1Checked = [] { return true; };
    rig.interpreter->check2Checked = [] { return true; };
    for (const QString &step : steps) {
        if (step == "no clock" || step == "speech cannot tell")
            continue;
        if (step.startsWith('+')) {
            rig.clock.current = rig.clock.current.addSecs(step.mid(1).toInt());
        } else if (step == "(") {
            rig.interpreter->OnUtteranceStarted();
        } else if (step == "hold") {
            rig.speech.holding = true;
        } else if (step == "spoken") {
            rig.speech.holding = false;
            rig.speech.finishSpeaking();
        } else if (step == "sound" || step == "silence") {
            rig.player.playingOnce = step == "sound";
        } else if (step == "wave") {
            rig.sound->PlayWave("sounds/bink.wav");
        } else if (step == "click") {
            rig.dialing->PhonePictureClick(2);
        } else if (step == "refuse") {
            rig.dialer.result = -2;
        } else if (step == "alarm") {
            rig.sound->startAlarm(kAlarm);
        } else if (step == "|") {
            rig.log.entries.clear();
        } else {
            rig.hear(step);
        }
    }
    QCOMPARE(rig.log.entries, expected);
}

void TestVoiceCommandInterpreter::wakeWordTimeLimit_data()
{
    addDialogueColumns();
    const QStringList police = {"heard:call police", "speak:Calling Police Now!", "dial:555 0100", kPickUp};

    // "Ready" takes 3 s here: the wait is counted from its end, not from the wake word.
    QTest::newRow("command 7 s after Ready")
        << QStringList{"hold", "hushby", "+3", "spoken", "+7", "|", "call police"} << police;
    QTest::newRow("command 9 s after Ready needs the wake word again")
        << QStringList{"hushby", "+9", "|", "call police", "hushby", "call police"}
        << QStringList{"heard:call police", "heard:hushby", "speak:Ready"} + police;
    QTest::newRow("an utterance that was no phrase does not extend the wait")
        << QStringList{"hushby", "+5", "(", "", "+4", "|", "(", "call police"} << QStringList{"heard:call police"};
    // Without word of when "Ready" ended, it is taken to last 2 s from the wake word.
    QTest::newRow("speech that cannot tell, 9 s after the wake word")
        << QStringList{"speech cannot tell", "hushby", "+9", "|", "call police"} << police;
    QTest::newRow("speech that cannot tell, 11 s after the wake word")
        << QStringList{"speech cannot tell", "hushby", "+11", "|", "call police"} << QStringList{"heard:call police"};
    QTest::newRow("no clock, no limit") << QStringList{"no clock", "hushby", "+3600", "|", "call police"} << police;
}

void TestVoiceCommandInterpreter::hangUpOnlyOurCall_data()
{
    addDialogueColumns();
    const QStringList hangUp = {"speak:Stopping call, hanging up now!", "key:Tab", "key:Enter"};

    // Every phrase still ends the alarm.
    QTest::newRow("stop, no call placed") << QStringList{"alarm", "|", "stop"} << QStringList{"heard:stop", "loopStop"};
    QTest::newRow("cancel 15 min after a voice call")
        << QStringList{"hushby", "call police", "+900", "alarm", "|", "cancel"}
        << QStringList{"heard:cancel", "loopStop"} + hangUp;
    QTest::newRow("abort after a phone picture click")
        << QStringList{"click", "+60", "|", "abort"} << QStringList{"heard:abort"} + hangUp;
    QTest::newRow("stop 16 min after a call")
        << QStringList{"click", "+960", "alarm", "|", "stop"} << QStringList{"heard:stop", "loopStop"};
    QTest::newRow("cancel after a refused dial")
        << QStringList{"refuse", "click", "|", "cancel"} << QStringList{"heard:cancel"};
    QTest::newRow("no clock: any call of ours")
        << QStringList{"no clock", "click", "+3600", "|", "stop"} << QStringList{"heard:stop"} + hangUp;
}

void TestVoiceCommandInterpreter::ownSoundIsNoCommand_data()
{
    addDialogueColumns();
    const QStringList police = {"heard:call police", "speak:Calling Police Now!", "dial:555 0100", kPickUp};

    QTest::newRow("wake word heard while the program speaks")
        << QStringList{"hold", "click", "|", "(", "hushby", "spoken", "(", "call police"}
        << QStringList{"heard:hushby", "heard:call police"};
    // The dropped phrase leaves the wake word's arming as it was.
    QTest::newRow("command begun while Ready was spoken")
        << QStringList{"hold", "hushby", "(", "spoken", "|", "call police", "(", "call police"}
        << QStringList{"heard:call police"} + police;
    QTest::newRow("program began to speak during the utterance")
        << QStringList{"hushby", "(", "click", "|", "call police"} << QStringList{"heard:call police"};
    QTest::newRow("sound played during the utterance")
        << QStringList{"hushby", "(", "wave", "|", "call police"} << QStringList{"heard:call police"};
    QTest::newRow("sound still heard as the phrase arrives")
        << QStringList{"hushby", "(", "sound", "|", "call police", "silence", "(", "call police"}
        << QStringList{"heard:call police"} + police;
    QTest::newRow("the alarm's loop is no own sound: a phrase ends it")
        << QStringList{"(", "alarm", "|", "hushby"} << QStringList{"heard:hushby", "loopStop", "speak:Ready"};
    QTest::newRow("a sound over the alarm plays once; a phrase still ends the loop")
        << QStringList{"alarm", "|", "wave", "hushby"}
        << QStringList{"play:sounds/bink.wav", "heard:hushby", "loopStop", "speak:Ready"};
    QTest::newRow("alarm off heard over the alarm")
        << QStringList{"hushby", "alarm on", "(", "|", "alarm off"} << QStringList{"heard:alarm off", "loopStop"};
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
