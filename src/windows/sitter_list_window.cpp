#include "windows/sitter_list_window.h"

#include "controls/look.h"
#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "services/window_opener.h"
#include "windows/phone_validator.h"
#include "windows/stored_properties.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>

namespace {
constexpr QRect kLeftSide(0, 0, 170, 480);
constexpr QRect kBac1(170, 0, 480, 396);
constexpr QRect kBot(170, 396, 480, 84);

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(geometry);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Look::buttonText());
    l->setPalette(pal);
    return l;
}

// A card with a sitter reading to a child: the left panel's decoration.
QPixmap sitterPicture(const QSize &size)
{
    QPixmap pix(size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Look::buttonText(), 2));
    p.setBrush(QColor(250, 246, 230));
    p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 10, 10);
    const qreal w = size.width();
    const qreal h = size.height();
    p.setPen(Qt::NoPen);
    p.setBrush(Look::frame());
    p.drawEllipse(QPointF(w * 0.38, h * 0.3), w * 0.11, w * 0.11);
    QPainterPath body;
    body.addRoundedRect(QRectF(w * 0.2, h * 0.45, w * 0.36, h * 0.42), 12, 12);
    p.drawPath(body);
    p.setBrush(QColor(255, 196, 90));
    p.drawEllipse(QPointF(w * 0.7, h * 0.48), w * 0.08, w * 0.08);
    p.drawRoundedRect(QRectF(w * 0.6, h * 0.6, w * 0.2, h * 0.27), 8, 8);
    p.setBrush(QColor(200, 60, 60));
    p.drawRect(QRectF(w * 0.42, h * 0.58, w * 0.24, h * 0.14));
    return pix;
}

// The phone, wage and hours boxes keep what is typed or pasted to digits, blanks, commas,
// hyphens and full stops, and to what their field stores; 0 for the other boxes.
int numberBoxWidth(int box)
{
    switch (box) {
    case 1: return SitterRecord::width(SitterRecord::Phone);
    case 4: return SitterRecord::width(SitterRecord::Wage);
    case 5: return SitterRecord::width(SitterRecord::HoursWorked);
    default: return 0;
    }
}

const char *const kCaptions[8] = {"Sitter's Name:", "Phone:",      "Address:", "Hours/Days Available:",
                                  "Wage: $",        "Hrs Worked:", nullptr,    "Sitter Information:"};
} // namespace

SitterListWindow::SitterListWindow(AppState &state, WindowOpener &windows, QWidget *owner)
    : QDialog(owner,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::WindowSystemMenuHint),
      m_state(state), m_windows(windows), m_list(state)
{
    setObjectName("WizardSit");
    // The title bar carries no text; the panel's heading names the window.
    setWindowTitle(QStringLiteral(" "));
    setAccessibleName("Sitter List");
    setFixedSize(kBot.right() + 1, kLeftSide.height());
    setModal(true);

    buildLeftSide();
    buildBoxes(Look::region(this, "Bac1", kBac1, Look::page()));
    buildBottom(Look::region(this, "Bot", kBot, Look::frame()));

    connect(&m_list, &SitterList::changed, this, &SitterListWindow::refresh);
    m_list.open();
    m_cmds[0]->setState(1);
    m_text1[0]->setFocus();
}

void SitterListWindow::buildLeftSide()
{
    QWidget *left = Look::region(this, "LeftSide", kLeftSide, Look::panel());
    QLabel *heading = label(left, "Label1", "Sitter   List", QRect(12, 12, 146, 32));
    const QFont big = Look::titleFont(16);
    heading->setFont(big);
    QLabel *hint = label(left, "Label2", "Fill in the information, then click on SAVE.", QRect(12, 50, 146, 40));
    hint->setWordWrap(true);
    m_recordLabel = label(left, "LblMaxRecords", "1", QRect(12, 96, 146, 28));
    QFont number("Tahoma", 14, QFont::Bold);
    m_recordLabel->setFont(number);
    m_recordLabel->setAccessibleDescription("Record number");

    auto *picture = new QLabel(left);
    picture->setObjectName("Image20");
    picture->setPixmap(sitterPicture(QSize(146, 170)));
    picture->setGeometry(12, 150, 146, 170);

    m_search = new QLineEdit(left);
    m_search->setObjectName("Text2");
    m_search->setToolTip("Enter any part of sitters name.");
    m_search->setAccessibleName("Search");
    m_search->setGeometry(12, 406, 146, 26);
    connect(m_search, &QLineEdit::textChanged, &m_list, &SitterList::setSearchText);
    makeCommand(7, "&Search", left, QRect(12, 442, 146, 30))->setToolTip("Enter Last Name of Sitter");
}

void SitterListWindow::buildBoxes(QWidget *area)
{
    struct Place {
        QRect label;
        QRect box;
    };
    const Place places[8] = {
        {{16, 8, 440, 18}, {16, 26, 448, 26}},
        {{16, 58, 200, 18}, {16, 76, 200, 26}},
        {{16, 108, 440, 18}, {16, 126, 448, 26}},
        {{16, 158, 200, 18}, {16, 176, 200, 26}},
        {{16, 208, 120, 18}, {16, 226, 120, 26}},
        {{152, 208, 120, 18}, {152, 226, 120, 26}},
        {{}, {118, 264, 110, 26}},
        {{16, 298, 440, 18}, {16, 316, 448, 72}},
    };
    for (int i = 0; i < SitterList::BoxCount; ++i) {
        const QString name = QStringLiteral("Text1(%1)").arg(i);
        QWidget *box = nullptr;
        if (i == 7) {
            m_info = new QPlainTextEdit(area);
            m_info->setTabChangesFocus(true);
            connect(m_info, &QPlainTextEdit::textChanged, this, [this] {
                if (!m_refreshing)
                    m_list.setBox(7, m_info->toPlainText());
            });
            box = m_info;
        } else {
            auto *edit = new QLineEdit(area);
            // Any change counts, typed or not: dictation and screen readers set the text whole.
            connect(edit, &QLineEdit::textChanged, this, [this, i](const QString &text) {
                if (!m_refreshing)
                    m_list.setBox(i, text);
            });
            if (const int width = numberBoxWidth(i))
                edit->setValidator(new PhoneValidator(width, edit));
            m_text1[i] = edit;
            box = edit;
        }
        box->setObjectName(name);
        box->setGeometry(places[i].box);
        if (kCaptions[i]) {
            QLabel *caption = label(area, qPrintable(QStringLiteral("Lbl2Question(%1)").arg(i)),
                                    QString::fromUtf8(kCaptions[i]), places[i].label);
            caption->setBuddy(box);
            box->setAccessibleName(caption->text());
        }
    }
    // The total is worked out, not typed.
    m_text1[SitterList::TotalBox]->setReadOnly(true);
    m_text1[SitterList::TotalBox]->setAccessibleName("Total");
    makeCommand(4, "&Total", area, QRect(16, 262, 94, 30));
    makeCommand(9, "Add Timer To &Hours", area, QRect(236, 262, 180, 30));
}

void SitterListWindow::buildBottom(QWidget *bar)
{
    makeCommand(5, "<< &Back", bar, QRect(16, 8, 104, 30));
    makeCommand(6, "&Next >>", bar, QRect(128, 8, 104, 30));
    makeCommand(8, "&Add New Sitter", bar, QRect(240, 8, 140, 30));
    makeCommand(1, "&Erase", bar, QRect(16, 46, 104, 30));
    makeCommand(2, "&Help", bar, QRect(128, 46, 104, 30));
    makeCommand(0, "&Update", bar, QRect(240, 46, 104, 30));
    makeCommand(3, "&Close", bar, QRect(352, 46, 104, 30));
}

XpCmd *SitterListWindow::makeCommand(int index, const QString &caption, QWidget *parent, const QRect &geometry)
{
    auto *b = new XpCmd(m_state.infoLine.get(), parent);
    b->setObjectName(QStringLiteral("cmds(%1)").arg(index));
    loadButton(b, {{"Caption", caption}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
               font());
    b->setGeometry(geometry);
    connect(b, &XpCaptionButton::clicked, this, [this, index] { runCommand(index); });
    m_cmds[index] = b;
    return b;
}

void SitterListWindow::runCommand(int index)
{
    switch (index) {
    case 0: m_list.update(); break;
    case 1: m_list.erase(); break;
    case 2: m_windows.showHelp(2); break;
    case 3:
        m_state.PlayWave(QStringLiteral("push.wav"));
        close();
        break;
    case 4: m_list.total(); break;
    case 5: m_list.back(); break;
    case 6: m_list.next(); break;
    case 7: m_list.search(); break;
    case 8: m_list.addOrSave(); break;
    case 9: m_list.addTimer(); break;
    }
}

void SitterListWindow::refresh()
{
    m_refreshing = true;
    for (int i = 0; i < SitterList::BoxCount; ++i) {
        const QString text = m_list.box(i);
        QLineEdit *edit = m_text1[i];
        if (!edit || edit->text() == text)
            continue;
        // A record is shown as it is stored; the number rule holds for what is typed or pasted.
        const QValidator *rule = edit->validator();
        edit->setValidator(nullptr);
        edit->setText(text);
        edit->setValidator(rule);
    }
    if (m_info->toPlainText() != m_list.box(7))
        m_info->setPlainText(m_list.box(7));
    m_refreshing = false;
    m_recordLabel->setText(m_list.recordLabel());
    m_cmds[8]->setCaption(m_list.addCaption());
    m_cmds[7]->setCaption(m_list.searchCaption());
    m_cmds[5]->setVisible(m_list.backVisible());
    m_cmds[6]->setVisible(m_list.nextVisible());
}

void SitterListWindow::done(int result)
{
    // However the window closes, a paused search ends with it.
    if (!m_closed) {
        m_closed = true;
        m_list.closing();
    }
    QDialog::done(result);
}

void SitterListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    raise();
    activateWindow();
}
