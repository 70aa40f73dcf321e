#include "controls/caption_strip.h"

#include <QRect>

namespace {

const QColor kFrame(0, 60, 116);
const QColor kDisabledFrame(196, 195, 191);
const QColor kDisabledFill(241, 241, 237);
const QColor kNormalTop(255, 255, 255);
const QColor kNormalBottom(198, 197, 215);
const QColor kPressedTop(172, 171, 189);
const QColor kPressedBottom(255, 255, 255);
const QColor kHotTop(255, 240, 207);
const QColor kHotBottom(229, 151, 0);
const QColor kDefaultTop(206, 231, 255);
const QColor kDefaultBottom(105, 130, 238);
const QColor kMagentaOuterLight(255, 213, 255);
const QColor kMagentaInner(255, 174, 255);
const QColor kMagentaOuterDark(255, 113, 255);
const QColor kMagentaLastRow(255, 0, 255);
const QColor kCrossEdge(191, 206, 220);

constexpr int W = CaptionStrip::CellWidth;
constexpr int H = CaptionStrip::CellHeight;

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor(qRound(a.red() + (b.red() - a.red()) * t), qRound(a.green() + (b.green() - a.green()) * t),
                  qRound(a.blue() + (b.blue() - a.blue()) * t));
}

// Row y of a gradient whose first colour sits on row y0 and last on row y1.
QColor ramp(const QColor &top, const QColor &bottom, int y, int y0, int y1)
{
    return mix(top, bottom, qBound(0.0, double(y - y0) / double(y1 - y0), 1.0));
}

void put(QImage &img, int ox, int x, int y, const QColor &c)
{
    img.setPixelColor(ox + x, y, c);
}

void drawFrame(QImage &img, int ox, const QColor &frame)
{
    for (int x = 0; x < W; ++x) {
        put(img, ox, x, 0, frame);
        put(img, ox, x, H - 1, frame);
    }
    for (int y = 0; y < H; ++y) {
        put(img, ox, 0, y, frame);
        put(img, ox, W - 1, y, frame);
    }
    // Round the corners: the outer pixel mostly background, its two neighbours half way, the
    // inner diagonal pixel carries the frame so the outline stays closed.
    const QColor bg = CaptionStrip::background();
    const struct {
        int x, y, dx, dy;
    } corners[] = {{0, 0, 1, 1}, {W - 1, 0, -1, 1}, {W - 1, H - 1, -1, -1}, {0, H - 1, 1, -1}};
    for (const auto &c : corners) {
        put(img, ox, c.x, c.y, mix(frame, bg, 0.75));
        put(img, ox, c.x + c.dx, c.y, mix(frame, bg, 0.5));
        put(img, ox, c.x, c.y + c.dy, mix(frame, bg, 0.5));
        put(img, ox, c.x + c.dx, c.y + c.dy, frame);
    }
}

void drawNormal(QImage &img, int ox)
{
    for (int y = 1; y < H - 1; ++y)
        for (int x = 1; x < W - 1; ++x)
            put(img, ox, x, y, ramp(kNormalTop, kNormalBottom, y, 2, H - 3));
    // white inner edge, one pixel inside the frame
    for (int x = 1; x < W - 1; ++x) {
        put(img, ox, x, 1, Qt::white);
        put(img, ox, x, H - 2, Qt::white);
    }
    for (int y = 1; y < H - 1; ++y) {
        put(img, ox, 1, y, Qt::white);
        put(img, ox, W - 2, y, Qt::white);
    }
    drawFrame(img, ox, kFrame);
}

void drawPressed(QImage &img, int ox)
{
    for (int y = 1; y < H - 1; ++y)
        for (int x = 1; x < W - 1; ++x)
            put(img, ox, x, y, ramp(kPressedTop, kPressedBottom, y, 1, H - 2));
    drawFrame(img, ox, kFrame);
}

void drawDisabled(QImage &img, int ox)
{
    for (int y = 1; y < H - 1; ++y)
        for (int x = 1; x < W - 1; ++x)
            put(img, ox, x, y, kDisabledFill);
    drawFrame(img, ox, kDisabledFrame);
}

bool inRing(int x, int y)
{
    const bool inside = x >= 1 && x <= W - 2 && y >= 1 && y <= H - 2;
    const bool core = x >= 3 && x <= W - 4 && y >= 3 && y <= H - 4;
    return inside && !core;
}

// A 2-pixel ring inside the frame, shaded from top to bottom.
void drawGradientRing(QImage &img, int ox, const QColor &top, const QColor &bottom)
{
    drawNormal(img, ox);
    for (int y = 1; y < H - 1; ++y)
        for (int x = 1; x < W - 1; ++x)
            if (inRing(x, y))
                put(img, ox, x, y, ramp(top, bottom, y, 1, H - 2));
    drawFrame(img, ox, kFrame);
}

void drawMagentaRing(QImage &img, int ox)
{
    drawNormal(img, ox);
    for (int y = 1; y < H - 1; ++y) {
        for (int x = 1; x < W - 1; ++x) {
            if (!inRing(x, y))
                continue;
            QColor c = kMagentaInner;
            if (x == W - 2 || y == H - 2)
                c = kMagentaOuterDark;
            else if (x == 1 || y == 1)
                c = kMagentaOuterLight;
            else if (y == H - 3)
                c = kMagentaLastRow;
            put(img, ox, x, y, c);
        }
    }
    drawFrame(img, ox, kFrame);
}

void drawCross(QImage &img, int ox)
{
    constexpr int x0 = 5, y0 = 7, n = 7;
    auto onCross = [](int x, int y) {
        const int i = x - x0, j = y - y0;
        return i >= 0 && i < n && j >= 0 && j < n && (i == j || i + j == n - 1);
    };
    for (int y = y0; y < y0 + n; ++y) {
        for (int x = x0; x < x0 + n; ++x) {
            if (onCross(x, y))
                put(img, ox, x, y, Qt::black);
            else if (onCross(x - 1, y) || onCross(x + 1, y) || onCross(x, y - 1) || onCross(x, y + 1))
                put(img, ox, x, y, kCrossEdge);
        }
    }
}

QImage makeStrip(CaptionStrip::Variant variant)
{
    QImage img(W * CaptionStrip::CellCount, H, QImage::Format_RGB888);
    drawNormal(img, CaptionStrip::Normal * W);
    drawPressed(img, CaptionStrip::Pressed * W);
    drawDisabled(img, CaptionStrip::Disabled * W);
    if (variant == CaptionStrip::CmdButton)
        drawMagentaRing(img, CaptionStrip::Hot * W);
    else
        drawGradientRing(img, CaptionStrip::Hot * W, kHotTop, kHotBottom);
    drawGradientRing(img, CaptionStrip::Default * W, kDefaultTop, kDefaultBottom);
    if (variant == CaptionStrip::CmdBut)
        for (int cell = 0; cell < CaptionStrip::CellCount; ++cell)
            drawCross(img, cell * W);
    return img;
}

} // namespace

QColor CaptionStrip::background()
{
    return QColor(236, 233, 216);
}

QImage CaptionStrip::strip(Variant variant)
{
    static const QImage strips[] = {makeStrip(Cmd), makeStrip(CmdButton), makeStrip(CmdBut)};
    return strips[variant];
}

void CaptionStrip::paintCell(QPainter &painter, const QImage &strip, int cell, int w, int h)
{
    const int sx = cell * CellWidth;
    const int b = Border;
    const int cw = CellWidth - 2 * b; // 12
    const int ch = CellHeight - 2 * b; // 15
    const struct {
        QRect src, dst;
    } pieces[] = {
        {{sx, 0, b, b}, {0, 0, b, b}},
        {{sx + CellWidth - b, 0, b, b}, {w - b, 0, b, b}},
        {{sx + CellWidth - b, CellHeight - b, b, b}, {w - b, h - b, b, b}},
        {{sx, CellHeight - b, b, b}, {0, h - b, b, b}},
        {{sx + b, 0, cw, b}, {b, 0, w - 2 * b, b}},
        {{sx + CellWidth - b, b, b, ch}, {w - b, b, b, h - 2 * b}},
        {{sx, b, b, ch}, {0, b, b, h - 2 * b}},
        {{sx + b, CellHeight - b, cw, b}, {b, h - b, w - 2 * b, b}},
        {{sx + b, b, cw, ch}, {b, b, w - 2 * b, h - 2 * b}},
    };
    // A control narrower or lower than its two borders has empty stretched pieces; they are
    // skipped rather than drawn mirrored.
    for (const auto &p : pieces)
        if (p.dst.width() > 0 && p.dst.height() > 0)
            painter.drawImage(p.dst, strip, p.src);
}
