#include "controls/xp_caption_button.h"

#include "controls/caption_label.h"
#include "controls/ole_colour.h"
#include "controls/xp_caption_button_accessible.h"
#include "core/info_line.h"

#include <QAccessible>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimer>

namespace {

int buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

int shiftBits(Qt::KeyboardModifiers mods)
{
    int bits = 0;
    if (mods & Qt::ShiftModifier)
        bits |= 1;
    if (mods & Qt::ControlModifier)
        bits |= 2;
    if (mods & Qt::AltModifier)
        bits |= 4;
    return bits;
}

// Key codes as the host windows know them: the desktop's virtual-key numbers.
int keyCode(int key)
{
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return 112 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z) || key == Qt::Key_Space)
        return key;
    return 0;
}

void installAccessibleFactory()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(&XpCaptionButtonAccessible::factory);
        installed = true;
    }
}

} // namespace

XpCaptionButton::XpCaptionButton(CaptionStrip::Variant variant, InfoLine *infoLine, QWidget *parent)
    : QWidget(parent), m_strip(CaptionStrip::strip(variant)), m_infoLine(infoLine)
{
    installAccessibleFactory();
    setFocusPolicy(Qt::StrongFocus);
    // Without tracking, moves with no button held would never reach the hover logic.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_label = new CaptionLabel(this);
    m_label->setObjectName(QStringLiteral("lbl"));

    m_hoverTimer = new QTimer(this);
    m_hoverTimer->setObjectName(QStringLiteral("Timer1"));
    m_hoverTimer->setInterval(10);
    connect(m_hoverTimer, &QTimer::timeout, this, &XpCaptionButton::hoverTick);

    m_font = font();
    paintResting();
}

XpCaptionButton::~XpCaptionButton() = default;

QString XpCaptionButton::caption() const
{
    return m_caption;
}

void XpCaptionButton::setCaption(const QString &caption)
{
    m_caption = caption;
    m_label->setText(caption);
    paintResting();
    placeCaption();
    updateShortcut();
    updateAccessibleName();
}

int XpCaptionButton::state() const
{
    return m_state;
}

void XpCaptionButton::setState(int state)
{
    m_state = state;
    paintResting();
}

void XpCaptionButton::setInfoLine(InfoLine *line)
{
    m_infoLine = line;
}

InfoLine *XpCaptionButton::infoLine() const
{
    return m_infoLine;
}

QString XpCaptionButton::plainCaption(const QString &caption)
{
    QString out;
    out.reserve(caption.size());
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size())
                out += caption.at(++i);
        } else {
            out += caption.at(i);
        }
    }
    return out;
}

QImage XpCaptionButton::surface() const
{
    return m_surface;
}

CaptionLabel *XpCaptionButton::captionLabel() const
{
    return m_label;
}

int XpCaptionButton::restingCell() const
{
    return m_restingCell;
}

int XpCaptionButton::paintedCell() const
{
    return m_paintedCell;
}

QColor XpCaptionButton::hoverCaptionColour()
{
    return QColor(192, 0, 192);
}

QColor XpCaptionButton::disabledCaptionColour()
{
    return QColor(161, 161, 146);
}

void XpCaptionButton::paintCell(int cell)
{
    m_paintedCell = cell;
    if (m_surface.size() != size())
        m_surface = QImage(size(), QImage::Format_RGB32);
    if (!m_surface.isNull()) {
        QPainter p(&m_surface);
        CaptionStrip::paintCell(p, m_strip, cell, width(), height());
    }
    update();
}

void XpCaptionButton::paintResting()
{
    if (m_state == 1)
        m_restingCell = CaptionStrip::Default;
    else if (m_state == 0)
        m_restingCell = CaptionStrip::Normal;
    paintCell(isEnabled() ? m_restingCell : int(CaptionStrip::Disabled));
}

void XpCaptionButton::placeCaption()
{
    m_label->move((width() - m_label->width()) / 2, (height() - m_label->height()) / 2);
}

void XpCaptionButton::setHint(const QString &text)
{
    if (m_infoLine)
        m_infoLine->setText(text);
}

void XpCaptionButton::stopHover()
{
    m_hoverTimer->stop();
}

void XpCaptionButton::restoreCaptionColour()
{
    m_label->setColour(OleColour::toColor(m_foreColor, palette()));
}

QColor XpCaptionButton::enabledCaptionColour() const
{
    return OleColour::toColor(m_foreColor, palette());
}

void XpCaptionButton::applyEnabledLook()
{
    paintResting();
    m_label->setColour(isEnabled() ? enabledCaptionColour() : disabledCaptionColour());
    update();
}

quint32 XpCaptionButton::foreColor() const
{
    return m_foreColor;
}

void XpCaptionButton::setForeColor(quint32 colour)
{
    m_foreColor = colour;
    const QColor c = OleColour::toColor(colour, palette());
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, c);
    setPalette(pal);
    m_label->setColour(c);
    update();
}

QFont XpCaptionButton::buttonFont() const
{
    return m_font;
}

void XpCaptionButton::setButtonFont(const QFont &font)
{
    // Every attribute is set, so none is left to be inherited from the window.
    QFont f;
    f.setFamily(font.family());
    f.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : QFont().pointSizeF());
    f.setBold(font.bold());
    f.setItalic(font.italic());
    f.setUnderline(font.underline());
    f.setStrikeOut(font.strikeOut());
    m_font = f;
    setFont(f);
    applyCaptionFont(f);
    update();
}

void XpCaptionButton::applyCaptionFont(const QFont &font)
{
    m_label->setFont(font);
    // The self-sizing caption changed size with its font; keep it centred.
    placeCaption();
}

bool XpCaptionButton::inBounds(const QPointF &pos) const
{
    // The right and bottom edges count as inside.
    return pos.x() >= 0 && pos.y() >= 0 && pos.x() <= width() && pos.y() <= height();
}

void XpCaptionButton::mousePressEvent(QMouseEvent *event)
{
    press(event, true);
}

void XpCaptionButton::click()
{
    if (!isEnabled())
        return;
    const QPointF middle(width() / 2.0, height() / 2.0);
    const QPointF global = mapToGlobal(middle);
    QPointer<XpCaptionButton> self(this);
    QMouseEvent down(QEvent::MouseButtonPress, middle, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    mousePressEvent(&down);
    if (!self)
        return;
    QMouseEvent up(QEvent::MouseButtonRelease, middle, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    mouseReleaseEvent(&up);
}

void XpCaptionButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is still a press, but it makes no second click.
    press(event, false);
}

void XpCaptionButton::press(QMouseEvent *event, bool armClick)
{
    if (event->button() == Qt::LeftButton)
        m_clickArmed = armClick;
    const QPointF pos = event->position();
    QPointer<XpCaptionButton> self(this);
    emit mouseDown(buttonBits(event->button()), shiftBits(event->modifiers()), float(pos.x()), float(pos.y()));
    // The handler may have run a modal window that closed this button's window for good.
    if (!self)
        return;
    paintCell(CaptionStrip::Pressed);
}

void XpCaptionButton::mouseMoveEvent(QMouseEvent *event)
{
    // Started only if idle: restarting on every move would hold off the tick while moving.
    if (!m_hoverTimer->isActive())
        m_hoverTimer->start();
    const QPointF pos = event->position();
    if (!inBounds(pos))
        return;
    QPointer<XpCaptionButton> self(this);
    emit mouseMove(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(pos.x()), float(pos.y()));
    if (!self)
        return;
    if (hasHoverColour())
        m_label->setColour(hoverCaptionColour());
    updateHint();
    paintCell(event->buttons() == Qt::LeftButton ? CaptionStrip::Pressed : CaptionStrip::Hot);
}

void XpCaptionButton::mouseReleaseEvent(QMouseEvent *event)
{
    bool click = false;
    if (event->button() == Qt::LeftButton) {
        click = m_clickArmed && inBounds(event->position());
        m_clickArmed = false;
    }
    const QPointF pos = event->position();
    QPointer<XpCaptionButton> self(this);
    emit mouseUp(buttonBits(event->button()), shiftBits(event->modifiers()), float(pos.x()), float(pos.y()));
    if (!self)
        return;
    paintResting();
    if (click)
        emit clicked();
}

void XpCaptionButton::keyPressEvent(QKeyEvent *event)
{
    QPointer<XpCaptionButton> self(this);
    emit keyDown(keyCode(event->key()), shiftBits(event->modifiers()));
    if (!self)
        return;
    if (!event->text().isEmpty() && event->text().at(0).unicode() < 256) {
        emit keyPress(event->text().at(0).unicode());
        if (!self)
            return;
    }
    // Keyboard users activate the button too; this is a click, never a mouse press.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat())
        emit clicked();
}

void XpCaptionButton::keyReleaseEvent(QKeyEvent *event)
{
    QPointer<XpCaptionButton> self(this);
    emit keyUp(keyCode(event->key()), shiftBits(event->modifiers()));
    if (!self)
        return;
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        emit clicked();
}

void XpCaptionButton::hoverTick()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    if (p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height())
        leave();
}

void XpCaptionButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void XpCaptionButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void XpCaptionButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
    if (hasFocus()) {
        // Drawn over the face, not into it; the style shows it only after keyboard moves.
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

void XpCaptionButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    paintResting();
    placeCaption();
}

void XpCaptionButton::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    paintResting();
}

void XpCaptionButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        applyEnabledLook();
    } else if (event->type() == QEvent::FontChange && captionFollowsFont()) {
        // A host that sets the control's font directly changes the caption with it.
        m_font = font();
        applyCaptionFont(m_font);
        update();
    }
}

bool XpCaptionButton::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ToolTipChange)
        updateAccessibleName();
    return handled;
}

void XpCaptionButton::updateShortcut()
{
    const QKeySequence key = QKeySequence::mnemonic(m_caption);
    // Re-registering an unchanged key would restart the round of a key that buttons share.
    if (m_shortcut && m_shortcut->key() == key)
        return;
    delete m_shortcut;
    m_shortcut = nullptr;
    if (key.isEmpty())
        return;
    // The access key: Alt with the letter after "&".
    m_shortcut = new QShortcut(key, this);
    connect(m_shortcut, &QShortcut::activated, this, [this] {
        if (isEnabled())
            emit clicked();
    });
    // A key that several buttons of a window share presses none of them: each press moves the
    // focus on to the next one, and Enter or Space presses it.
    connect(m_shortcut, &QShortcut::activatedAmbiguously, this, [this] {
        if (isEnabled())
            setFocus(Qt::ShortcutFocusReason);
    });
}

void XpCaptionButton::updateAccessibleName()
{
    const QString name = plainCaption(m_caption).trimmed();
    setAccessibleName(name.isEmpty() ? toolTip() : name);
}
