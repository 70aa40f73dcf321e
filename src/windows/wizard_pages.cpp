#include "windows/wizard_pages.h"

#include "controls/look.h"
#include "core/bed_time_reminder.h"
#include "records/info_record.h"
#include "windows/memo_box.h"
#include "windows/phone_validator.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

using Kind = SetupWizard::BoxKind;

constexpr int kLabelWidth = 112;

// The questions look as they do on the main window's pages.
QColor questionColour()
{
    return QColor(19, 60, 120);
}

QString nm(const char *base, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

// What a screen reader calls a box: its label as shown, without the colon.
QString accessibleLabel(const char *caption)
{
    QString s = QString::fromLatin1(caption).replace(QLatin1String("&&"), QLatin1String("&"));
    if (s.endsWith(QLatin1Char(':')))
        s.chop(1);
    return s;
}

QLabel *questionLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, questionColour());
    label->setPalette(pal);
    return label;
}

void fillBackground(QWidget *w, const QColor &colour)
{
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

int memoHeight(int page)
{
    switch (page) {
    case 0: return 44;
    case 2: return 40;
    case 5: return 48;
    default: return 62;
    }
}

// Shown beside the bedtime box while the reminder could not read its time and so would never
// remind; a blank box sets no reminder and needs no word.
QLabel *bedtimeHint(QLineEdit *box)
{
    auto *hint = new QLabel;
    hint->setObjectName("BedtimeHint");
    hint->setTextFormat(Qt::PlainText);
    hint->setWordWrap(true);
    QPalette pal = hint->palette();
    pal.setColor(QPalette::WindowText, Look::alertText());
    hint->setPalette(pal);
    QObject::connect(box, &QLineEdit::textChanged, hint, [box, hint](const QString &text) {
        const bool unreadable = !text.trimmed().isEmpty() && !BedTimeReminder::readBedtime(text).isValid();
        hint->setText(unreadable ? QStringLiteral("The reminder cannot read this time") : QString());
        box->setAccessibleDescription(hint->text());
    });
    return hint;
}

} // namespace

WizardPages::WizardPages(QWidget *parent) : QTabWidget(parent)
{
    setObjectName("backs");
    setAccessibleName("Setup Wizard pages");
    // Only the buttons move between pages.
    tabBar()->setFocusPolicy(Qt::NoFocus);
    tabBar()->installEventFilter(this);
    // All seven tabs fit the page set's width.
    tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { padding: 3px 6px; margin-right: 1px; background: %1;"
                       " border: 1px solid %2; border-bottom: none; color: %3; }"
                       "QTabBar::tab:selected { background: %4; }")
            .arg(Look::panel().name(), Look::frame().name(), questionColour().name(), Look::page().name()));

    QGridLayout *grids[SetupWizard::PageCount] = {};
    QWidget *pageWidgets[SetupWizard::PageCount] = {};
    for (int p = 0; p < SetupWizard::PageCount; ++p) {
        auto *page = new QWidget;
        page->setObjectName(nm("Bac1", p));
        fillBackground(page, Look::page());
        auto *outer = new QVBoxLayout(page);
        outer->setContentsMargins(8, 8, 8, 6);
        grids[p] = new QGridLayout;
        grids[p]->setHorizontalSpacing(8);
        grids[p]->setVerticalSpacing(6);
        grids[p]->setColumnMinimumWidth(0, kLabelWidth);
        grids[p]->setColumnStretch(1, 1);
        outer->addLayout(grids[p]);
        outer->addStretch(1);
        pageWidgets[p] = page;
        addTab(page, SetupWizard::pageTitle(p));
    }

    // The boxes, in tab order.
    for (int i = 0; i < SetupWizard::BoxCount; ++i) {
        const SetupWizard::Box &b = SetupWizard::box(i);
        QWidget *parent = pageWidgets[b.page];
        QWidget *w = nullptr;
        if (b.kind == Kind::MultiLine) {
            auto *memo = new MemoBox(SetupWizard::maxLength(i), parent);
            memo->setFixedHeight(memoHeight(b.page));
            w = memo;
        } else {
            auto *line = new QLineEdit(parent);
            if (b.kind == Kind::Phone) {
                // The validator holds the width: a cap before it would cut a pasted number
                // short by the characters it then drops.
                line->setValidator(new PhoneValidator(SetupWizard::maxLength(i), line));
                line->setFixedWidth(120);
            } else {
                line->setMaxLength(SetupWizard::maxLength(i));
                if (b.kind == Kind::Short)
                    line->setFixedWidth(76);
            }
            line->setFixedHeight(b.kind == Kind::TallLine ? 34 : 22);
            w = line;
        }
        w->setObjectName(nm("Text1", i));
        w->setAccessibleName(accessibleLabel(b.label));
        m_boxes[i] = w;
    }

    auto label = [&](int i) {
        QLabel *l = questionLabel(nm("Label1", i), QString::fromLatin1(SetupWizard::box(i).label),
                                  pageWidgets[SetupWizard::box(i).page]);
        l->setBuddy(m_boxes[i]);
        return l;
    };
    auto row = [&](int i, QWidget *beside = nullptr) {
        const SetupWizard::Box &b = SetupWizard::box(i);
        QGridLayout *g = grids[b.page];
        const int r = g->rowCount();
        QLabel *l = label(i);
        l->setMaximumWidth(kLabelWidth);
        const bool top = b.kind == Kind::MultiLine;
        l->setAlignment(Qt::AlignRight | (top ? Qt::AlignTop : Qt::AlignVCenter));
        g->addWidget(l, r, 0);
        if (beside) {
            auto *line = new QWidget(pageWidgets[b.page]);
            line->setObjectName(nm("Line", i));
            auto *h = new QHBoxLayout(line);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(m_boxes[i]);
            h->addWidget(beside, 1);
            g->addWidget(line, r, 1);
        } else if (b.kind == Kind::Phone || b.kind == Kind::Short)
            g->addWidget(m_boxes[i], r, 1, Qt::AlignLeft | Qt::AlignVCenter);
        else
            g->addWidget(m_boxes[i], r, 1);
    };
    // A label above its box, for boxes that sit side by side.
    auto stacked = [&](int i, QWidget *parent) {
        auto *column = new QWidget(parent);
        column->setObjectName(nm("Column", i));
        auto *v = new QVBoxLayout(column);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(2);
        v->addWidget(label(i));
        v->addWidget(m_boxes[i]);
        return column;
    };

    // Where
    row(0);
    {
        QGridLayout *g = grids[0];
        const int r = g->rowCount();
        QLabel *from = label(1);
        from->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *line = new QWidget(pageWidgets[0]);
        line->setObjectName("FromToLine");
        auto *h = new QHBoxLayout(line);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(m_boxes[1]);
        h->addSpacing(10);
        h->addWidget(label(2));
        h->addWidget(m_boxes[2]);
        h->addStretch(1);
        g->addWidget(from, r, 0);
        g->addWidget(line, r, 1);
    }
    for (int i = 3; i <= 7; ++i)
        row(i);
    // Police
    {
        auto *heading = questionLabel("Label2", "Enter phone numbers for:", pageWidgets[1]);
        grids[1]->addWidget(heading, 0, 0, 1, 2);
        for (int i = 8; i <= 12; ++i)
            row(i);
    }
    // Medical, Today, Kids
    for (int i = 13; i <= 29; ++i) {
        const bool bedtime = SetupWizard::box(i).field == InfoRecord::Bedtime;
        row(i, bedtime ? bedtimeHint(static_cast<QLineEdit *>(m_boxes[i])) : nullptr);
    }
    // Meals: the last two boxes share a line, "How To Prepare:" on the left.
    for (int i = 30; i <= 32; ++i)
        row(i);
    {
        auto *line = new QWidget(pageWidgets[5]);
        line->setObjectName("MealsLine");
        auto *h = new QHBoxLayout(line);
        h->setContentsMargins(0, 0, 0, 0);
        h->addWidget(stacked(34, line));
        h->addWidget(stacked(33, line));
        m_boxes[33]->setFixedHeight(78);
        m_boxes[34]->setFixedHeight(78);
        grids[5]->addWidget(line, grids[5]->rowCount(), 0, 1, 2);
    }
    // Allowed
    {
        QGridLayout *g = grids[6];
        auto *friends = questionLabel("Label3", "Friends Allowed Over:", pageWidgets[6]);
        friends->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *choice = new QWidget(pageWidgets[6]);
        choice->setObjectName("FriendsChoice");
        auto *h = new QHBoxLayout(choice);
        h->setContentsMargins(0, 0, 0, 0);
        auto *group = new QButtonGroup(choice);
        const char *answers[2] = {"Yes", "No"};
        for (int k = 0; k < 2; ++k) {
            m_options[k] = new QRadioButton(answers[k], choice);
            m_options[k]->setObjectName(nm("Option1", k));
            group->addButton(m_options[k]);
            h->addWidget(m_options[k]);
        }
        h->addStretch(1);
        g->addWidget(friends, 0, 0);
        g->addWidget(choice, 0, 1);
        for (int i = 35; i <= 37; ++i)
            row(i);
        // The word NOT shows in red.
        auto *notLabel = pageWidgets[6]->findChild<QLabel *>(nm("Label1", 37));
        notLabel->setTextFormat(Qt::RichText);
        notLabel->setText(QStringLiteral("My Children Are <span style=\"color:%1\">NOT</span> Allowed To:")
                              .arg(Look::alertText().name()));
    }

    QWidget *previous = nullptr;
    auto chain = [&previous](QWidget *w) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    };
    for (int i = 0; i < 35; ++i)
        chain(m_boxes[i]);
    chain(m_options[0]);
    chain(m_options[1]);
    for (int i = 35; i < SetupWizard::BoxCount; ++i)
        chain(m_boxes[i]);

    // Whatever else switches the shown page (Ctrl+Tab, a stray click) is taken back.
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (index != m_page)
            setCurrentIndex(m_page);
    });
}

void WizardPages::showPage(int page)
{
    if (page == m_page && currentIndex() == page)
        return;
    m_page = page;
    setCurrentIndex(page);
    // Keyboard users go on typing where the new page begins.
    QWidget *first = page == SetupWizard::LastPage ? static_cast<QWidget *>(m_options[0]) : nullptr;
    for (int i = 0; !first && i < SetupWizard::BoxCount; ++i)
        if (SetupWizard::box(i).page == page)
            first = m_boxes[i];
    if (first)
        first->setFocus();
}

void WizardPages::showRecord(const InfoRecord &info)
{
    for (int i = 0; i < SetupWizard::BoxCount; ++i) {
        const QString text = SetupWizard::boxText(info, i);
        // A box that already shows its text keeps its cursor and its undo steps.
        if (boxText(i) == text)
            continue;
        if (auto *memo = qobject_cast<MemoBox *>(m_boxes[i])) {
            memo->setPlainText(text);
            memo->moveCursor(QTextCursor::End);
        } else if (auto *line = qobject_cast<QLineEdit *>(m_boxes[i])) {
            // The stored text is shown as it is; the phone rule holds for what is typed.
            const QValidator *validator = line->validator();
            line->setValidator(nullptr);
            line->setText(text);
            line->setValidator(validator);
        }
    }
    const bool yes = info.trimmed(InfoRecord::FriendsAllowed) == QLatin1String("Yes");
    m_options[yes ? 0 : 1]->setChecked(true);
}

QString WizardPages::boxText(int index) const
{
    if (auto *memo = qobject_cast<MemoBox *>(m_boxes[index]))
        return memo->toPlainText();
    return static_cast<QLineEdit *>(m_boxes[index])->text();
}

SetupWizard::Entries WizardPages::entries() const
{
    SetupWizard::Entries e;
    for (int i = 0; i < SetupWizard::BoxCount; ++i)
        e.texts << boxText(i);
    e.friendsAllowed = m_options[0]->isChecked();
    return e;
}

bool WizardPages::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tabBar()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel: return true;
        default: break;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}
