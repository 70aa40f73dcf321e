#include "windows/info_window.h"

#include "controls/look.h"
#include "windows/help_pictures.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {
// The heights of the Options window's five "Info..." labels, in twips from its top.
constexpr int kTopicTwips[5] = {240, 1370, 1950, 2550, 3140};
constexpr int kOverlapTwips = 220;

int pixels(int twips)
{
    return (twips + 7) / 15;
}
} // namespace

InfoWindow::InfoWindow(const QString &message, QWidget *owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("Mbox");
    setAccessibleName("Information");
    setModal(true);
    setFixedSize(300, 214);
    setMouseTracking(true);
    installEventFilter(this);

    auto *badge = new QLabel(this);
    badge->setObjectName("Image1");
    badge->setPixmap(HelpPictures::infoBadge(28));
    badge->setGeometry(12, 10, 28, 28);

    auto *heading = new QLabel("Information", this);
    heading->setObjectName("Label3");
    heading->setFont(Look::titleFont(12));
    QPalette pal = heading->palette();
    pal.setColor(QPalette::WindowText, Look::buttonText());
    heading->setPalette(pal);
    heading->setGeometry(48, 12, 200, 24);

    auto *moon = new QLabel(this);
    moon->setObjectName("Image3");
    moon->setPixmap(HelpPictures::moonAndStars(QSize(36, 28)));
    moon->setGeometry(252, 10, 36, 28);

    // The message opens with two line breaks, which keep it clear of the heading.
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_info = new QLabel(QStringLiteral("\n\n") + text, this);
    m_info->setObjectName("InfoLbl");
    m_info->setTextFormat(Qt::PlainText);
    m_info->setWordWrap(true);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_info->setAccessibleName(text);
    m_info->setGeometry(14, 14, 274, 192);

    for (QWidget *w : {static_cast<QWidget *>(badge), static_cast<QWidget *>(heading), static_cast<QWidget *>(moon),
                       static_cast<QWidget *>(m_info)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    heading->raise();

    m_timer = new QTimer(this);
    m_timer->setObjectName("Timer1");
    m_timer->setInterval(8000);
    connect(m_timer, &QTimer::timeout, this, &InfoWindow::Timer1Tick);
    m_timer->start();
}

void InfoWindow::placeBeside(const QRect &optionsFrame, int infoTopic)
{
    if (infoTopic < 0 || infoTopic > 4)
        return;
    move(optionsFrame.left() + optionsFrame.width() - pixels(kOverlapTwips),
         optionsFrame.top() + pixels(kTopicTwips[infoTopic]));
}

void InfoWindow::placeNextTo(const QWidget *anchor)
{
    const QWidget *w = anchor->window();
    const QRect frame = w->frameGeometry();
    move(frame.left() + frame.width() - pixels(kOverlapTwips), anchor->mapToGlobal(QPoint(0, 0)).y());
}

void InfoWindow::showForTopic(QWidget *options, int infoTopic, const QString &message)
{
    InfoWindow box(message, options);
    box.placeBeside(options->window()->frameGeometry(), infoTopic);
    box.exec();
}

void InfoWindow::showNextTo(QWidget *anchor, const QString &message)
{
    InfoWindow box(message, anchor->window());
    box.placeNextTo(anchor);
    box.exec();
}

void InfoWindow::Timer1Tick()
{
    m_timer->stop();
    accept();
}

bool InfoWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && isVisible()) {
        m_timer->stop();
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void InfoWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 252, 236));
    p.setPen(QPen(Look::frame(), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}
