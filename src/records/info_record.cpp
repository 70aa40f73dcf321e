#include "records/info_record.h"

#include "records/fixed_field.h"

#include <QtEndian>
#include <array>

namespace {

struct FieldDef {
    const char *name;
    int width;
};

constexpr std::array<FieldDef, InfoRecord::FieldCount + 1> kFields = {{
    {"RecordNo", 2},
    {"WeAreAt", 255},
    {"WherePhone", 14},
    {"FromTime", 8},
    {"ToTime", 8},
    {"WhereAddress", 255},
    {"BackupPhone", 14},
    {"BackupRelation", 55},
    {"HomeAddress", 255},
    {"PolicePhone", 14},
    {"HospitalPhone", 14},
    {"AmbulancePhone", 14},
    {"PoisonControlPhone", 14},
    {"FirePhone", 14},
    {"DoctorPhone", 14},
    {"MedicalNotes", 255},
    {"Medications", 225},
    {"Allergies", 255},
    {"BloodType", 24},
    {"PharmacyPhone", 14},
    {"InsuranceProvider", 125},
    {"PolicyNumber", 24},
    {"Homework", 225},
    {"TvViewing", 255},
    {"Chores", 255},
    {"Bedtime", 8},
    {"ChildrenNamesAges", 255},
    {"ChildrenHobbies", 255},
    {"ChildrenSchools", 255},
    {"SchoolPhone", 14},
    {"SpecialInstructions", 255},
    {"Breakfast", 255},
    {"Lunch", 255},
    {"Dinner", 255},
    {"HowToPrepare", 555},
    {"SnacksAllowed", 255},
    {"FriendsNames", 175},
    {"AllowedTo", 255},
    {"NotAllowedTo", 255},
    {"FriendsAllowed", 3},
}};

constexpr std::array<int, InfoRecord::FieldCount + 2> offsets()
{
    std::array<int, InfoRecord::FieldCount + 2> o{};
    for (int f = 1; f <= InfoRecord::FieldCount + 1; ++f)
        o[f] = o[f - 1] + kFields[f - 1].width;
    return o;
}

constexpr auto kOffsets = offsets();
static_assert(kOffsets[InfoRecord::FieldCount + 1] == InfoRecord::RecordLength, "fields must fill the record");

bool valid(int f)
{
    return f >= 1 && f <= InfoRecord::FieldCount;
}

// Keeps the in-memory text to what the file can hold, so a save and reload changes nothing.
QString storable(const QString &fitted, int width)
{
    return FixedField::decode(FixedField::encode(fitted, width));
}

} // namespace

InfoRecord::InfoRecord() : m_fields(FieldCount + 1)
{
    for (int f = 1; f <= FieldCount; ++f)
        m_fields[f] = QString(width(f), QLatin1Char(' '));
}

int InfoRecord::width(int field)
{
    return valid(field) ? kFields[field].width : 0;
}

int InfoRecord::offset(int field)
{
    return valid(field) ? kOffsets[field] : 0;
}

QString InfoRecord::name(int field)
{
    return valid(field) ? QString::fromLatin1(kFields[field].name) : QString();
}

QString InfoRecord::field(int f) const
{
    return valid(f) ? m_fields[f] : QString();
}

void InfoRecord::setField(int f, const QString &text)
{
    if (valid(f))
        m_fields[f] = storable(FixedField::fit(text, width(f)), width(f));
}

void InfoRecord::setStored(int f, const QString &text)
{
    if (valid(f))
        m_fields[f] = storable(FixedField::pad(text, width(f)), width(f));
}

QString InfoRecord::trimmed(int f) const
{
    const QString &s = valid(f) ? m_fields[f] : QString();
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && s.at(to - 1) == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

QByteArray InfoRecord::toBytes() const
{
    QByteArray out(RecordLength, ' ');
    qToLittleEndian<qint16>(RecordNo, out.data());
    for (int f = 1; f <= FieldCount; ++f) {
        const QByteArray bytes = FixedField::encode(m_fields[f], width(f));
        std::copy(bytes.cbegin(), bytes.cend(), out.begin() + offset(f));
    }
    return out;
}

InfoRecord InfoRecord::fromBytes(const QByteArray &bytes, bool *ok)
{
    InfoRecord rec;
    if (ok)
        *ok = bytes.size() == RecordLength;
    if (bytes.size() != RecordLength)
        return rec;
    rec.RecordNo = qFromLittleEndian<qint16>(bytes.constData());
    for (int f = 1; f <= FieldCount; ++f)
        rec.m_fields[f] = FixedField::decode(bytes.mid(offset(f), width(f)));
    return rec;
}
