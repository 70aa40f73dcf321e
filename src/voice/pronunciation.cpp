#include "voice/pronunciation.h"

#include "voice/flite_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <flite/flite.h>

extern "C" cst_lexicon *cmu_lex_init(void);

namespace {

const char *const DigitNames[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};

} // namespace

QString Pronunciation::defaultDictionaryPath()
{
    const QString overridden = qEnvironmentVariable("HUSHBY_SPHINX_DICT");
    if (!overridden.isEmpty())
        return overridden;
    const QStringList candidates = {
        QStringLiteral("/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict"),
        QStringLiteral("/usr/local/share/pocketsphinx/model/en-us/cmudict-en-us.dict"),
    };
    for (const QString &path : candidates) {
        if (QFileInfo::exists(path))
            return path;
    }
    return candidates.first();
}

QStringList Pronunciation::wordsOfPhrase(const QString &phrase)
{
    QStringList words;
    QString word;
    auto flush = [&] {
        if (!word.isEmpty())
            words.append(word);
        word.clear();
    };
    for (const QChar c : phrase.toLower()) {
        if (c.isDigit() && c.digitValue() >= 0 && c.digitValue() <= 9) {
            flush();
            words.append(QString::fromLatin1(DigitNames[c.digitValue()]));
        } else if (c.isLetter() || c == u'\'' || c.isMark()) {
            word.append(c);
        } else {
            flush();
        }
    }
    flush();
    return words;
}

const QSet<QString> &Pronunciation::phoneSet()
{
    static const QSet<QString> phones = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D", "DH", "EH", "ER", "EY",
                                         "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M", "N",  "NG", "OW", "OY",
                                         "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V", "W",  "Y",  "Z",  "ZH"};
    return phones;
}

QString Pronunciation::generate(const QString &word)
{
    QString letters;
    for (const QChar c : word.toLower()) {
        if (c == u'\'')
            continue;
        if (c < u'a' || c > u'z')
            return {};
        letters.append(c);
    }
    if (letters.isEmpty())
        return {};

    QMutexLocker lock(&fliteLock());
    static cst_lexicon *lexicon = cmu_lex_init();
    const QByteArray bytes = letters.toLatin1();
    cst_val *phones = lex_lookup(lexicon, bytes.constData(), nullptr, nullptr);
    QStringList result;
    bool valid = true;
    for (const cst_val *p = phones; p; p = val_cdr(p)) {
        // The rules write the model's phones in lower case with stress digits, plus a schwa and
        // pauses the model does not have.
        QString phone = QString::fromLatin1(val_string(val_car(p))).toUpper();
        while (!phone.isEmpty() && phone.back().isDigit())
            phone.chop(1);
        if (phone == QLatin1String("PAU") || phone.isEmpty())
            continue;
        if (phone == QLatin1String("AX"))
            phone = QStringLiteral("AH");
        if (!phoneSet().contains(phone))
            valid = false;
        result.append(phone);
    }
    delete_val(phones);
    if (!valid)
        return {};
    return result.join(u' ');
}

QHash<QString, QStringList> Pronunciation::lookup(const QSet<QString> &words, const QString &dictionaryPath,
                                                  QStringList *unpronounceable, bool *ok)
{
    QHash<QString, QStringList> found;
    QFile file(dictionaryPath);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    if (opened && !words.isEmpty()) {
        // The dictionary has over 130,000 lines: compare raw bytes, convert only the hits.
        QSet<QByteArray> wanted;
        for (const QString &w : words)
            wanted.insert(w.toUtf8());
        const QByteArray data = file.readAll();
        qsizetype at = 0;
        while (at < data.size()) {
            qsizetype end = data.indexOf('\n', at);
            if (end < 0)
                end = data.size();
            // Lines are "word PH ONES" or "word(2) PH ONES" for a variant.
            const QByteArrayView line(data.constData() + at, end - at);
            at = end + 1;
            const qsizetype space = line.indexOf(' ');
            if (space <= 0)
                continue;
            QByteArrayView key = line.first(space);
            const qsizetype paren = key.indexOf('(');
            if (paren > 0)
                key = key.first(paren);
            if (!wanted.contains(QByteArray::fromRawData(key.data(), key.size())))
                continue;
            const QString phones = QString::fromLatin1(line.sliced(space + 1)).simplified();
            if (!phones.isEmpty())
                found[QString::fromUtf8(key)].append(phones);
        }
    }
    QStringList missing;
    for (const QString &word : words) {
        if (found.contains(word))
            continue;
        const QString generated = generate(word);
        if (generated.isEmpty())
            missing.append(word);
        else
            found.insert(word, {generated});
    }
    missing.sort();
    if (unpronounceable)
        *unpronounceable = missing;
    return found;
}
