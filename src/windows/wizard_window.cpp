#include "windows/wizard_window.h"

#include "controls/look.h"
#include "controls/xp_progress_bar.h"
#include "core/app_state.h"
#include "windows/press_button.h"
#include "windows/stored_properties.h"
#include "windows/wizard_pages.h"
#include "windows/wizard_picture.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace {

// Region geometry in pixels; a one-pixel frame runs round the window.
constexpr QRect kLeftSide(1, 1, 149, 364);
constexpr QRect kBacks(156, 6, 381, 353);
constexpr QRect kBot(1, 365, 541, 57);

const char *const kCaptions[4] = {"<< &Back", "&Next >>", "&Help", "&Close"};

// Screen readers would read the arrows drawn on Back and Next out as punctuation.
QString spokenName(const QString &caption)
{
    QString name = XpCaptionButton::plainCaption(caption);
    name.remove(QLatin1String("<<")).remove(QLatin1String(">>"));
    return name.trimmed();
}

void fillBackground(QWidget *w, const QColor &colour)
{
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

} // namespace

WizardWindow::WizardWindow(AppState &state, SetupWizard &logic, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_state(state), m_logic(logic)
{
    setObjectName("Wizard");
    setWindowTitle("Setup Wizard");
    setFixedSize(543, 423);
    setModal(true);
    setFont(Look::textFont());
    // Centred on the owner exactly; the platform's own placement guesses at frames it lacks.
    if (owner)
        move(owner->window()->frameGeometry().center() - rect().center());

    buildLeftSide();
    m_pages = new WizardPages(this);
    m_pages->setGeometry(kBacks);
    buildBottomBar();

    // The opening steps.
    m_bar->setMaximum(m_logic.progressMax());
    m_bar->setValue(0);
    m_logic.open();
    m_cmds[SetupWizard::Next]->setState(1);
    ShowTodayInfo();
    showState();
    m_pages->box(0)->setFocus();
}

WizardWindow::~WizardWindow() = default;

void WizardWindow::buildLeftSide()
{
    auto *left = new QWidget(this);
    left->setObjectName("LeftSide");
    left->setGeometry(kLeftSide);
    fillBackground(left, Look::frame());
    QPalette light = left->palette();
    light.setColor(QPalette::WindowText, Look::lightText());

    auto *title = new QLabel(" Setup Wizard", left);
    title->setObjectName("LeftSideTitle");
    title->setTextFormat(Qt::PlainText);
    title->setFont(Look::titleFont(14));
    title->setPalette(light);
    title->setGeometry(4, 12, kLeftSide.width() - 8, 28);

    auto *picture = new QLabel(left);
    picture->setObjectName("LeftSidePicture");
    picture->setPixmap(WizardPicture::paint(QSize(120, 150)));
    picture->setGeometry(14, 56, 120, 150);
    picture->setAccessibleName("Setup Wizard picture");

    auto *instruction
        = new QLabel("Fill in the information, then click on NEXT.\nUse BACK to change any information.", left);
    instruction->setObjectName("LeftSideInstruction");
    instruction->setTextFormat(Qt::PlainText);
    instruction->setWordWrap(true);
    instruction->setPalette(light);
    QFont f = instruction->font();
    f.setBold(true);
    instruction->setFont(f);
    instruction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    instruction->setGeometry(10, 226, kLeftSide.width() - 18, 120);
}

void WizardWindow::buildBottomBar()
{
    auto *bot = new QWidget(this);
    bot->setObjectName("Bot");
    bot->setGeometry(kBot);
    fillBackground(bot, Look::panel());

    m_bar = new XpProgressBar(m_state.services.prompter, bot);
    m_bar->setObjectName("barSteps");
    m_bar->setAccessibleName("Setup Wizard progress");
    PropertyBag stored;
    stored.write("Value", 10, QVariant());
    stored.write("ProgressLook", 1, QVariant());
    m_bar->readProperties(stored);
    m_bar->setGeometry(kBacks.x() - kBot.x(), 6, 377, 17);

    for (int i = 0; i < 4; ++i) {
        auto *b = new PressButton(m_state.infoLine.get(), bot);
        b->setObjectName(QStringLiteral("cmds(%1)").arg(i));
        loadButton(b,
                   {{"Caption", QString::fromLatin1(kCaptions[i])},
                    {"Font", storedButtonFont()},
                    {"ForeColor", storedColour(Look::buttonText())}},
                   font());
        b->setGeometry(kBacks.x() - kBot.x() + i * 96, 28, 88, 24);
        connect(b, &PressButton::pressed, this, [this, i] { press(i); });
        m_cmds[i] = b;
        QWidget::setTabOrder(i == 0 ? m_pages->box(SetupWizard::BoxCount - 1) : m_cmds[i - 1], b);
    }
}

void WizardWindow::ShowTodayInfo()
{
    m_pages->showRecord(m_state.TodayInfo);
}

void WizardWindow::press(int index)
{
    // A press that comes while another is still running (in its message box or its pending
    // events) is dropped.
    if (m_busy || index < 0 || index > 3 || m_cmds[index]->isHidden())
        return;
    m_busy = true;
    QPointer<WizardWindow> self(this);
    m_logic.press(SetupWizard::Button(index), m_pages->entries());
    if (!self)
        return;
    m_busy = false;
    if (m_logic.closing()) {
        accept();
        return;
    }
    if (m_logic.refillBoxes())
        ShowTodayInfo();
    m_bar->setValue(m_logic.progressValue());
    showState();
}

void WizardWindow::showState()
{
    m_cmds[SetupWizard::Back]->setVisible(m_logic.backVisible());
    m_cmds[SetupWizard::Close]->setVisible(m_logic.closeVisible());
    m_cmds[SetupWizard::Next]->setCaption(m_logic.nextCaption());
    for (PressButton *b : m_cmds)
        b->setAccessibleName(spokenName(b->caption()));
    m_pages->showPage(m_logic.page());
}

void WizardWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Only the buttons close the wizard, so nothing typed is dropped unsaved.
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Next is the default button; multi-line boxes keep Enter for their line breaks.
        if (!event->isAutoRepeat())
            press(SetupWizard::Next);
        event->accept();
        return;
    default: QDialog::keyPressEvent(event);
    }
}

void WizardWindow::closeEvent(QCloseEvent *event)
{
    // The wizard has no close box; a window manager's close is refused like Escape.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void WizardWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        m_state.WizardOpen = true;
}

void WizardWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Look::frame());
    p.fillRect(QRect(kLeftSide.right() + 1, 1, width() - kLeftSide.width() - 2, kBot.y() - 1), Look::page());
}

void WizardWindow::done(int result)
{
    m_logic.closed();
    QDialog::done(result);
}
