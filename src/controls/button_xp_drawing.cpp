#include "controls/button_xp.h"

#include "controls/ole_colour.h"

#include <QPainter>
#include <QPixmap>

// The repaint: face, picture, focus rectangle and caption, drawn into the retained surface.

namespace {

constexpr quint32 Highlight3D = 0x80000014;
constexpr quint32 ButtonShadow = 0x80000010;
constexpr int CaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

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

} // namespace

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
