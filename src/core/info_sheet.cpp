#include "core/info_sheet.h"

#include <QLocale>

namespace {
struct Line {
    const char *label;
    int field; // 0: the home phone from the settings
    bool phone;
};

struct Page {
    const char *title;
    QVector<Line> lines;
};

// The pages and labels of the main window, in the same order.
const QVector<Page> &pages()
{
    using R = InfoRecord;
    static const QVector<Page> all = {
        {"Where?",
         {{"We are at:", R::WeAreAt, false},
          {"From:", R::FromTime, false},
          {"To:", R::ToTime, false},
          {"Phone:", R::WherePhone, true},
          {"Address:", R::WhereAddress, false},
          {"If I can't be reached, call:", R::BackupPhone, true},
          {"Relation:", R::BackupRelation, false},
          {"Our Address:", R::HomeAddress, false},
          {"Our Phone:", 0, true}}},
        {"Emergency",
         {{"Police:", R::PolicePhone, true},
          {"Hospital:", R::HospitalPhone, true},
          {"Ambulance:", R::AmbulancePhone, true},
          {"Poison Control:", R::PoisonControlPhone, true},
          {"Fire:", R::FirePhone, true}}},
        {"Medical",
         {{"Doctor:", R::DoctorPhone, true},
          {"Medical Notes:", R::MedicalNotes, false},
          {"Medications and Dose:", R::Medications, false},
          {"Allergies:", R::Allergies, false},
          {"Blood Type:", R::BloodType, false},
          {"Pharmacy:", R::PharmacyPhone, true},
          {"Insurance Provider:", R::InsuranceProvider, false},
          {"Policy Number:", R::PolicyNumber, false}}},
        {"Schedule",
         {{"Homework:", R::Homework, false},
          {"Acceptable TV Program Viewing:", R::TvViewing, false},
          {"Chores:", R::Chores, false},
          {"Bedtime:", R::Bedtime, false}}},
        {"My Kids",
         {{"My Childrens Names & Ages:", R::ChildrenNamesAges, false},
          {"My Childrens Hobbies:", R::ChildrenHobbies, false},
          {"My Childrens Schools:", R::ChildrenSchools, false},
          {"School Phone:", R::SchoolPhone, true},
          {"Special Instructions:", R::SpecialInstructions, false}}},
        {"Meals",
         {{"What's For Breakfast:", R::Breakfast, false},
          {"What's For Lunch:", R::Lunch, false},
          {"What's For Dinner:", R::Dinner, false},
          {"How To Prepare:", R::HowToPrepare, false},
          {"Snacks Allowed:", R::SnacksAllowed, false}}},
        {"Allowed",
         {{"Friends Allowed Over:", R::FriendsAllowed, false},
          {"Friends:", R::FriendsNames, false},
          {"My Children Are Allowed To:", R::AllowedTo, false},
          {"My Children Are NOT Allowed To:", R::NotAllowedTo, false}}},
    };
    return all;
}
} // namespace

QString InfoSheet::paperText(const QString &stored)
{
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}

InfoSheet InfoSheet::from(const InfoRecord &record, const SettingsFlags &family, const QDate &date)
{
    InfoSheet sheet;
    const QString name = family.FamilyName.trimmed();
    sheet.title = name.isEmpty() ? QStringLiteral("Today's Information") : name + " Family";
    sheet.date = QLocale::system().toString(date, QLocale::LongFormat);
    sheet.homePhone = family.HomePhone.trimmed();
    for (const Page &page : pages()) {
        Group group{QString::fromLatin1(page.title), {}};
        for (const Line &line : page.lines) {
            QString text;
            if (line.field == 0)
                text = sheet.homePhone;
            else if (line.field == InfoRecord::FriendsAllowed)
                // As on the screen: anything but "Yes" reads as no.
                text = record.trimmed(line.field) == QLatin1String("Yes") ? "Yes" : "No";
            else
                text = paperText(record.field(line.field));
            group.rows.append({QString::fromLatin1(line.label), text, line.phone});
        }
        sheet.groups.append(group);
    }
    return sheet;
}
