#pragma once
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// Pronunciations for the words of the grammar only: a dictionary of a few dozen words keeps the
// recogniser's start-up near 10 ms, where the model's whole dictionary takes about 120 ms.
// Each pronunciation is a space-separated list of the acoustic model's phones ("HH AH SH B IY").
class Pronunciation
{
public:
    // The dictionary shipped with the acoustic model, found at run time; HUSHBY_SPHINX_DICT
    // names another one.
    static QString defaultDictionaryPath();

    // The dictionary words a phrase is spoken as: lower case, punctuation other than the
    // apostrophe separating words, and digits spelled one by one ("911" is "nine one one",
    // as numbers in spoken commands are read digit by digit).
    static QStringList wordsOfPhrase(const QString &phrase);

    // Every pronunciation the dictionary gives each word, variants included. Words it lacks get
    // a generated pronunciation; those that cannot be pronounced at all are left out of the
    // result and listed in unpronounceable. ok is false when the dictionary cannot be read.
    static QHash<QString, QStringList> lookup(const QSet<QString> &words, const QString &dictionaryPath,
                                              QStringList *unpronounceable = nullptr, bool *ok = nullptr);

    // A pronunciation made by letter-to-sound rules, or empty when the word has letters the
    // rules do not know.
    static QString generate(const QString &word);

    // The phones of the acoustic model's dictionary.
    static const QSet<QString> &phoneSet();
};
