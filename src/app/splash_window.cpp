#include "app/splash_window.h"

#include "app/decorations.h"
#include "controls/look.h"
#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "windows/stored_properties.h"

#include <QLabel>
#include <QPainter>

SplashWindow::SplashWindow(AppState &state, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_state(state)
{
    setObjectName("frmSplash");
    setWindowTitle("The Hushby");
    setFixedSize(402, 435);

    QPalette light = palette();
    light.setColor(QPalette::WindowText, Look::lightText());
    auto label = [&](const char *name, const QString &text, const QFont &font, const QRect &geometry,
                     Qt::Alignment align = Qt::AlignCenter) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        l->setFont(font);
        l->setPalette(light);
        l->setAlignment(align);
        l->setWordWrap(true);
        l->setGeometry(geometry);
        return l;
    };
    label("LblTitle", "The Hushby", Look::titleFont(34), QRect(20, 120, 362, 64));
    label("LblVersion", "v2.0", Look::titleFont(9), QRect(330, 176, 50, 16), Qt::AlignLeft);
    label("LblTM", "TM", Look::titleFont(8), QRect(352, 122, 30, 14), Qt::AlignLeft);
    label("LblSlogan", "For parents peace of mind!", Look::titleFont(14), QRect(20, 214, 362, 30));
    label("LblLine", "All the information needed and displayed for your sitter, in one place.",
          Look::titleFont(11, false), QRect(40, 256, 322, 48));

    m_continue = new XpCmd(m_state.infoLine.get(), this);
    m_continue->setObjectName("cmdStartTime");
    loadButton(m_continue,
               {{"Caption", "Continue"}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
               font());
    m_continue->setGeometry(151, 372, 100, 28);
    connect(m_continue, &XpCaptionButton::clicked, this, &SplashWindow::continuePressed);
}

void SplashWindow::continuePressed()
{
    m_state.SplashPending = true;
    m_state.PlayWave("push.wav");
    close();
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_background.isNull())
        m_background = Decorations::splashBackground(size());
    p.drawPixmap(0, 0, m_background);
    p.setPen(QPen(Look::highlight(), 2));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}
