#include "core/setup_wizard.h"

#include "core/app_state.h"
#include "records/info_file.h"
#include "records/info_record.h"
#include "services/event_pump.h"
#include "services/prompter.h"
#include "services/window_opener.h"

#include <array>

namespace {

using Kind = SetupWizard::BoxKind;
using R = InfoRecord;

constexpr std::array<SetupWizard::Box, SetupWizard::BoxCount> kBoxes = {{
    {0, R::WeAreAt, Kind::MultiLine, "Where you'll be:"},
    {0, R::FromTime, Kind::Short, "From:"},
    {0, R::ToTime, Kind::Short, "To:"},
    {0, R::WherePhone, Kind::Phone, "Phone:"},
    {0, R::WhereAddress, Kind::MultiLine, "Address you'll be at:"},
    {0, R::BackupPhone, Kind::Phone, "If I can't be reached, call:"},
    {0, R::BackupRelation, Kind::OneLine, "Relation:"},
    {0, R::HomeAddress, Kind::MultiLine, "Your Home Address:"},
    {1, R::PolicePhone, Kind::Phone, "Police:"},
    {1, R::HospitalPhone, Kind::Phone, "Hospital:"},
    {1, R::AmbulancePhone, Kind::Phone, "Ambulance:"},
    {1, R::PoisonControlPhone, Kind::Phone, "Poison Control:"},
    {1, R::FirePhone, Kind::Phone, "Fire:"},
    {2, R::DoctorPhone, Kind::Phone, "Doctors Phone:"},
    {2, R::MedicalNotes, Kind::MultiLine, "Medical Notes:"},
    {2, R::Medications, Kind::MultiLine, "Medications and Dose:"},
    {2, R::Allergies, Kind::MultiLine, "Allergies:"},
    {2, R::BloodType, Kind::OneLine, "Blood Type:"},
    {2, R::PharmacyPhone, Kind::Phone, "Pharmacy Phone:"},
    {2, R::InsuranceProvider, Kind::OneLine, "Insurance Provider:"},
    {2, R::PolicyNumber, Kind::OneLine, "Policy Number:"},
    {3, R::Homework, Kind::TallLine, "Homework:"},
    {3, R::TvViewing, Kind::TallLine, "Acceptable TV Program Viewing:"},
    {3, R::Chores, Kind::TallLine, "Chores:"},
    {3, R::Bedtime, Kind::Short, "Bedtime:"},
    {4, R::ChildrenNamesAges, Kind::TallLine, "My Childrens Names && Ages:"},
    {4, R::ChildrenHobbies, Kind::TallLine, "My Childrens Hobbies:"},
    {4, R::ChildrenSchools, Kind::TallLine, "My Childrens Schools:"},
    {4, R::SchoolPhone, Kind::Phone, "School Phone:"},
    {4, R::SpecialInstructions, Kind::TallLine, "Special Instructions:"},
    {5, R::Breakfast, Kind::MultiLine, "What's For Breakfast:"},
    {5, R::Lunch, Kind::MultiLine, "What's For Lunch:"},
    {5, R::Dinner, Kind::MultiLine, "What's For Dinner:"},
    {5, R::SnacksAllowed, Kind::MultiLine, "Snacks Allowed:"},
    {5, R::HowToPrepare, Kind::MultiLine, "How To Prepare:"},
    {6, R::FriendsNames, Kind::MultiLine, "Friends Names Allowed Over:"},
    {6, R::AllowedTo, Kind::MultiLine, "My Children Are Allowed To:"},
    {6, R::NotAllowedTo, Kind::MultiLine, "My Children Are NOT Allowed To:"},
}};

const char *const kPageTitles[SetupWizard::PageCount]
    = {"Where", "Police", "Medical", "Today", "Kids", "Meals", "Allowed"};

bool pairAt(const QString &text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
}

} // namespace

const SetupWizard::Box &SetupWizard::box(int index)
{
    return kBoxes.at(size_t(index));
}

int SetupWizard::maxLength(int index)
{
    return InfoRecord::width(box(index).field);
}

QString SetupWizard::pageTitle(int page)
{
    return page >= 0 && page < PageCount ? QString::fromLatin1(kPageTitles[page]) : QString();
}

SetupWizard::SetupWizard(AppState &state, WindowOpener &windows) : m_state(state), m_windows(windows)
{
}

void SetupWizard::open()
{
    m_state.WizardPage = 0;
    m_finished = false;
    m_refill = false;
    m_closing = false;
    m_state.WizardOpen = true;
    if (!m_unsaved)
        LoadTodayInfo();
}

void SetupWizard::press(Button button, const Entries &entries)
{
    m_refill = false;
    int &page = m_state.WizardPage;
    switch (button) {
    case Back:
        // Nothing is saved, and nothing typed is thrown away either.
        page = qMax(page - 1, 0);
        showPage();
        break;
    case Next:
        ++page;
        m_refill = SaveTodayInfo(entries);
        showPage();
        break;
    case Help: m_windows.showHelp(1); break;
    case Close:
        m_refill = SaveTodayInfo(entries);
        m_state.PlayWave("push.wav");
        if (m_state.services.events)
            m_state.services.events->handlePendingEvents();
        m_closing = true;
        return;
    }
    if (m_finished) {
        m_finished = false;
        m_closing = true;
    }
}

void SetupWizard::closed()
{
    m_state.WizardOpen = false;
    m_closing = false;
}

void SetupWizard::showPage()
{
    int &page = m_state.WizardPage;
    if (page > LastPage) {
        m_finished = true;
        page = LastPage;
    }
    if (page != LastPage)
        m_finished = false;
}

int SetupWizard::page() const
{
    return m_state.WizardPage;
}

bool SetupWizard::backVisible() const
{
    return page() >= 1;
}

bool SetupWizard::closeVisible() const
{
    return page() != LastPage;
}

QString SetupWizard::nextCaption() const
{
    return page() == LastPage ? QStringLiteral("&Finish") : QStringLiteral("&Next >>");
}

bool SetupWizard::SaveTodayInfo(const Entries &entries)
{
    CollectWizardFields(m_state.TodayInfo, entries, m_state.InfoRecordNo);
    if (InfoFile::write(m_state.InfoFilePath, m_state.InfoRecordNo, m_state.TodayInfo)) {
        m_unsaved = false;
        return true;
    }
    // Today's information keeps what was collected, so the main window and the next opening
    // still show what was typed.
    m_unsaved = true;
    m_state.tellSaveFailed();
    return false;
}

void SetupWizard::LoadTodayInfo()
{
    InfoRecord record = m_state.TodayInfo;
    if (InfoFile::read(m_state.InfoFilePath, m_state.InfoRecordNo, record) != InfoFile::ReadResult::Error)
        m_state.TodayInfo = record;
}

void SetupWizard::CollectWizardFields(InfoRecord &record, const Entries &entries, int recordNo)
{
    record.RecordNo = qint16(recordNo);
    for (int i = 0; i < BoxCount; ++i) {
        QString text = entries.texts.value(i);
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        record.setField(box(i).field, text);
    }
    record.setStored(InfoRecord::FriendsAllowed, entries.friendsAllowed ? "Yes" : "No ");
}

QString SetupWizard::boxText(const InfoRecord &record, int index)
{
    QString text = record.field(box(index).field);
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    if (box(index).kind == BoxKind::MultiLine) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return text;
}

int SetupWizard::storedLength(const QString &text)
{
    int bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (pairAt(text, i))
            ++i; // stored as one '?'
        else if (text.at(i) == QLatin1Char('\n'))
            ++bytes;
        ++bytes;
    }
    return bytes;
}

int SetupWizard::fittingPrefix(const QString &inserted, int room)
{
    if (room < 0)
        return 0;
    int used = 0;
    qsizetype i = 0;
    while (i < inserted.size()) {
        const qsizetype step = pairAt(inserted, i) ? 2 : 1;
        const int bytes = inserted.at(i) == QLatin1Char('\n') ? 2 : 1;
        if (used + bytes > room)
            break;
        used += bytes;
        i += step;
    }
    return int(i);
}

SetupWizard::Span SetupWizard::overflow(const QString &before, const QString &after, int maxBytes)
{
    if (storedLength(after) <= maxBytes)
        return {};
    // What the edit put in lies between the parts before and after it that did not change.
    qsizetype head = 0;
    const qsizetype shortest = qMin(before.size(), after.size());
    while (head < shortest && before.at(head) == after.at(head))
        ++head;
    if (head > 0 && after.at(head - 1).isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < shortest - head && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    if (tail > 0 && after.at(after.size() - tail).isLowSurrogate())
        --tail;
    const QString inserted = after.mid(head, after.size() - head - tail);
    const int rest = storedLength(after) - storedLength(inserted);
    const int keep = fittingPrefix(inserted, maxBytes - rest);
    return {int(head) + keep, int(inserted.size()) - keep};
}

bool SetupWizard::phoneCharAllowed(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || u == ' ' || u == ',' || u == '-' || u == '.' || u == 8 || u == 9 || u == 10;
}

void SetupWizard::fitPhoneEdit(QString &text, int &cursor, int width)
{
    QString kept;
    kept.reserve(text.size());
    int newCursor = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!phoneCharAllowed(text.at(i)))
            continue;
        kept.append(text.at(i));
        if (i < cursor)
            ++newCursor;
    }
    const int excess = int(kept.size()) - width;
    if (excess > 0) {
        const int from = qMax(0, newCursor - excess);
        kept.remove(from, newCursor - from);
        newCursor = from;
        // A cursor at the very start leaves nothing before it to give way; cut the end instead.
        if (kept.size() > width)
            kept.truncate(width);
    }
    text = kept;
    cursor = qMin(newCursor, int(text.size()));
}
