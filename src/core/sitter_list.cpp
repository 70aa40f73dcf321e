#include "core/sitter_list.h"

#include "core/app_state.h"
#include "core/sitter_sums.h"
#include "services/prompter.h"

namespace {
constexpr SitterRecord::Field kBoxField[SitterList::BoxCount]
    = {SitterRecord::SitterName, SitterRecord::Phone,       SitterRecord::Address, SitterRecord::Available,
       SitterRecord::Wage,       SitterRecord::HoursWorked, SitterRecord::Info,    SitterRecord::Info};

bool stored(int box)
{
    return box != SitterList::TotalBox;
}

// Boxes show the text without its blank filling: a box full of trailing blanks would put the
// cursor far from the text. Writing trims the blanks again, so nothing stored changes.
QString shown(const QString &field)
{
    qsizetype end = field.size();
    while (end > 0 && field.at(end - 1) == QLatin1Char(' '))
        --end;
    return field.left(end);
}
} // namespace

SitterList::SitterList(AppState &state, QObject *parent) : QObject(parent), m_state(state)
{
}

QString SitterList::tooLargeText()
{
    return QStringLiteral("The sitter list file holds more than 32,767 sitters, more than this program can "
                          "number. Nothing was changed.");
}

QString SitterList::fullText()
{
    return QStringLiteral("The sitter list is full: it holds 32,767 sitters. Erase a sitter to make room for a "
                          "new one.");
}

QString SitterList::addCaption() const
{
    return AddingNew ? QStringLiteral("&Save") : QStringLiteral("&Add New Sitter");
}

QString SitterList::searchCaption() const
{
    return Searching ? QStringLiteral("&Find Next") : QStringLiteral("&Search");
}

bool SitterList::refused(const SitterFile::Outcome &out)
{
    QString text;
    if (out.status == SitterFile::Status::TooLarge)
        text = tooLargeText();
    else if (out.status == SitterFile::Status::Full)
        text = fullText();
    else
        return false;
    if (m_state.services.prompter)
        m_state.services.prompter->message(text, QStringLiteral("Sitter List"), Prompter::Icon::Warning);
    return true;
}

SitterRecord SitterList::fromBoxes() const
{
    SitterRecord rec;
    for (int i = 0; i < BoxCount; ++i)
        if (stored(i))
            rec.setField(kBoxField[i], m_boxes[i]);
    return rec;
}

void SitterList::clearBoxes()
{
    m_boxes.fill(QString());
}

void SitterList::ShowSitter()
{
    const SitterFile::Outcome out = SitterFile::read(m_state.SitterFilePath, CurrentSitter, m_buffer);
    if (out.status == SitterFile::Status::TooLarge) {
        refused(out);
        SitterCount = 0;
    } else if (out.status != SitterFile::Status::Error) {
        SitterCount = out.count;
    }
    for (int i = 0; i < BoxCount; ++i)
        if (stored(i))
            m_boxes[i] = shown(m_buffer.field(kBoxField[i]));
    // A total belongs to the sitter it was worked out for.
    m_boxes[TotalBox].clear();
    // The position read, not the number stored in it: a record carrying a wrong number must not
    // send the next update to another record.
    CurrentSitter = out.ok() ? out.number : m_buffer.Number;
    m_label = QString::number(CurrentSitter);
    if (SitterCount > 0)
        AddingNew = false;
}

void SitterList::placeBrowseButtons()
{
    m_backVisible = !AddingNew && CurrentSitter > 1;
    m_nextVisible = !AddingNew && CurrentSitter < SitterCount;
}

void SitterList::open()
{
    m_state.FindNextRequested = false;
    CurrentSitter = 1;
    ShowSitter();
    if (SitterCount == 0) {
        AddingNew = true;
        m_label = QString::number(1);
    }
    placeBrowseButtons();
    done();
}

void SitterList::update()
{
    // Adding, or nothing on display (an empty file): the typed sitter is saved as a new one
    // rather than written over a record that is not shown.
    if (AddingNew || CurrentSitter < 1) {
        AddingNew = true;
        addOrSave();
        return;
    }
    const SitterFile::Outcome out = SitterFile::write(m_state.SitterFilePath, CurrentSitter, fromBoxes());
    if (!refused(out) && !out.ok())
        m_state.tellSaveFailed();
    if (out.ok())
        SitterCount = out.count;
    done();
}

void SitterList::erase()
{
    if (!AddingNew && CurrentSitter < 1)
        return;
    Prompter *prompter = m_state.services.prompter;
    if (!prompter
        || !prompter->question(QStringLiteral("Are you sure you want to erase this sitter from the list?"),
                               QStringLiteral("Are you sure?")))
        return;
    if (AddingNew) {
        cancelEntry();
        return;
    }
    clearBoxes();
    SitterFile::Outcome out
        = SitterFile::write(m_state.SitterFilePath, CurrentSitter, SitterRecord::erased(qint16(CurrentSitter)));
    refused(out);
    ShowSitter();
    placeBrowseButtons();
    m_state.PlayWave(QStringLiteral("flash.wav"));
    done();
}

void SitterList::cancelEntry()
{
    clearBoxes();
    if (SitterCount > 0) {
        ShowSitter();
    } else {
        AddingNew = true;
        m_label = QString::number(1);
    }
    placeBrowseButtons();
    done();
}

void SitterList::back()
{
    CurrentSitter = qMax(1, CurrentSitter - 1);
    m_boxes[TotalBox].clear();
    ShowSitter();
    placeBrowseButtons();
    done();
}

void SitterList::next()
{
    CurrentSitter = qMax(1, qMin(CurrentSitter + 1, SitterCount));
    m_boxes[TotalBox].clear();
    ShowSitter();
    placeBrowseButtons();
    done();
}

void SitterList::total()
{
    m_boxes[TotalBox] = SitterSums::total(m_boxes[4], m_boxes[5]);
    done();
}

void SitterList::addTimer()
{
    m_boxes[5] = SitterSums::addTimer(m_boxes[5], m_state.TimedHours, m_state.TimedMinutes);
    done();
}

void SitterList::addOrSave()
{
    if (AddingNew) {
        save();
        placeBrowseButtons();
        done();
        return;
    }
    clearBoxes();
    AddingNew = true;
    const SitterFile::Outcome slot = SitterFile::nextSlot(m_state.SitterFilePath);
    // The number the entry will really get: an erased slot is reused before the file grows.
    m_label = QString::number(slot.ok() ? slot.number : SitterCount + 1);
    placeBrowseButtons();
    done();
}

bool SitterList::save()
{
    const SitterFile::Outcome out = SitterFile::add(m_state.SitterFilePath, fromBoxes());
    if (!out.ok()) {
        // The typed sitter stays in the boxes, ready for another try.
        if (!refused(out) && m_state.services.prompter)
            m_state.services.prompter->message(QStringLiteral("Error updating file."), QStringLiteral("Update Error!"),
                                               Prompter::Icon::Critical);
        return false;
    }
    CurrentSitter = out.number;
    ShowSitter();
    AddingNew = false;
    return true;
}

void SitterList::setSearchText(const QString &text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    if (Searching) {
        endSearch();
        done();
    }
}

void SitterList::search()
{
    if (!Searching) {
        Searching = true;
        m_searchFor = m_searchText.trimmed();
        scanFrom(1);
    } else {
        ResumeAfter = CurrentSitter;
        m_state.FindNextRequested = true;
        release();
    }
    done();
}

void SitterList::release()
{
    if (m_state.ListClosing) {
        endSearch();
        return;
    }
    m_state.FindNextRequested = false;
    if (m_match >= SitterCount) {
        endSearch();
        return;
    }
    scanFrom(ResumeAfter + 1);
}

void SitterList::scanFrom(int from)
{
    const SitterFile::Outcome out = SitterFile::findName(m_state.SitterFilePath, m_searchFor, from);
    if (out.status == SitterFile::Status::Error) {
        if (m_state.services.prompter)
            m_state.services.prompter->message(QStringLiteral("Error searching files. %1").arg(out.errorCode),
                                               QStringLiteral("Search Error!"), Prompter::Icon::Critical);
        endSearch();
        return;
    }
    if (refused(out) || !out.ok()) {
        endSearch();
        return;
    }
    m_match = out.number;
    CurrentSitter = m_match;
    ShowSitter();
    placeBrowseButtons();
}

void SitterList::endSearch()
{
    Searching = false;
    ResumeAfter = 0;
    m_match = 0;
}

void SitterList::closing()
{
    m_state.ListClosing = true;
    m_state.FindNextRequested = true;
    AddingNew = false;
    if (Searching)
        release();
    done();
}
