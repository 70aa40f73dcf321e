#include "voice/command_decoder.h"

#include <QTest>

Q_DECLARE_METATYPE(CommandDecoder::Features)

// The judge on utterances measured by hushby-listen --scores: real people's talk that is no
// command (acted words from bench/real_speech_corpus.py, each of which the judge once took for a
// command) must be rejected, and commands of held-out synthetic voices, in noise, taken. The
// audio stays out of the repository; each row keeps the features the decoder printed for it.
// After a refit, rows that fail are looked at, not dropped: see bench/recognition.md.
class TestJudgingRealSpeech : public QObject
{
    Q_OBJECT
private slots:
    void judgesMeasuredUtterances_data();
    void judgesMeasuredUtterances();
};

namespace {
CommandDecoder::Features features(std::initializer_list<double> values)
{
    CommandDecoder::Features f{};
    Q_ASSERT(values.size() == f.size());
    std::copy(values.begin(), values.end(), f.begin());
    return f;
}
} // namespace

void TestJudgingRealSpeech::judgesMeasuredUtterances_data()
{
    QTest::addColumn<QString>("grammarWords");
    QTest::addColumn<CommandDecoder::Features>("features");
    QTest::addColumn<bool>("taken");

    // Features in CommandDecoder::Feature's order: wordGap, worstWordGap, otherGap, extraSpeech,
    // cover, slowPhone, fastPhone, phoneDistance, clarity, sparePhones.
    QTest::newRow("real 'Ow' as fire") << "fire" << features({2.3751, 2.3751, 0.3108, 0.4412, 2.7353, 0, 0, 2, 5, 0})
                                       << false;
    QTest::newRow("real 'Ow' as parents")
        << "parents" << features({1.9710, 1.9710, -0.2912, 0.1389, 3.8333, 0, 0, 1.4286, 5, -0.6667}) << false;
    QTest::newRow("real 'Hmm' as fire") << "fire" << features({2.0135, 2.0135, 0.0529, 0, 4.5, 0.7333, 0, 2, 5, -0.3333})
                                        << false;
    QTest::newRow("real 'Ooff' as abort")
        << "abort" << features({1.2974, 1.2974, 0.7865, 0.4762, 2.7143, 0, 0.2, 2, 5, -0.3333}) << false;
    QTest::newRow("real 'Nooo' as cancel")
        << "cancel" << features({0.4926, 0.4926, 0.6967, 0.3175, 4.1905, 3.6667, 0, 1.6667, 5, 0}) << false;
    QTest::newRow("real 'Fly away' as where")
        << "where" << features({0.7671, 0.7671, 0.7026, 0.3774, 3.6226, 2.0667, 0, 1.3333, 5, -0.3333}) << false;
    QTest::newRow("real 'Boring' as call the fire department")
        << "call the fire department"
        << features({1.9848, 3.4986, 0.5965, 0.1493, 2.9552, 1.0667, 0, 1.6667, 5, -0.6667}) << false;
    QTest::newRow("real 'First blood' as call an ambulance")
        << "call an ambulance" << features({1.4004, 2.2842, 0.6847, 0.4828, 2.7517, 0.8, 0, 2.2857, 5, 2}) << false;
    QTest::newRow("real 'Excellent' as turn off auto dial")
        << "turn off auto dial" << features({1.5475, 2.2749, 0.7654, 0.8846, 3.5769, 1.4, 0, 1.8182, 5, 0}) << false;
    QTest::newRow("real 'Come on then' as turn on auto dial")
        << "turn on auto dial" << features({1.5161, 3.0548, 0.0508, 0.0424, 2.9746, 0.9333, 0, 1.8333, 5, 0.3333})
        << false;
    QTest::newRow("real 'Missed' as alarm off")
        << "alarm off" << features({2.2798, 2.4976, -0.3129, 0.3521, 2.9577, 0.1, 0, 2.2857, 5, 1}) << false;

    QTest::newRow("hushby, man, 10 dB") << "hushby" << features({0.9813, 0.9813, -0.1143, 0, 3, 0, 0, 2, 1.6842, 1})
                                        << true;
    QTest::newRow("hushby, woman, 10 dB")
        << "hushby" << features({0.4493, 0.4493, -0.7075, 0.1190, 2.9286, 0, 0, 2, 1.6456, 0.3333}) << true;
    QTest::newRow("stop, 10 dB") << "stop" << features({0.2366, 0.2366, 0.225, 0, 3.1071, 0, 0, 1, 1.5844, 0}) << true;
    QTest::newRow("where, 20 dB") << "where" << features({0.8054, 0.8054, -0.6212, 0, 3.0909, 0.0667, 0, 1, 2.5043, 0.3333})
                                  << true;
    QTest::newRow("call the police, 20 dB")
        << "call the police" << features({0.4650, 0.51, -0.7433, 0, 3.2, 1.04, 0.5, 2, 2.5504, 1.6667}) << true;
    QTest::newRow("call the poison control center, 20 dB")
        << "call the poison control center" << features({0.2521, 1.1391, -0.5705, 0, 3.1316, 0.95, 0, 1, 2.3956, 1})
        << true;
    QTest::newRow("sing a song, 10 dB")
        << "sing a song" << features({-0.1572, 1.4345, -0.9130, 0, 3.4706, 0, 0, 1.7143, 1.7038, 0.3333}) << true;
    // A phrase left to silence for over 30% of the speech is a word out of a sentence.
    QTest::newRow("call the police out of a sentence")
        << "call the police" << features({0.4650, 0.51, -0.7433, 1.6, 3.2, 1.04, 0.5, 2, 2.5504, 1.6667}) << false;
}

void TestJudgingRealSpeech::judgesMeasuredUtterances()
{
    QFETCH(QString, grammarWords);
    QFETCH(CommandDecoder::Features, features);
    QFETCH(bool, taken);
    const double confidence = CommandDecoder::confidence(grammarWords, features);
    QVERIFY2(CommandDecoder::accepts(grammarWords, features, confidence) == taken,
             qPrintable(QStringLiteral("confidence %1").arg(confidence)));
}

QTEST_GUILESS_MAIN(TestJudgingRealSpeech)
#include "tst_judging_real_speech.moc"
