#pragma once
#include <QByteArray>
#include <QString>
#include <array>

// One sitter: a 16-bit record number and seven fixed-width text fields, 811 bytes on disk.
class SitterRecord
{
public:
    enum Field { SitterName, Phone, Address, Available, Wage, HoursWorked, Info };
    static constexpr int FieldCount = 7;
    static constexpr int RecordLength = 811;
    // Record numbers and the count are 16-bit in the file format.
    static constexpr int MaxRecords = 32767;

    static int width(Field f);
    static int offset(Field f);

    // The text as stored, blank filling included; empty for a record never read or set.
    QString field(Field f) const { return m_fields[f]; }
    // Text from an entry box: trimmed of blanks, cut and filled to the width, and only what the
    // code page can hold, so memory matches what a reload gives back.
    void setField(Field f, const QString &text);
    QString trimmed(Field f) const;

    // A free slot: the name is exactly "Erased" once blanks are trimmed (letter case counts).
    bool isErased() const;
    static SitterRecord erased(qint16 number);
    static bool nameIsErased(const char *nameBytes);
    // Length of `bytes` without its trailing blanks.
    static int blankEnd(const char *bytes, int width);

    QByteArray toBytes() const;
    // `bytes` must be RecordLength long.
    static SitterRecord fromBytes(const char *bytes);

    qint16 Number = 0;

private:
    std::array<QString, FieldCount> m_fields;
};
