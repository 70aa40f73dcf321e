#pragma once
#include <QString>
#include <QStringList>

class Recognizer;

// The word file serves twice: the recogniser builds its grammar from it, and its "<start>=" lines
// become the phrase list the command interpreter matches against.
class VoiceGrammar
{
public:
    static inline const QString PhraseMarker = QStringLiteral("<start>=");

    // Building the recogniser takes about 0.15 ms a phrase and holds up the windows meanwhile;
    // a list past these limits is refused rather than freezing the program for seconds.
    static constexpr int MaxPhrases = 2000;
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    // The phrases of the file's "<start>=" lines in file order, duplicates kept, each the rest of
    // its line unchanged. ok is false when the file cannot be read or is past the limits (the
    // list is then empty); `tooLarge` then says which limit, for the user.
    static QStringList readPhraseLines(const QString &path, bool *ok = nullptr, QString *tooLarge = nullptr);

    // Stops the recogniser, loads the file as its grammar, restarts it, then refills List1.
    // The first step that fails ends the load; List1 then keeps what it held. Returns whether
    // every step succeeded. A list past the limits only stops the recogniser, and `problem` says
    // why for the user; other failures are left to the recogniser to report.
    bool LoadVoiceGrammar(Recognizer *rec, const QString &wordsFilePath, QStringList &List1,
                          QString *problem = nullptr);
};
