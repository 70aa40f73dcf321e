#include "app/today_info_pages.h"

#include "app/decorations.h"
#include "app/phone_picture.h"
#include "controls/look.h"
#include "records/info_record.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <utility>

namespace {

const QColor kQuestionColour(19, 60, 120);

QLabel *questionLabel(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, kQuestionColour);
    label->setPalette(pal);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

QLabel *answerLabel(const QString &objectName, const QString &question, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    // Typed text is shown as typed, never interpreted as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    label->setAccessibleDescription(question);
    return label;
}

// A row holding several controls side by side.
std::pair<QWidget *, QHBoxLayout *> sharedLine(QWidget *parent)
{
    auto *line = new QWidget(parent);
    auto *h = new QHBoxLayout(line);
    h->setContentsMargins(0, 0, 0, 0);
    return {line, h};
}

QString nm(const char *base, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

// A page: a scroll area (long answers never get cut off) holding a grid of question/answer rows
// and a picture in its top-right corner.
struct PageBuilder {
    QWidget *content;
    QGridLayout *grid;
    int row = 0;

    PageBuilder(QTabWidget *tabs, const QString &title, const QString &objectName, Decorations::Page pic,
                const QString &heading = QString())
    {
        auto *scroll = new QScrollArea;
        scroll->setObjectName(objectName + "Scroll");
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        // Long answers wrap; the page only ever scrolls down.
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        content = new QWidget;
        content->setObjectName(objectName);
        auto *outer = new QVBoxLayout(content);
        outer->setContentsMargins(10, 8, 10, 8);
        auto *top = new QHBoxLayout;
        if (!heading.isEmpty()) {
            auto *h = new QLabel(heading, content);
            h->setObjectName(objectName + "Heading");
            h->setTextFormat(Qt::PlainText);
            QFont f = h->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.25);
            h->setFont(f);
            QPalette pal = h->palette();
            pal.setColor(QPalette::WindowText, Look::warningText());
            h->setPalette(pal);
            top->addWidget(h, 1, Qt::AlignRight | Qt::AlignVCenter);
        } else {
            top->addStretch(1);
        }
        auto *picture = new QLabel(content);
        picture->setObjectName(objectName + "Picture");
        picture->setPixmap(Decorations::pagePicture(pic, 40));
        picture->setAccessibleName(title);
        top->addWidget(picture, 0, Qt::AlignRight);
        outer->addLayout(top);
        grid = new QGridLayout;
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(7);
        grid->setColumnStretch(1, 1);
        outer->addLayout(grid);
        outer->addStretch(1);
        scroll->setWidget(content);
        tabs->addTab(scroll, title);
    }
};

} // namespace

QString TodayInfoPages::displayText(const QString &stored)
{
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // The blank filling up to the field's width is not worth showing.
    int end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    // A file edited by hand may hold bytes that are no character: NUL shows as nothing, the
    // rest as the replacement character rather than as boxes that differ from face to face.
    text.remove(QChar(0));
    QString shown;
    shown.reserve(text.size());
    int wordLength = 0;
    for (const QChar c : qAsConst(text)) {
        const ushort u = c.unicode();
        const bool control = (u < 0x20 && u != '\n' && u != '\t') || (u >= 0x7F && u < 0xA0);
        if (c.isSpace()) {
            wordLength = 0;
        } else if (++wordLength > LongWord) {
            // A word wider than the page (a web address, a long name) may break anywhere
            // rather than push the page sideways.
            shown += QChar(0x200B);
        }
        shown += control ? QChar(QChar::ReplacementCharacter) : c;
    }
    return shown;
}

TodayInfoPages::TodayInfoPages(QWidget *parent) : QTabWidget(parent)
{
    setObjectName("VideoSoftIndexTab1");
    setAccessibleName("Today's information");
    setDocumentMode(false);

    auto addRow = [this](PageBuilder &b, const char *qBase, int qi, const QString &question, const char *aBase, int ai,
                         int field, int phone = -1) {
        auto *q = questionLabel(nm(qBase, qi), question, b.content);
        auto *a = answerLabel(nm(aBase, ai), question, b.content);
        b.grid->addWidget(q, b.row, 0);
        if (field >= 0)
            m_answers.insert(field, a);
        if (phone >= 0) {
            // The phone picture stands right beside its number.
            auto [line, h] = sharedLine(b.content);
            a->setParent(line);
            a->setWordWrap(false);
            a->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
            auto *pic = new PhonePicture(phone, "Phone: " + question.chopped(1), line);
            connect(pic, &PhonePicture::clicked, this, &TodayInfoPages::phoneClicked);
            m_phones[phone] = pic;
            h->addWidget(a);
            h->addWidget(pic, 0, Qt::AlignVCenter);
            h->addStretch(1);
            b.grid->addWidget(line, b.row, 1);
        } else {
            b.grid->addWidget(a, b.row, 1);
        }
        ++b.row;
        return a;
    };

    // "Where?"
    {
        PageBuilder b(this, "Where?", "Front", Decorations::Page::Where);
        addRow(b, "Lbl1Question", 0, "We are at:", "Lbl1Answer", 0, InfoRecord::WeAreAt);
        // From and To share one line.
        auto *fromQ = questionLabel(nm("Lbl1Question", 1), "From:", b.content);
        auto [line, h] = sharedLine(b.content);
        auto *fromA = answerLabel(nm("Lbl1Answer", 1), "From:", line);
        auto *toQ = questionLabel(nm("Lbl1Question", 2), "To:", line);
        auto *toA = answerLabel(nm("Lbl1Answer", 2), "To:", line);
        fromA->setWordWrap(false);
        toA->setWordWrap(false);
        h->addWidget(fromA, 1);
        h->addWidget(toQ);
        h->addWidget(toA, 1);
        b.grid->addWidget(fromQ, b.row, 0);
        b.grid->addWidget(line, b.row, 1);
        ++b.row;
        m_answers.insert(InfoRecord::FromTime, fromA);
        m_answers.insert(InfoRecord::ToTime, toA);
        addRow(b, "Lbl1Question", 3, "Phone:", "Lbl1Answer", 3, InfoRecord::WherePhone, 0);
        addRow(b, "Lbl1Question", 4, "Address:", "Lbl1Answer", 4, InfoRecord::WhereAddress);
        addRow(b, "Lbl1Question", 5, "If I can't be reached, call:", "Lbl1Answer", 5, InfoRecord::BackupPhone, 1);
        addRow(b, "Lbl1Question", 6, "Relation:", "Lbl1Answer", 6, InfoRecord::BackupRelation);
        addRow(b, "Lbl1Question", 7, "Our Address:", "Lbl1Answer", 7, InfoRecord::HomeAddress);
        auto *phoneQ = questionLabel(nm("Lbl1Question", 8), "Our Phone:", b.content);
        Lblphone = answerLabel("Lblphone", "Our Phone:", b.content);
        b.grid->addWidget(phoneQ, b.row, 0);
        b.grid->addWidget(Lblphone, b.row, 1);
        ++b.row;
    }
    // "Emergency"
    {
        PageBuilder b(this, "Emergency", "Emergency", Decorations::Page::Emergency, "Emergency only: Call - 911");
        addRow(b, "Lbl2Question", 0, "Police:", "Lbl2Answer", 0, InfoRecord::PolicePhone, 2);
        addRow(b, "Lbl2Question", 1, "Hospital:", "Lbl2Answer", 1, InfoRecord::HospitalPhone, 3);
        addRow(b, "Lbl2Question", 2, "Ambulance:", "Lbl2Answer", 2, InfoRecord::AmbulancePhone, 4);
        addRow(b, "Lbl2Question", 3, "Poison Control:", "Lbl2Answer", 3, InfoRecord::PoisonControlPhone, 5);
        addRow(b, "Lbl2Question", 4, "Fire:", "Lbl2Answer", 4, InfoRecord::FirePhone, 6);
        b.grid->setRowMinimumHeight(b.row++, 24);
        Check1 = new QCheckBox("Allow 911 Voice Activation", b.content);
        Check1->setObjectName("Check1");
        Check2 = new QCheckBox("Allow Voice \"Alarm\" Activation", b.content);
        Check2->setObjectName("Check2");
        b.grid->addWidget(Check1, b.row++, 1);
        b.grid->addWidget(Check2, b.row++, 1);
    }
    // "Medical"
    {
        PageBuilder b(this, "Medical", "Medical", Decorations::Page::Medical);
        addRow(b, "Lbl3Question", 0, "Doctor:", "Lbl3Answer", 0, InfoRecord::DoctorPhone, 7);
        addRow(b, "Lbl3Question", 1, "Medical Notes:", "Lbl3Answer", 1, InfoRecord::MedicalNotes);
        addRow(b, "Lbl3Question", 2, "Medications and Dose:", "Lbl3Answer", 2, InfoRecord::Medications);
        // Allergies and blood type share one line.
        auto *allergyQ = questionLabel(nm("Lbl3Question", 3), "Allergies:", b.content);
        auto [line, h] = sharedLine(b.content);
        auto *allergyA = answerLabel(nm("Lbl3Answer", 3), "Allergies:", line);
        auto *bloodQ = questionLabel(nm("Lbl3Question", 4), "Blood Type:", line);
        auto *bloodA = answerLabel(nm("Lbl3Answer", 4), "Blood Type:", line);
        bloodA->setWordWrap(false);
        h->addWidget(allergyA, 3);
        h->addWidget(bloodQ, 0, Qt::AlignTop);
        h->addWidget(bloodA, 1, Qt::AlignTop);
        b.grid->addWidget(allergyQ, b.row, 0);
        b.grid->addWidget(line, b.row, 1);
        ++b.row;
        m_answers.insert(InfoRecord::Allergies, allergyA);
        m_answers.insert(InfoRecord::BloodType, bloodA);
        addRow(b, "Lbl3Question", 5, "Pharmacy:", "Lbl3Answer", 5, InfoRecord::PharmacyPhone, 8);
        addRow(b, "Lbl3Question", 6, "Insurance Provider:", "Lbl3Answer", 6, InfoRecord::InsuranceProvider);
        addRow(b, "Lbl3Question", 7, "Policy Number:", "Lbl3Answer", 7, InfoRecord::PolicyNumber);
    }
    // "Schedule"
    {
        PageBuilder b(this, "Schedule", "Schedule", Decorations::Page::Schedule);
        addRow(b, "Lbl4Question", 0, "Homework:", "Lbl4Answer", 0, InfoRecord::Homework);
        addRow(b, "Lbl4Question", 1, "Acceptable TV Program Viewing:", "Lbl4Answer", 1, InfoRecord::TvViewing);
        addRow(b, "Lbl4Question", 2, "Chores:", "Lbl4Answer", 2, InfoRecord::Chores);
        auto *bedQ = questionLabel(nm("Lbl4Question", 3), "Bedtime:", b.content);
        auto [line, h] = sharedLine(b.content);
        auto *bedA = answerLabel(nm("Lbl4Answer", 3), "Bedtime:", line);
        bedA->setWordWrap(false);
        h->addWidget(bedA, 1);
        // Not exclusive through the widget itself: neither is selected when the program starts.
        auto *alarmGroup = new QButtonGroup(this);
        for (int i = 0; i < 2; ++i) {
            Option1[i] = new QRadioButton(i == 0 ? "Alarm ON" : "Alarm OFF", line);
            Option1[i]->setObjectName(nm("Option1", i));
            alarmGroup->addButton(Option1[i], i);
            h->addWidget(Option1[i]);
        }
        b.grid->addWidget(bedQ, b.row, 0);
        b.grid->addWidget(line, b.row, 1);
        ++b.row;
        m_answers.insert(InfoRecord::Bedtime, bedA);
    }
    // "My Kids"
    {
        PageBuilder b(this, "My Kids", "Kids", Decorations::Page::Kids);
        addRow(b, "Lbl5Question", 0, "My Childrens Names & Ages:", "Lbl5Answer", 0, InfoRecord::ChildrenNamesAges);
        addRow(b, "Lbl5Question", 1, "My Childrens Hobbies:", "Lbl5Answer", 1, InfoRecord::ChildrenHobbies);
        auto *schoolQ = questionLabel(nm("Lbl5Question", 2), "My Childrens Schools:", b.content);
        auto [line, h] = sharedLine(b.content);
        auto *schoolsA = answerLabel(nm("Lbl5Answer", 2), "My Childrens Schools:", line);
        auto *schoolPhoneA = answerLabel(nm("Lbl5Answer", 4), "School Phone:", line);
        schoolPhoneA->setWordWrap(false);
        auto *pic = new PhonePicture(9, "Phone: School", line);
        connect(pic, &PhonePicture::clicked, this, &TodayInfoPages::phoneClicked);
        m_phones[9] = pic;
        schoolPhoneA->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        h->addWidget(schoolsA, 1);
        h->addWidget(schoolPhoneA, 0, Qt::AlignTop);
        h->addWidget(pic, 0, Qt::AlignTop);
        b.grid->addWidget(schoolQ, b.row, 0);
        b.grid->addWidget(line, b.row, 1);
        ++b.row;
        m_answers.insert(InfoRecord::ChildrenSchools, schoolsA);
        m_answers.insert(InfoRecord::SchoolPhone, schoolPhoneA);
        addRow(b, "Lbl5Question", 3, "Special Instructions:", "Lbl5Answer", 3, InfoRecord::SpecialInstructions);
    }
    // "Meals"
    {
        PageBuilder b(this, "Meals", "Meals", Decorations::Page::Meals, "Today's Meals");
        addRow(b, "Lbl6Question", 0, "What's For Breakfast:", "Lbl6Answer", 0, InfoRecord::Breakfast);
        addRow(b, "Lbl6Question", 1, "What's For Lunch:", "Lbl6Answer", 1, InfoRecord::Lunch);
        addRow(b, "Lbl6Question", 2, "What's For Dinner:", "Lbl6Answer", 2, InfoRecord::Dinner);
        // How to prepare (left) and snacks (right) side by side under the meals.
        auto *two = new QWidget(b.content);
        auto *cols = new QHBoxLayout(two);
        cols->setContentsMargins(0, 6, 0, 0);
        for (int side = 0; side < 2; ++side) {
            auto *col = new QVBoxLayout;
            const int qi = side == 0 ? 4 : 3;
            const QString caption = side == 0 ? "How To Prepare:" : "Snacks Allowed:";
            auto *q = questionLabel(nm("Lbl6Question", qi), caption, two);
            q->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            auto *a = answerLabel(nm("Lbl6Answer", qi), caption, two);
            col->addWidget(q);
            col->addWidget(a);
            col->addStretch(1);
            cols->addLayout(col, side == 0 ? 3 : 2);
            m_answers.insert(side == 0 ? InfoRecord::HowToPrepare : InfoRecord::SnacksAllowed, a);
        }
        b.grid->addWidget(two, b.row++, 0, 1, 3);
    }
    // "Allowed"
    {
        PageBuilder b(this, "Allowed", "Allowed", Decorations::Page::Allowed);
        auto *friendsQ = questionLabel(nm("Lbl4Question", 4), "Friends Allowed Over:", b.content);
        auto [line, h] = sharedLine(b.content);
        m_opGroup = new QButtonGroup(this);
        for (int i = 0; i < 2; ++i) {
            Op[i] = new QRadioButton(i == 0 ? "Yes" : "No", line);
            Op[i]->setObjectName(nm("Op", i));
            m_opGroup->addButton(Op[i], i);
            h->addWidget(Op[i]);
        }
        h->addStretch(1);
        b.grid->addWidget(friendsQ, b.row, 0);
        b.grid->addWidget(line, b.row, 1);
        ++b.row;
        auto *names = answerLabel(nm("Lbl7Answer", 0), "Friends Allowed Over:", b.content);
        b.grid->addWidget(names, b.row++, 1);
        m_answers.insert(InfoRecord::FriendsNames, names);
        // The two long questions stand on their own lines, their answers below them.
        for (int i = 0; i < 2; ++i) {
            const QString caption = i == 0 ? "My Children Are Allowed To:" : "My Children Are NOT Allowed To:";
            auto *q = questionLabel(nm("Lbl7Question", i), caption, b.content);
            q->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            auto *a = answerLabel(nm("Lbl7Answer", i + 1), caption, b.content);
            b.grid->addWidget(q, b.row++, 0, 1, 3);
            b.grid->addWidget(a, b.row++, 0, 1, 3);
            m_answers.insert(i == 0 ? InfoRecord::AllowedTo : InfoRecord::NotAllowedTo, a);
            if (i == 1) {
                // The word NOT in red: a red label laid over the question's own word.
                auto *red = new QLabel("NOT", q);
                red->setObjectName("Label5");
                red->setFont(q->font());
                QPalette pal = red->palette();
                pal.setColor(QPalette::WindowText, Look::alertText());
                red->setPalette(pal);
                red->setAutoFillBackground(true);
                red->setAttribute(Qt::WA_TransparentForMouseEvents);
                red->adjustSize();
                red->move(q->fontMetrics().horizontalAdvance("My Children Are "), 0);
            }
        }
    }
    setCurrentIndex(0);
}

void TodayInfoPages::showRecord(const InfoRecord &record)
{
    for (auto it = m_answers.cbegin(); it != m_answers.cend(); ++it)
        it.value()->setText(displayText(record.field(it.key())));
    selectOp(record);
}

void TodayInfoPages::selectOp(const InfoRecord &record)
{
    const bool yes = record.trimmed(InfoRecord::FriendsAllowed) == QLatin1String("Yes");
    Op[yes ? 0 : 1]->setChecked(true);
}
