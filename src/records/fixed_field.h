#pragma once
#include <QByteArray>
#include <QString>

// Fixed-width text fields of the record files: one Windows-1252 byte per character, left-aligned,
// filled with blanks. The code page is the one older installations wrote their files in.
namespace FixedField {

// Exactly `width` bytes. A character the code page lacks (a code point above U+FFFF counts as
// one character) becomes '?', so a field can never spill into the next one.
QByteArray encode(const QString &text, int width);

// Inverse of encode for any bytes: decode then encode gives the same bytes back. The five bytes
// the code page leaves undefined decode to the control characters of the same value.
QString decode(const QByteArray &bytes);

// What is stored from an entry box: leading and trailing blanks (spaces) removed, cut to `width`
// characters (code points), filled with blanks up to `width`.
QString fit(const QString &text, int width);

// Cut to `width` characters (code points) and fill with blanks; no trimming.
QString pad(const QString &text, int width);

} // namespace FixedField
