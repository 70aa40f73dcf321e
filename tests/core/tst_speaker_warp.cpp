#include "core/settings.h"
#include "core/speaker_warp.h"
#include "core/speaker_warp_setting.h"
#include "services/recognizer.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// One utterance's scores per frame, best at the candidate nearest to warp, falling off around
// it as the grammar's scores do; level shifts the whole utterance (a loud or soft one).
QVector<double> utterance(double warp, double level = -10)
{
    QVector<double> scores;
    for (double c : SpeakerWarp::Candidates)
        scores << level - 20 * std::abs(c - warp);
    return scores;
}

class RecordingRecognizer : public Recognizer
{
public:
    bool stopRecognition() override { return true; }
    bool loadGrammarFile(const QString &) override { return true; }
    bool startRecognition() override { return true; }
    void setSpeakerWarp(const QString &state) override { given[SettingKey::VoiceWarp] << state; }
    void setSpeakerAdaptation(const QString &state) override { given[SettingKey::VoiceAdaptation] << state; }
    void learn(SettingKey key, const QString &state)
    {
        if (key == SettingKey::VoiceWarp)
            emit speakerWarpLearned(state);
        else
            emit speakerAdaptationLearned(state);
    }
    QHash<SettingKey, QStringList> given;
};

} // namespace

Q_DECLARE_METATYPE(SettingKey)

class TestSpeakerWarp : public QObject
{
    Q_OBJECT
private slots:
    void settlesOnTheFamilysWarp_data()
    {
        QTest::addColumn<double>("voice");
        QTest::addColumn<double>("settled");
        QTest::newRow("a child") << 1.12 << 1.12;
        QTest::newRow("a woman") << 1.06 << 1.06;
        QTest::newRow("a deep voice") << 0.94 << 0.94;
        QTest::newRow("the model's own") << 1.00 << 1.00;
    }
    void settlesOnTheFamilysWarp()
    {
        QFETCH(double, voice);
        QFETCH(double, settled);
        SpeakerWarp w;
        // Too few utterances choose nothing yet.
        for (int i = 0; i < SpeakerWarp::MinUtterances - 1; ++i)
            QVERIFY(!w.addUtterance(utterance(voice, -5 - i * 3)));
        QCOMPARE(w.warp(), 1.00);
        for (int i = 0; i < 5; ++i)
            w.addUtterance(utterance(voice, -5 - i * 3));
        QCOMPARE(w.warp(), settled);
    }

    // A new sitter's voice takes over, but one odd utterance does not flip the choice.
    void followsANewVoiceNotOneUtterance()
    {
        SpeakerWarp w;
        for (int i = 0; i < 20; ++i)
            w.addUtterance(utterance(1.12));
        QCOMPARE(w.warp(), 1.12);
        QVERIFY(!w.addUtterance(utterance(0.94)));
        QCOMPARE(w.warp(), 1.12);
        int heard = 0;
        while (w.warp() != 0.94 && heard < 100) {
            w.addUtterance(utterance(0.94));
            ++heard;
        }
        QCOMPARE(w.warp(), 0.94);
        QVERIFY2(heard <= 30, qPrintable(QString::number(heard)));
    }

    // Neighbours almost alike: the hysteresis keeps the first choice.
    void nearTiesDoNotFlip()
    {
        SpeakerWarp w;
        for (int i = 0; i < 10; ++i)
            w.addUtterance(utterance(1.06));
        QCOMPARE(w.warp(), 1.06);
        for (int i = 0; i < 10; ++i) {
            QVector<double> s = utterance(1.06);
            s[SpeakerWarp::Unwarped + 3] += 0.02; // 1.09 a hair better than 1.06
            s[SpeakerWarp::Unwarped + 2] -= 0.02;
            QVERIFY(!w.addUtterance(s));
        }
        QCOMPARE(w.warp(), 1.06);
    }

    void stateSurvivesTheSettingsText()
    {
        SpeakerWarp w;
        for (int i = 0; i < 8; ++i)
            w.addUtterance(utterance(1.09, -8 - i));
        const SpeakerWarp back = SpeakerWarp::fromText(w.toText());
        QCOMPARE(back.toText(), w.toText());
        QCOMPARE(back.warp(), 1.09);
        QCOMPARE(back.utterances(), 8);
    }

    void garbledTextMeansNoEvidence_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("words") << "deep voice";
        QTest::newRow("no candidate") << "1.05;3;0,0,0,0,0,0,0";
        QTest::newRow("too few values") << "1.06;3;0,0,0";
        QTest::newRow("negative count") << "1.06;-3;0,0,0,0,0,0,0";
        QTest::newRow("not a number") << "1.06;3;0,0,nan,0,0,0,0";
        QTest::newRow("huge") << "1.06;3;0,0,1e300,0,0,0,0";
        QTest::newRow("wrong separator") << "1.06,3,0;0;0;0;0;0;0";
    }
    void garbledTextMeansNoEvidence()
    {
        QFETCH(QString, text);
        const SpeakerWarp w = SpeakerWarp::fromText(text);
        QCOMPARE(w.warp(), 1.00);
        QCOMPARE(w.utterances(), 0);
    }

    void badScoresAreIgnored()
    {
        SpeakerWarp w;
        QVERIFY(!w.addUtterance({-1, -2}));
        QVector<double> s = utterance(1.12);
        s[0] = std::nan("");
        QVERIFY(!w.addUtterance(s));
        QCOMPARE(w.utterances(), 0);
    }

    // What the recogniser learns is stored, and what was stored reaches it at start and after a
    // hand edit; storing does not hand the same state back. The two states do not mix.
    void settingsKeepWhatWasLearned_data()
    {
        QTest::addColumn<SettingKey>("key");
        QTest::addColumn<SettingKey>("other");
        QTest::addColumn<QStringList>("states"); // stored, learned, edited
        QTest::newRow("warp") << SettingKey::VoiceWarp << SettingKey::VoiceAdaptation
                              << QStringList{"1.06;5;0,0,0,0,0.3,0,0", "1.09;6;0,0,0,0,0,0.4,0",
                                             "1.12;9;0,0,0,0,0,0,0.5"};
        QTest::newRow("adaptation") << SettingKey::VoiceAdaptation << SettingKey::VoiceWarp
                                    << QStringList{"1.06;1 1 1 2 0", "1.06;1 1 1 3 0", "1.00;1 1 1 1 0"};
    }

    void settingsKeepWhatWasLearned()
    {
        QFETCH(SettingKey, key);
        QFETCH(SettingKey, other);
        QFETCH(QStringList, states);
        QTemporaryDir dir;
        SettingsStore store(dir.filePath("The Hushby.ini"));
        SettingsFlags flags;
        Settings settings(store, flags);
        settings.setText(key, states[0]);
        RecordingRecognizer recognizer;
        keepSpeakerWarp(settings, recognizer);
        QCOMPARE(recognizer.given[key], QStringList{states[0]});
        QCOMPARE(recognizer.given[other], QStringList{QString()});

        recognizer.learn(key, states[1]);
        QCOMPARE(recognizer.given[key].size(), 1);
        SettingsFlags reread;
        Settings again(store, reread);
        again.load();
        QCOMPARE(again.text(key), states[1]);
        QCOMPARE(again.text(other), QString());

        settings.setText(key, states[2]);
        QCOMPARE(recognizer.given[key].last(), states[2]);
        QCOMPARE(recognizer.given[other].size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSpeakerWarp)
#include "tst_speaker_warp.moc"
