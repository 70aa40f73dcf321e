#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Editing the phrases of the word file while keeping everything else in it: comments, other
// grammar lines and the file's own line ends stay as they were.
namespace WordList {

// Why a phrase cannot be one line of the file, or empty when it can.
QString phraseProblem(const QString &phrase);

// The file's text with its "<start>=" lines replaced by `phrases`, written where the first of
// them stood (at the end when there was none).
QByteArray withPhrases(const QByteArray &original, const QStringList &phrases);

// Replaces the file in one step: either the whole new text is there or the old file is untouched.
bool save(const QString &path, const QByteArray &text, QString *why);

} // namespace WordList
