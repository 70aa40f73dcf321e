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

    // The phrases of the file's "<start>=" lines in file order, duplicates kept, each the rest of
    // its line unchanged. ok is false when the file cannot be read (the list is then empty).
    static QStringList readPhraseLines(const QString &path, bool *ok = nullptr);

    // Stops the recogniser, loads the file as its grammar, restarts it, then refills List1.
    // The first step that fails ends the load; List1 then keeps what it held. Returns whether
    // every step succeeded (callers carry on silently either way).
    bool LoadVoiceGrammar(Recognizer *rec, const QString &wordsFilePath, QStringList &List1);
};
