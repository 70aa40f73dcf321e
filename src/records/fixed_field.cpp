#include "records/fixed_field.h"

#include <array>

namespace {

// 0x80-0x9F of Windows-1252; the undefined bytes map to themselves so every byte round-trips.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char toByte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return char(cp);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return char(0x80 + i);
    return '?';
}

// Index just past `count` code points of `text` (or its size); a lone surrogate counts as one.
qsizetype codePointEnd(const QString &text, qsizetype count)
{
    qsizetype i = 0;
    for (qsizetype n = 0; n < count && i < text.size(); ++n) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            i += 2;
        else
            i += 1;
    }
    return i;
}

qsizetype codePointCount(const QString &text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++n)
        i += (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
    return n;
}

} // namespace

namespace FixedField {

QByteArray encode(const QString &text, int width)
{
    if (width <= 0)
        return {};
    QByteArray out;
    out.reserve(width);
    qsizetype i = 0;
    while (i < text.size() && out.size() < width) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append('?');
            i += 2;
        } else {
            out.append(c.isSurrogate() ? '?' : toByte(c.unicode()));
            i += 1;
        }
    }
    out.append(QByteArray(width - out.size(), ' '));
    return out;
}

QString decode(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = uchar(b);
        out.append(u >= 0x80 && u <= 0x9F ? QChar(kHigh[u - 0x80]) : QChar(u));
    }
    return out;
}

QString pad(const QString &text, int width)
{
    if (width <= 0)
        return {};
    QString out = text.left(codePointEnd(text, width));
    const qsizetype have = codePointCount(out);
    if (have < width)
        out.append(QString(width - have, QLatin1Char(' ')));
    return out;
}

QString fit(const QString &text, int width)
{
    // Only blanks are trimmed: a line break at either end of a multi-line box is part of the text.
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return pad(text.mid(from, to - from), width);
}

} // namespace FixedField
