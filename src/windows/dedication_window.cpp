#include "windows/dedication_window.h"

#include "controls/look.h"
#include "controls/xp_cmd_but.h"
#include "core/app_state.h"
#include "windows/help_pictures.h"
#include "windows/stored_properties.h"

#include <QLabel>
#include <QPainter>

namespace {
const char *const kHeading = "Dedicated to every parent and every sitter";
const char *const kParagraphs[2] = {
    "The Hushby was written for the parents who step out for an evening and want to know that "
    "everything their sitter might need is close at hand: the numbers, the notes, the bedtime "
    "and the little house rules that make a home run smoothly.",
    "It is also for the sitters, who look after other people's children as if they were their own. "
    "May every evening be a quiet one, and every call an easy one to make.",
};
} // namespace

DedicationWindow::DedicationWindow(AppState &state, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_state(state)
{
    setObjectName("Dedication");
    setWindowTitle("Dedicated To ...");
    setAccessibleName("Dedicated To ...");
    setModal(true);
    setFixedSize(460, 318);

    QPalette light = palette();
    light.setColor(QPalette::WindowText, Look::lightText());

    auto *heading = new QLabel(QString::fromLatin1(kHeading), this);
    heading->setObjectName("Label1");
    heading->setTextFormat(Qt::PlainText);
    heading->setFont(Look::titleFont(13));
    heading->setPalette(light);
    heading->setAlignment(Qt::AlignCenter);
    heading->setWordWrap(true);
    heading->setGeometry(40, 14, 380, 48);

    for (int i = 0; i < 2; ++i) {
        auto *text = new QLabel(QString::fromLatin1(kParagraphs[i]), this);
        text->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setFont(Look::titleFont(10, false));
        text->setPalette(light);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setGeometry(128, 72 + i * 116, 312, 108);
    }

    auto *moon = new QLabel(this);
    moon->setObjectName("Image1");
    moon->setPixmap(HelpPictures::moonAndStars(QSize(96, 96)));
    moon->setAccessibleName("A crescent moon among stars");
    moon->setGeometry(18, 76, 96, 96);
    auto *house = new QLabel(this);
    house->setObjectName("Image2");
    house->setPixmap(HelpPictures::houseAtNight(QSize(96, 96)));
    house->setAccessibleName("A house at night with one lit window");
    house->setGeometry(18, 192, 96, 96);

    m_closeBox = new XpCmdBut(m_state.infoLine.get(), this);
    m_closeBox->setObjectName("xpcmdbut1");
    loadButton(m_closeBox, {{"Caption", QString()}}, font());
    m_closeBox->setToolTip("Close");
    m_closeBox->setGeometry(width() - 10 - 21, 10, 21, 21);
    connect(m_closeBox, &XpCaptionButton::clicked, this, [this] {
        m_state.PlayWave("push.wav");
        accept();
    });
}

void DedicationWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, Look::frame());
    sky.setColorAt(1, QColor(40, 70, 140));
    p.fillRect(rect(), sky);
    p.setPen(QPen(Look::highlight(), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}
