#include "core/word_list.h"

#include "core/voice_grammar.h"

#include <QSaveFile>

namespace WordList {

QString phraseProblem(const QString &phrase)
{
    if (phrase.trimmed().isEmpty())
        return QStringLiteral("A phrase needs at least one word.");
    for (const QChar c : phrase)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return QStringLiteral("A phrase must fit on one line.");
    return {};
}

QByteArray withPhrases(const QByteArray &original, const QStringList &phrases)
{
    const QByteArray eol = original.contains("\r\n") || !original.contains('\n') ? "\r\n" : "\n";
    const QByteArray marker = VoiceGrammar::PhraseMarker.toLatin1();
    QByteArray phraseBlock;
    for (const QString &p : phrases)
        phraseBlock += marker + p.toUtf8() + eol;

    QByteArray out;
    bool placed = false;
    QList<QByteArray> lines = original.split('\n');
    // A final line end leaves an empty piece behind; it is no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(marker)) {
            if (!placed)
                out += phraseBlock;
            placed = true;
            continue;
        }
        out += line + eol;
    }
    if (!placed)
        out += phraseBlock;
    return out;
}

bool save(const QString &path, const QByteArray &text, QString *why)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *why = file.errorString();
        return false;
    }
    if (file.write(text) != text.size()) {
        *why = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}

} // namespace WordList
