#pragma once
#include <QByteArray>
#include <QString>

// The password file: one 14-byte record, the password in Windows-1252, left-aligned and filled with
// blanks. It lives in a folder private to the user; both are kept private on every write, also
// when they were made earlier with wider modes.
namespace PasswordFile {

constexpr int RecordLength = 14;

struct Outcome {
    bool ok = false;
    QString error; // why it failed, for the user
};

// Whether every character of `text` has a byte in the code page.
bool storable(const QString &text);
// What a new password is stored as: blanks at both ends removed, cut to 14 characters.
QString fit(const QString &typed);
// Blanks at both ends removed; other white space is kept.
QString trimBlanks(const QString &text);

// Stores `password` (fitted) as record 1, making the folder when missing. A text the code page
// cannot hold is refused, not stored with replacement characters.
Outcome write(const QString &path, const QString &password);

// Reads record 1 into `record` (exactly RecordLength bytes). `found` is false when the file is
// missing or holds no complete record; `record` is then left as it was.
Outcome read(const QString &path, QByteArray &record, bool *found);

// The stored text of a record: the field decoded, blanks at both ends removed.
QString passwordOf(const QByteArray &record);

} // namespace PasswordFile
