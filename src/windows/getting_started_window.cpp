#include "windows/getting_started_window.h"

#include "controls/look.h"
#include "core/app_state.h"
#include "windows/help_pictures.h"

#include <QLabel>
#include <QTimer>

namespace {
const char *const kHints[4] = {
    "Start by entering all the information you think the sitter will need to know.",
    "Here is a place to keep lists of all your sitters names, wages, and phone numbers.",
    "These are your options. Like voice commands, speech, auto dialing, and passwords.",
    "This will keep \"The Hushby\" on top of other programs, so all information is always displayed.",
};
} // namespace

GettingStartedWindow::GettingStartedWindow(AppState &state, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_state(state)
{
    setObjectName("Started");
    setWindowTitle("Getting Started");
    setAccessibleName("Getting Started");
    setModal(true);
    setFixedSize(440, 292);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Look::page());
    setPalette(pal);
    setAutoFillBackground(true);

    auto *picture = new QLabel(this);
    picture->setObjectName("Image2");
    picture->setPixmap(HelpPictures::panelArrow(56));
    picture->setGeometry(14, 16, 56, 56);
    picture->setAccessibleName("Arrow to the buttons on the left");

    for (int i = 0; i < 4; ++i) {
        auto *l = new QLabel(QString::fromLatin1(kHints[i]), this);
        l->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setFont(Look::titleFont(10));
        l->setGeometry(84, 14 + i * 68, 340, 56);
        m_hints[i] = l;
    }
    light(0);

    m_timer = new QTimer(this);
    m_timer->setObjectName("Timer1");
    m_timer->setInterval(6000);
    connect(m_timer, &QTimer::timeout, this, &GettingStartedWindow::Timer1Tick);
    m_timer->start();

    move(285, 286);
}

void GettingStartedWindow::light(int index)
{
    for (int i = 0; i < 4; ++i) {
        QPalette pal = m_hints[i]->palette();
        pal.setColor(QPalette::WindowText, i == index ? highlightColour() : normalColour());
        m_hints[i]->setPalette(pal);
    }
}

void GettingStartedWindow::Timer1Tick()
{
    ++m_step;
    light(m_step);
    raise();
    if (m_step > 3)
        done(QDialog::Accepted);
}

void GettingStartedWindow::done(int result)
{
    m_timer->stop();
    m_state.FirstRun = false;
    QDialog::done(result);
}
