#pragma once
#include <QByteArray>
#include <QString>
#include <QVector>

// Today's information: a 16-bit record number and 39 fixed-width text fields, 5912 bytes on disk.
class InfoRecord
{
public:
    enum InfoField {
        WeAreAt = 1,
        WherePhone,
        FromTime,
        ToTime,
        WhereAddress,
        BackupPhone,
        BackupRelation,
        HomeAddress,
        PolicePhone,
        HospitalPhone,
        AmbulancePhone,
        PoisonControlPhone,
        FirePhone,
        DoctorPhone,
        MedicalNotes,
        Medications,
        Allergies,
        BloodType,
        PharmacyPhone,
        InsuranceProvider,
        PolicyNumber,
        Homework,
        TvViewing,
        Chores,
        Bedtime,
        ChildrenNamesAges,
        ChildrenHobbies,
        ChildrenSchools,
        SchoolPhone,
        SpecialInstructions,
        Breakfast,
        Lunch,
        Dinner,
        HowToPrepare,
        SnacksAllowed,
        FriendsNames,
        AllowedTo,
        NotAllowedTo,
        FriendsAllowed = 39
    };
    static constexpr int RecordLength = 5912;
    static constexpr int FieldCount = 39;

    InfoRecord();

    // Layout of field 1..39; 0 for a number outside that range.
    static int width(int field);
    static int offset(int field);
    static QString name(int field);

    // The stored text: exactly width(f) characters, blank filling included, and only characters
    // the file can hold, so what is in memory is what a reload gives back.
    QString field(int f) const;
    // Text from an entry box: trimmed of blanks, cut and filled to the width.
    void setField(int f, const QString &text);
    // Text already in stored form (e.g. "No "): cut and filled only.
    void setStored(int f, const QString &text);
    QString trimmed(int f) const;

    QByteArray toBytes() const;
    // A block of any other length than RecordLength gives an all-blank record and *ok = false.
    static InfoRecord fromBytes(const QByteArray &bytes, bool *ok = nullptr);

    qint16 RecordNo = 0;

private:
    QVector<QString> m_fields; // index 0 unused
};
