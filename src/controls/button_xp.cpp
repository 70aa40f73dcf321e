#include "controls/button_xp.h"

#include "controls/button_xp_accessible.h"
#include "controls/ole_colour.h"
#include "controls/property_bag.h"
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

constexpr quint32 Highlight3D = 0x80000014;
constexpr quint32 ButtonShadow = 0x80000010;

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

QColor colour(quint32 c, const QPalette &pal)
{
    return OleColour::toColor(c, pal);
}

// Copies src onto dst at p, leaving out the pixels of the key colour.
void drawMasked(QImage &dst, const QImage &src, QPoint p, QRgb key)
{
    const QImage s = src.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const QRgb px = s.pixel(x, y);
            const int dx = p.x() + x, dy = p.y() + y;
            if ((px & 0xFFFFFF) != (key & 0xFFFFFF) && dst.rect().contains(dx, dy))
                dst.setPixel(dx, dy, px);
        }
}

// The pixels of img that are not white, painted in one colour at p.
void drawSilhouette(QImage &dst, const QImage &img, QPoint p, QRgb c)
{
    const QImage s = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const int dx = p.x() + x, dy = p.y() + y;
            if ((s.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF && dst.rect().contains(dx, dy))
                dst.setPixel(dx, dy, c);
        }
}

QVariant pictureVariant(const ButtonPicture &p)
{
    return QVariant::fromValue(p);
}

ButtonPicture pictureFrom(const QVariant &v)
{
    if (v.canConvert<ButtonPicture>() && v.metaType() == QMetaType::fromType<ButtonPicture>())
        return v.value<ButtonPicture>();
    if (v.metaType() == QMetaType::fromType<QImage>())
        return ButtonPicture::bitmap(v.value<QImage>());
    if (v.metaType() == QMetaType::fromType<QPixmap>())
        return ButtonPicture::bitmap(v.value<QPixmap>().toImage());
    return {};
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

void ButtonXp::readProperties(const PropertyBag &bag, const QFont &containerFont)
{
    m_faces.backColor = bag.read("BackColor", 0x8000000Fu).toUInt();
    m_faces.foreColor = bag.read("ForeColor", 0x80000012u).toUInt();
    m_showFocusRect = bag.read("ShowFocusRect", true).toBool();
    m_caption = bag.read("Caption", objectName()).toString();
    m_picturePosition = bag.read("PicturePosition", 1).toInt();
    m_style = bag.read("ButtonStyle", 2).toInt();
    m_faces.style = m_style;
    m_current = pictureFrom(bag.read("Picture", QVariant()));
    m_pictureWidth = bag.read("PictureWidth", 32).toInt();
    m_pictureHeight = bag.read("PictureHeight", 32).toInt();
    m_pictureSize = bag.read("PictureSize", 1).toInt();
    m_natural = QSize(bag.read("OriginalPicSizeW", 32).toInt(), bag.read("OriginalPicSizeH", 32).toInt());
    QFont f = bag.read("Font", containerFont).value<QFont>();
    setFont(f);
    m_pictureHover = pictureFrom(bag.read("PictureHover", QVariant()));
    m_picture = pictureFrom(bag.read("Picture", QVariant()));
    setEnabled(bag.read("Enabled", true).toBool());
    setMousePointer(bag.read("MousePointer", 0).toInt());
    m_url = bag.read("URL", QString()).toString();
    m_faces.xpColorPressed = bag.read("XPColor_Pressed", 0x80000014u).toUInt();
    m_faces.xpColorHover = bag.read("XPColor_Hover", 0x80000016u).toUInt();
    m_faces.xpDefaultColors = bag.read("XPDefaultColors", true).toBool();
    m_soundOver = bag.read("SoundOver", QStringLiteral(".\\resources\\over.wav")).toString();
    m_soundClick = bag.read("SoundClick", QStringLiteral(".\\resources\\click.wav")).toString();
    m_defCurHand = bag.read("DefCurHand", false).toBool();
    m_faces.xpShowBorderAlways = bag.read("XPShowBorderAlways", false).toBool();
    m_maskColor = bag.read("MaskColor", 0u).toUInt();
    m_faces.transparentBG = bag.read("TransparentBG", false).toBool();
    m_faces.bevel = bag.read("BEVEL", 1).toInt();
    m_faces.bevelDepth = bag.read("BEVELDEPTH", 8).toInt();
    updateAccessKey();
    resized();
}

void ButtonXp::writeProperties(PropertyBag &bag, const QFont &containerFont) const
{
    bag.write("BackColor", m_faces.backColor, 0x8000000Fu);
    bag.write("ForeColor", m_faces.foreColor, 0x80000012u);
    bag.write("ShowFocusRect", m_showFocusRect, true);
    bag.write("Caption", m_caption, objectName());
    bag.write("PicturePosition", m_picturePosition, 1);
    bag.write("ButtonStyle", m_style, 2);
    if (!m_current.isNone())
        bag.write("Picture", pictureVariant(m_current), QVariant());
    bag.write("PictureWidth", m_pictureWidth, 32);
    bag.write("PictureHeight", m_pictureHeight, 32);
    bag.write("PictureSize", m_pictureSize, 1);
    bag.write("OriginalPicSizeW", m_natural.width(), 32);
    bag.write("OriginalPicSizeH", m_natural.height(), 32);
    bag.write("Font", font(), containerFont);
    if (!m_pictureHover.isNone())
        bag.write("PictureHover", pictureVariant(m_pictureHover), QVariant());
    bag.write("Enabled", isEnabled(), true);
    bag.write("MousePointer", m_mousePointer, 0);
    bag.write("URL", m_url, QString());
    bag.write("XPColor_Pressed", m_faces.xpColorPressed, 0x80000014u);
    bag.write("XPColor_Hover", m_faces.xpColorHover, 0x80000016u);
    bag.write("XPDefaultColors", m_faces.xpDefaultColors, true);
    bag.write("SoundOver", m_soundOver, QStringLiteral(".\\resources\\over.wav"));
    bag.write("SoundClick", m_soundClick, QStringLiteral(".\\resources\\click.wav"));
    bag.write("DefCurHand", m_defCurHand, false);
    bag.write("XPShowBorderAlways", m_faces.xpShowBorderAlways, false);
    bag.write("MaskColor", m_maskColor, 0u);
    bag.write("TransparentBG", m_faces.transparentBG, false);
    bag.write("BEVEL", m_faces.bevel, 1);
    bag.write("BEVELDEPTH", m_faces.bevelDepth, 8);
}

void ButtonXp::setCaption(const QString &caption)
{
    m_caption = caption;
    updateAccessKey();
    Refresh();
}

void ButtonXp::setButtonStyle(int style)
{
    m_style = style;
    m_faces.style = style;
    if (style == 3)
        m_faces.transparentBG = false;
    resized();
}

void ButtonXp::setPicturePosition(int position)
{
    m_picturePosition = position;
    Refresh();
}

void ButtonXp::setPicture(const ButtonPicture &picture)
{
    m_picture = picture;
    m_current = picture;
    m_natural = picture.isNone() ? QSize(32, 32) : picture.natural;
    if (m_pictureSize == 2) {
        m_pictureWidth = m_natural.width();
        m_pictureHeight = m_natural.height();
    }
    Refresh();
}

void ButtonXp::setPictureHover(const ButtonPicture &picture)
{
    m_pictureHover = picture;
}

void ButtonXp::setPictureWidth(int w)
{
    m_pictureWidth = w;
    Refresh();
}

void ButtonXp::setPictureHeight(int h)
{
    m_pictureHeight = h;
    Refresh();
}

void ButtonXp::setPictureSize(int size)
{
    m_pictureSize = size;
    if (size == 0)
        m_pictureWidth = m_pictureHeight = 16;
    else if (size == 1)
        m_pictureWidth = m_pictureHeight = 32;
    else if (size == 2) {
        m_pictureWidth = m_picture.isNone() ? 32 : m_natural.width();
        m_pictureHeight = m_picture.isNone() ? 32 : m_natural.height();
    }
    Refresh();
}

void ButtonXp::setButtonEnabled(bool enabled)
{
    setEnabled(enabled);
    Refresh();
}

void ButtonXp::setButtonFont(const QFont &f)
{
    QFont copy;
    copy.setFamily(f.family());
    copy.setPointSizeF(f.pointSizeF() > 0 ? f.pointSizeF() : QFont().pointSizeF());
    copy.setBold(f.bold());
    copy.setItalic(f.italic());
    copy.setUnderline(f.underline());
    copy.setStrikeOut(f.strikeOut());
    setFont(copy);
}

void ButtonXp::setMousePointer(int pointer)
{
    static const QHash<int, Qt::CursorShape> shapes
        = {{1, Qt::ArrowCursor},      {2, Qt::CrossCursor},    {3, Qt::IBeamCursor},        {5, Qt::SizeAllCursor},
           {6, Qt::SizeBDiagCursor},  {7, Qt::SizeVerCursor},  {8, Qt::SizeFDiagCursor},    {9, Qt::SizeHorCursor},
           {10, Qt::UpArrowCursor},   {11, Qt::WaitCursor},    {12, Qt::ForbiddenCursor},   {13, Qt::BusyCursor},
           {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor}, {99, Qt::PointingHandCursor}};
    m_mousePointer = pointer;
    if (shapes.contains(pointer))
        setCursor(shapes.value(pointer));
    else
        unsetCursor();
}

void ButtonXp::setShowFocusRect(bool show)
{
    m_showFocusRect = show;
    Refresh();
}
void ButtonXp::setUrl(const QString &url)
{
    m_url = url;
}
void ButtonXp::setXpColorPressed(quint32 c)
{
    m_faces.xpColorPressed = c;
}
void ButtonXp::setXpColorHover(quint32 c)
{
    m_faces.xpColorHover = c;
}
void ButtonXp::setXpDefaultColors(bool on)
{
    m_faces.xpDefaultColors = on;
}
void ButtonXp::setBackColor(quint32 c)
{
    m_faces.backColor = c;
    Refresh();
}
void ButtonXp::setForeColor(quint32 c)
{
    m_faces.foreColor = c;
    Refresh();
}
void ButtonXp::setSoundClick(const QString &path)
{
    m_soundClick = path;
}
void ButtonXp::setSoundOver(const QString &path)
{
    m_soundOver = path;
}
void ButtonXp::setXpShowBorderAlways(bool on)
{
    m_faces.xpShowBorderAlways = on;
}
void ButtonXp::setMaskColor(quint32 c)
{
    m_maskColor = c;
    Refresh();
}
void ButtonXp::setTransparentBG(bool on)
{
    m_faces.transparentBG = on;
    Refresh();
}
void ButtonXp::setBevel(int n)
{
    m_faces.bevel = n;
    Refresh();
}
void ButtonXp::setBevelDepth(int s)
{
    m_faces.bevelDepth = s;
    Refresh();
}
void ButtonXp::setDefault(bool on)
{
    m_faces.isDefault = on;
    Refresh();
}

void ButtonXp::Refresh()
{
    if (width() <= 0 || height() <= 0)
        return;
    if (m_surface.size() != size())
        m_surface = QImage(size(), QImage::Format_RGB32);
    m_faces.palette = palette();
    m_faces.focused = m_focused;
    m_faces.pressed = m_pressed;
    m_faces.hot = m_hot;
    m_faces.enabled = isEnabled();
    m_faces.position = pos();
    QImage host;
    if (QWidget *p = parentWidget()) {
        const QVariant v = p->property("Picture");
        host = v.metaType() == QMetaType::fromType<QPixmap>() ? v.value<QPixmap>().toImage() : v.value<QImage>();
    }
    m_faces.hostPicture = host.isNull() ? nullptr : &host;
    m_surface.fill(colour(m_faces.backColor, palette()));
    ButtonXpFaces::PaintBackground(m_surface, m_faces);
    if (m_style != 4)
        ButtonXpFaces::PaintBorder(m_surface, m_faces);
    m_faces.hostPicture = nullptr;
    layoutContent();
    drawPicture(m_surface);
    if (m_focused && m_showFocusRect && m_style != 3) {
        // Dotted, drawn by inverting, so it shows on any face.
        const int r = width() - 4, b = height() - 4;
        for (int x = 4; x < r; ++x)
            for (int y : {4, b - 1})
                if ((x + y) % 2 == 0 && m_surface.rect().contains(x, y))
                    m_surface.setPixel(x, y, m_surface.pixel(x, y) ^ 0xFFFFFF);
        for (int y = 5; y < b - 1; ++y)
            for (int x : {4, r - 1})
                if ((x + y) % 2 == 0 && m_surface.rect().contains(x, y))
                    m_surface.setPixel(x, y, m_surface.pixel(x, y) ^ 0xFFFFFF);
    }
    drawCaption(m_surface);
    update();
}

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

void ButtonXp::layoutContent()
{
    const int iw = width() - 8, ih = height() - 8;
    const int pw = m_pictureWidth, ph = m_pictureHeight, g = 4;
    if (m_current.isNone() || m_caption.isEmpty()) {
        if (m_current.isNone()) {
            const QSize t = measureCaption(iw);
            m_captionBox = QRect(4 + (iw - t.width()) / 2, 4 + (ih - t.height()) / 2, t.width(), t.height());
        } else {
            m_pictureBox = QRect(4 + (iw - pw) / 2, 4 + (ih - ph) / 2, pw, ph);
        }
        return;
    }
    const QSize t = measureCaption(iw);
    const int tw = t.width(), th = t.height();
    m_captionBox = QRect(4 + (iw - tw) / 2, 4 + (ih - th) / 2, tw, th);
    switch (m_picturePosition) {
    case 0:
        m_pictureBox = QRect(4 + (iw - pw) / 2, 4 + (ih - (th + g + ph)) / 2, pw, ph);
        m_captionBox = QRect(4 + (iw - tw) / 2, m_pictureBox.top() + ph + g, tw, th);
        break;
    case 1:
        m_pictureBox = QRect(4 + (iw - (tw + g + pw)) / 2, 4 + (ih - ph) / 2, pw, ph);
        m_captionBox = QRect(m_pictureBox.left() + pw + g, 4 + (ih - th) / 2, tw, th);
        break;
    case 2:
        m_captionBox = QRect(4 + (iw - (tw + g + pw)) / 2, 4 + (ih - th) / 2, tw, th);
        m_pictureBox = QRect(m_captionBox.left() + tw + g, 4 + (ih - ph) / 2, pw, ph);
        break;
    case 3:
        m_captionBox = QRect(4 + (iw - tw) / 2, 4 + (ih - (th + g + ph)) / 2, tw, th);
        m_pictureBox = QRect(4 + (iw - pw) / 2, m_captionBox.top() + th + g, pw, ph);
        break;
    default: break;
    }
}

namespace {
constexpr int CaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
}

QSize ButtonXp::measureCaption(int width) const
{
    if (m_caption.isEmpty())
        return {0, 0};
    const QFontMetrics fm(font());
    const int margin = fm.averageCharWidth();
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(width - 2 * margin, 1), 100000), CaptionFlags, m_caption);
    return {r.width() + 2 * margin, r.height()};
}

void ButtonXp::drawCaption(QImage &surface)
{
    if (m_caption.isEmpty())
        return;
    QRect box = m_captionBox;
    if (m_pressed && m_style != 2)
        box.translate(1, 1);
    const int margin = QFontMetrics(font()).averageCharWidth();
    QPainter p(&surface);
    p.setFont(font());
    auto draw = [&](const QRect &r, quint32 c) {
        p.setPen(colour(c, palette()));
        p.drawText(r.adjusted(margin, 0, -margin, 0), CaptionFlags, m_caption);
    };
    if (isEnabled()) {
        draw(box, m_faces.foreColor);
    } else {
        draw(box.translated(1, 1), Highlight3D);
        draw(box, ButtonShadow);
    }
}

void ButtonXp::drawPicture(QImage &surface)
{
    if (m_current.kind != ButtonPicture::Bitmap && m_current.kind != ButtonPicture::Icon)
        return;
    int d = 0;
    if (m_hot && !m_pressed && m_style == 2)
        d = -3;
    else if (m_pressed && m_style != 2)
        d = 1;
    const QRect box = m_pictureBox.translated(d, d);
    const QSize pic(m_pictureWidth, m_pictureHeight);
    const QSize nat = m_natural.isValid() && !m_natural.isEmpty() ? m_natural : QSize(32, 32);
    const QRgb key = colour(m_maskColor, palette()).rgb();
    const QRgb light = colour(Highlight3D, palette()).rgb();
    const QRgb shade = colour(ButtonShadow, palette()).rgb();
    const QRgb grey = qRgb(146, 146, 146);

    // The picture's shape on white: every pixel that is not white belongs to it.
    auto shape = [&]() {
        QImage scratch(nat, QImage::Format_RGB32);
        if (m_current.kind == ButtonPicture::Bitmap) {
            scratch.fill(Qt::white);
            drawMasked(scratch, m_current.image.scaled(nat), QPoint(0, 0), key);
        } else {
            scratch.fill(Qt::white);
            const QImage icon = m_current.icon.pixmap(nat).toImage().convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < icon.height() && y < nat.height(); ++y)
                for (int x = 0; x < icon.width() && x < nat.width(); ++x)
                    if (qAlpha(icon.pixel(x, y)) > 0)
                        scratch.setPixel(x, y, qRgb(0, 0, 0));
        }
        return scratch.scaled(pic, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    auto normal = [&](const QRect &at) {
        if (m_current.kind == ButtonPicture::Bitmap) {
            const QImage scaled
                = m_current.image.scaled(nat).scaled(pic, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            drawMasked(surface, scaled, at.topLeft(), key);
        } else {
            QPainter p(&surface);
            m_current.icon.paint(&p, at);
        }
    };
    if (isEnabled()) {
        if (d == -3)
            drawSilhouette(surface, shape(), m_pictureBox.topLeft(), grey);
        normal(box);
    } else {
        const QImage s = shape();
        drawSilhouette(surface, s, box.topLeft() + QPoint(1, 1), light);
        drawSilhouette(surface, s, box.topLeft(), shade);
    }
}
