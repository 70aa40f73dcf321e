#include "controls/button_xp.h"

#include "controls/button_xp_accessible.h"
#include "services/event_pump.h"
#include "services/sound_player.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

namespace {

int buttonBits(Qt::MouseButton b)
{
    return b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 0;
}

int buttonsBits(Qt::MouseButtons b)
{
    return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) | ((b & Qt::MiddleButton) ? 4 : 0);
}

int shiftBits(Qt::KeyboardModifiers m)
{
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

// Key codes as host windows know them (the desktop's virtual-key numbers) for the keys that
// matter to a button; others pass as 0.
int keyCode(int key)
{
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) || key == Qt::Key_Space)
        return key;
    switch (key) {
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    default: return 0;
    }
}

void installAccessibleFactory()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(&ButtonXpAccessible::factory);
        installed = true;
    }
}

} // namespace

ButtonXp::ButtonXp(QWidget *parent)
    : QWidget(parent), m_openLink([](const QUrl &u) { return QDesktopServices::openUrl(u); })
{
    installAccessibleFactory();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_faces.palette = palette();
    m_overTimer = new QTimer(this);
    m_overTimer->setObjectName(QStringLiteral("OverTimer"));
    m_overTimer->setInterval(10);
    connect(m_overTimer, &QTimer::timeout, this, &ButtonXp::overTimerTick);
}

ButtonXp::~ButtonXp() = default;

bool ButtonXp::isSafeLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

void ButtonXp::GoToURL()
{
    if (m_url.isEmpty() || !m_openLink)
        return;
    const QUrl url(m_url, QUrl::StrictMode);
    if (url.isValid() && isSafeLink(url))
        m_openLink(url);
}

QChar ButtonXp::accessKeyOf(const QString &c)
{
    const int n = c.size();
    const int i = c.indexOf(QLatin1Char('&'));
    if (n <= 1 || i < 0 || i == n - 1)
        return {};
    if (c.at(i + 1) != QLatin1Char('&'))
        return c.at(i + 1).toLower();
    const int j = c.indexOf(QLatin1Char('&'), i + 2);
    if (j < 0 || j == n - 1 || c.at(j + 1) == QLatin1Char('&'))
        return {};
    return c.at(j + 1).toLower();
}

void ButtonXp::updateAccessKey()
{
    m_accessKey = accessKeyOf(m_caption);
    delete m_shortcut;
    m_shortcut = nullptr;
    QString plain = m_caption;
    plain.replace(QLatin1String("&&"), QStringLiteral("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QChar(1), QLatin1Char('&'));
    setAccessibleName(plain.trimmed());
    if (m_accessKey.isNull())
        return;
    m_shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + m_accessKey.toUpper()), this);
    connect(m_shortcut, &QShortcut::activated, this, [this] {
        if (!isEnabled())
            return;
        QPointer<ButtonXp> self(this);
        emit clicked();
        if (self)
            GoToURL();
    });
}

void ButtonXp::playClickSound()
{
    if (m_soundClick.isEmpty() || !m_sound)
        return;
    QString path = m_soundClick;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    path = QDir::current().absoluteFilePath(path);
    if (QFileInfo(path).isFile())
        m_sound->play(QDir::cleanPath(path));
}

bool ButtonXp::contentFits() const
{
    const QRect inner(4, 4, width() - 8, height() - 8);
    const bool captionFits = m_caption.isEmpty() || inner.contains(m_captionBox);
    const bool pictureFits = m_current.isNone() || inner.contains(m_pictureBox);
    return captionFits && pictureFits;
}

bool ButtonXp::inside(float x, float y) const
{
    return x >= 0 && y >= 0 && x < width() && y < height();
}

void ButtonXp::resized()
{
    if (width() < 10 || height() < 10)
        resize(std::max(width(), 10), std::max(height(), 10));
    if (m_style == 3)
        setMask(ButtonXpFaces::RoundedShape(width(), height()));
    else
        clearMask();
    Refresh();
}

void ButtonXp::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}

void ButtonXp::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    resized();
}

void ButtonXp::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_focused = true;
    Refresh();
}

void ButtonXp::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_focused = false;
    m_pressed = false;
    Refresh();
}

void ButtonXp::press(int button, int shift, float x, float y)
{
    m_lastButton = button;
    m_lastShift = shift;
    m_lastX = x;
    m_lastY = y;
    if (button != 2) {
        m_pressed = true;
        Refresh();
    }
    emit mouseDown(button, shift, x, y);
}

void ButtonXp::release(int button, int shift, float x, float y)
{
    m_pressed = false;
    QPointer<ButtonXp> self(this);
    if (button != 2) {
        Refresh();
        if (inside(x, y)) {
            playClickSound();
            emit clicked();
            if (!self)
                return;
            GoToURL();
        }
    }
    emit mouseUp(button, shift, x, y);
}

void ButtonXp::click()
{
    if (!isEnabled())
        return;
    const float x = width() / 2.0f;
    const float y = height() / 2.0f;
    QPointer<ButtonXp> self(this);
    press(1, 0, x, y);
    if (self)
        release(1, 0, x, y);
}

void ButtonXp::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    press(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()), float(p.y()));
}

void ButtonXp::mouseDoubleClickEvent(QMouseEvent *)
{
    // The second press of a double click: Qt keeps the pointer grabbed, so its release comes here.
    press(m_lastButton, m_lastShift, m_lastX, m_lastY);
}

void ButtonXp::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    const int shift = shiftBits(event->modifiers());
    QPointer<ButtonXp> self(this);
    if (inside(float(p.x()), float(p.y())) && !m_hot) {
        m_overTimer->start();
        m_hot = true;
        if (!m_pictureHover.isNone())
            m_current = m_pictureHover;
        emit mouseIn(shift);
        if (!self)
            return;
        Refresh();
        if (m_events)
            m_events->handlePendingEvents();
        if (!self)
            return;
    }
    emit mouseMove(buttonsBits(event->buttons()), shift, float(p.x()), float(p.y()));
}

void ButtonXp::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    release(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()), float(p.y()));
}

void ButtonXp::overTimerTick()
{
    // Under a rounded mask the cut corners belong to the host, so ask which widget is there.
    const QPoint global = QCursor::pos();
    if (QApplication::widgetAt(global) == this && rect().contains(mapFromGlobal(global)))
        return;
    m_overTimer->stop();
    m_hot = false;
    m_current = m_picture;
    QPointer<ButtonXp> self(this);
    emit mouseOut(m_lastShift);
    if (!self)
        return;
    Refresh();
    if (m_pressed) {
        // Looks released while the pointer is away; the press itself stays.
        m_pressed = false;
        Refresh();
        m_pressed = true;
    }
}

void ButtonXp::keyPressEvent(QKeyEvent *event)
{
    if (!m_keyHeld) {
        if (event->key() == Qt::Key_Space) {
            m_pressed = true;
            m_hot = true;
            Refresh();
        }
        m_keyHeld = true;
    }
    QPointer<ButtonXp> self(this);
    emit keyDown(keyCode(event->key()), shiftBits(event->modifiers()));
    if (!self)
        return;
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).unicode() < 256 && text.at(0).unicode() >= 8)
        emit keyPress(text.at(0).unicode());
}

void ButtonXp::keyReleaseEvent(QKeyEvent *event)
{
    // Auto-repeat sends releases too; only the real one ends the press.
    if (event->isAutoRepeat())
        return;
    const int shift = shiftBits(event->modifiers());
    QPointer<ButtonXp> self(this);
    if (event->key() == Qt::Key_Space) {
        m_pressed = false;
        m_hot = false;
        Refresh();
        release(1, shift, 0, 0);
        if (!self)
            return;
    }
    m_keyHeld = false;
    emit keyUp(keyCode(event->key()), shift);
}

void ButtonXp::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange
        || event->type() == QEvent::PaletteChange)
        Refresh();
}
