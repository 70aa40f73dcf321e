#pragma once
#include <QObject>
#include <QString>

// Continuous speech recognition against a grammar file. phraseFinished is delivered on the
// GUI thread with exactly one phrase of the grammar, or an empty text when nothing matched.
// Where the recogniser can tell, utteranceStarted comes first, as soon as the utterance begins.
class Recognizer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~Recognizer() override = default;
    virtual bool stopRecognition() = 0;
    virtual bool loadGrammarFile(const QString &path) = 0;
    virtual bool startRecognition() = 0;
    // What was learned of the family's voices before, as speakerWarpLearned gave it; a
    // recogniser that does not adapt to its speakers ignores it.
    virtual void setSpeakerWarp(const QString & /*state*/) { }
    // The same for the acoustic model's adaptation to the family's voices.
    virtual void setSpeakerAdaptation(const QString & /*state*/) { }
signals:
    void utteranceStarted();
    void phraseFinished(const QString &phrase);
    // What the recogniser has learned from the last accepted command, to be kept for next time.
    void speakerWarpLearned(const QString &state);
    void speakerAdaptationLearned(const QString &state);
};
