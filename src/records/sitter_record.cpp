#include "records/sitter_record.h"

#include "records/fixed_field.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr std::array<int, SitterRecord::FieldCount> kWidths = {255, 14, 255, 10, 10, 10, 255};

constexpr std::array<int, SitterRecord::FieldCount + 1> offsets()
{
    std::array<int, SitterRecord::FieldCount + 1> o{};
    o[0] = 2;
    for (int f = 0; f < SitterRecord::FieldCount; ++f)
        o[f + 1] = o[f] + kWidths[f];
    return o;
}

constexpr auto kOffsets = offsets();
static_assert(kOffsets[SitterRecord::FieldCount] == SitterRecord::RecordLength, "fields must fill the record");

QString trimBlanks(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

} // namespace

int SitterRecord::width(Field f)
{
    return kWidths[f];
}

int SitterRecord::offset(Field f)
{
    return kOffsets[f];
}

void SitterRecord::setField(Field f, const QString &text)
{
    m_fields[f] = FixedField::decode(FixedField::encode(FixedField::fit(text, kWidths[f]), kWidths[f]));
}

QString SitterRecord::trimmed(Field f) const
{
    return trimBlanks(m_fields[f]);
}

bool SitterRecord::isErased() const
{
    return trimmed(SitterName) == QLatin1String("Erased");
}

int SitterRecord::blankEnd(const char *bytes, int width)
{
    // Eight blanks at a time: names are short and their fields mostly filling, and a scan of the
    // whole file checks every one.
    constexpr quint64 kBlanks = 0x2020202020202020ULL;
    int end = width;
    while (end >= 8) {
        quint64 word;
        std::memcpy(&word, bytes + end - 8, 8);
        if (word != kBlanks)
            break;
        end -= 8;
    }
    while (end > 0 && bytes[end - 1] == ' ')
        --end;
    return end;
}

bool SitterRecord::nameIsErased(const char *nameBytes)
{
    const int width = kWidths[SitterName];
    int from = 0;
    while (from < width && nameBytes[from] == ' ')
        ++from;
    // Most names differ at once; only a real marker needs its blank filling checked.
    if (width - from < 6 || std::memcmp(nameBytes + from, "Erased", 6) != 0)
        return false;
    return blankEnd(nameBytes, width) == from + 6;
}

SitterRecord SitterRecord::erased(qint16 number)
{
    SitterRecord rec;
    rec.Number = number;
    for (int f = 0; f < FieldCount; ++f)
        rec.setField(Field(f), QString());
    rec.setField(SitterName, QStringLiteral("Erased"));
    return rec;
}

QByteArray SitterRecord::toBytes() const
{
    QByteArray out(RecordLength, ' ');
    qToLittleEndian<qint16>(Number, out.data());
    for (int f = 0; f < FieldCount; ++f) {
        const QByteArray bytes = FixedField::encode(m_fields[f], kWidths[f]);
        std::memcpy(out.data() + kOffsets[f], bytes.constData(), size_t(kWidths[f]));
    }
    return out;
}

SitterRecord SitterRecord::fromBytes(const char *bytes)
{
    SitterRecord rec;
    rec.Number = qFromLittleEndian<qint16>(bytes);
    for (int f = 0; f < FieldCount; ++f)
        rec.m_fields[f] = FixedField::decode(QByteArray(bytes + kOffsets[f], kWidths[f]));
    return rec;
}
