#include "controls/button_xp_faces.h"

#include "controls/ole_colour.h"

#include <algorithm>
#include <cmath>

namespace ButtonXpFaces {

namespace {

constexpr quint32 Highlight = 0x8000000D;
constexpr quint32 ButtonShadow = 0x80000010;
constexpr quint32 Highlight3D = 0x80000014;
constexpr quint32 DarkShadow3D = 0x80000015;

int red(quint32 c)
{
    return int(c & 0xFF);
}
int green(quint32 c)
{
    return int((c >> 8) & 0xFF);
}
int blue(quint32 c)
{
    return int((c >> 16) & 0xFF);
}
quint32 rgb(int r, int g, int b)
{
    return OleColour::fromRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
}

// Drawing by the pixel rules the faces were designed with: right and bottom edges exclusive,
// lines without their end point, everything outside the surface clipped.
class Canvas
{
public:
    Canvas(QImage &image, const QPalette &palette) : m_image(image), m_palette(palette) { }

    quint32 resolve(quint32 c) const
    {
        const QColor q = OleColour::toColor(c, m_palette);
        return OleColour::fromRgb(q.red(), q.green(), q.blue());
    }
    void pixel(int x, int y, quint32 c)
    {
        if (x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height())
            m_image.setPixel(x, y, qRgb(red(c), green(c), blue(c)));
    }
    void fill(int l, int t, int r, int b, quint32 c)
    {
        c = resolve(c);
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                pixel(x, y, c);
    }
    void outline(int l, int t, int r, int b, quint32 c)
    {
        if (r <= l || b <= t)
            return;
        c = resolve(c);
        for (int x = l; x < r; ++x) {
            pixel(x, t, c);
            pixel(x, b - 1, c);
        }
        for (int y = t; y < b; ++y) {
            pixel(l, y, c);
            pixel(r - 1, y, c);
        }
    }
    void line(int x1, int y1, int x2, int y2, quint32 c)
    {
        c = resolve(c);
        const int dx = x2 > x1 ? 1 : x2 < x1 ? -1 : 0;
        const int dy = y2 > y1 ? 1 : y2 < y1 ? -1 : 0;
        for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy)
            pixel(x, y, c);
    }
    void clear(quint32 c)
    {
        c = resolve(c);
        m_image.fill(QColor(red(c), green(c), blue(c)));
    }

private:
    QImage &m_image;
    const QPalette &m_palette;
};

quint32 raise(quint32 c, int s)
{
    return rgb(std::min(red(c) + s, 255), std::min(green(c) + s, 255), std::min(blue(c) + s, 255));
}

quint32 shiftedTimes(quint32 c, int s, int times)
{
    for (int i = 0; i < times; ++i)
        c = ShiftColor(c, -s);
    return c;
}

quint32 raisedTimes(quint32 c, int s, int times)
{
    for (int i = 0; i < times; ++i)
        c = raise(c, s);
    return c;
}

void bevel(Canvas &cv, int w, int h, quint32 c, int n, int s, bool raised)
{
    for (int k = n; k >= 0; --k) {
        const int times = n - k + 1;
        cv.outline(k, k, w - k, h - k, raised ? shiftedTimes(c, s, times) : raisedTimes(c, s, times));
    }
    for (int k = n; k >= 0; --k) {
        const int times = n - k + 1;
        const quint32 l = raised ? raisedTimes(c, s, times) : shiftedTimes(c, s, times);
        cv.line(k, k, w - k - 1, k, l);
        cv.line(k, k, k, h - k - 1, l);
    }
}

void raisedEdge(Canvas &cv, int w, int h, const Inputs &in)
{
    if (in.bevel > 1) {
        bevel(cv, w, h, cv.resolve(in.backColor), in.bevel, in.bevelDepth, true);
        return;
    }
    cv.outline(0, 0, w, h, ButtonShadow);
    cv.outline(0, 0, w + 1, h + 1, Highlight3D);
}

void sunkenEdge(Canvas &cv, int w, int h, const Inputs &in)
{
    if (in.bevel > 1) {
        bevel(cv, w, h, cv.resolve(in.backColor), in.bevel, in.bevelDepth, false);
        return;
    }
    cv.outline(0, 0, w, h, Highlight3D);
    cv.outline(0, 0, w + 1, h + 1, ButtonShadow);
}

void defaultFrame(Canvas &cv, int w, int h, const Inputs &in)
{
    if (in.bevel > 1) {
        bevel(cv, w, h, cv.resolve(in.backColor), in.bevel, in.bevelDepth + 3, true);
        return;
    }
    cv.outline(0, 0, w - 1, h - 1, ButtonShadow);
    cv.outline(0, 0, w + 1, h + 1, Highlight3D);
}

void corners(Canvas &cv, int w, int h, quint32 c)
{
    cv.pixel(1, 1, c);
    cv.pixel(1, h - 2, c);
    cv.pixel(w - 2, 1, c);
    cv.pixel(w - 2, h - 2, c);
}

// Rounded to the nearest, halves to even, as the face's gradient was tuned with.
int gradientShift(int k, int h, int i)
{
    const float ratio = float(k) / float(h);
    return -int(std::nearbyint(double(ratio * float(i))));
}

void ring(Canvas &cv, int w, int h, quint32 x, const int (&a)[5])
{
    cv.outline(1, 2, w - 1, h - 2, x);
    cv.line(2, h - 2, w - 2, h - 2, ShiftColor(x, a[0]));
    cv.line(2, 1, w - 2, 1, ShiftColor(x, a[1]));
    cv.line(1, 2, w - 1, 2, ShiftColor(x, a[2]));
    cv.line(2, 3, 2, h - 3, ShiftColor(x, a[3]));
    cv.line(w - 3, 3, w - 3, h - 3, ShiftColor(x, a[4]));
}

void xpFace(Canvas &cv, int w, int h, const Inputs &in, bool pressed, bool hotRing)
{
    const quint32 back = cv.resolve(in.backColor);
    const quint32 dark = cv.resolve(DarkShadow3D);
    if (!in.enabled) {
        const quint32 d = ShiftColor(back, 48);
        const quint32 f = ShiftColor(d, -24);
        cv.fill(0, 0, w, h, f);
        cv.outline(0, 0, w, h, ShiftColor(d, -84));
        corners(cv, w, h, ShiftColor(d, -72));
        return;
    }
    cv.fill(0, 0, w, h, back);
    if (!pressed) {
        const quint32 t = ShiftColor(back, 48);
        for (int i = 1; i <= h; ++i)
            cv.line(0, i, w, i, ShiftColor(t, gradientShift(25, h, i)));
        cv.outline(0, 0, w, h, dark);
        corners(cv, w, h, dark);
        if (in.focused) {
            const quint32 x = in.xpDefaultColors ? rgb(140, 170, 230) : cv.resolve(in.xpColorPressed);
            ring(cv, w, h, x, {-33, 65, 50, 31, 31});
        } else {
            cv.line(2, h - 2, w - 2, h - 2, ShiftColor(t, -48));
            cv.line(1, h - 3, w - 2, h - 3, ShiftColor(t, -32));
            cv.line(w - 2, 2, w - 2, h - 2, ShiftColor(t, -36));
            cv.line(w - 3, 3, w - 3, h - 3, ShiftColor(t, -24));
            cv.line(2, 1, w - 2, 1, ShiftColor(t, 16));
            cv.line(1, 2, w - 2, 2, ShiftColor(t, 10));
            cv.line(1, 2, 1, h - 2, ShiftColor(t, -5));
            cv.line(2, 3, 2, h - 3, ShiftColor(t, -10));
        }
        if (hotRing) {
            const quint32 x = in.xpDefaultColors ? rgb(225, 153, 71) : cv.resolve(in.xpColorHover);
            ring(cv, w, h, x, {-40, 90, 35, 20, 20});
        }
        return;
    }
    const quint32 p = ShiftColor(ShiftColor(back, 48), -32);
    for (int i = 1; i <= h; ++i)
        cv.line(0, h - i, w, h - i, ShiftColor(p, gradientShift(15, h, i)));
    cv.outline(0, 0, w, h, dark);
    corners(cv, w, h, dark);
    cv.line(2, h - 2, w - 2, h - 2, ShiftColor(p, 16));
    cv.line(1, h - 3, w - 2, h - 3, ShiftColor(p, 10));
    cv.line(w - 2, 2, w - 2, h - 2, ShiftColor(p, 5));
    cv.line(w - 3, 3, w - 3, h - 3, p);
    cv.line(2, 1, w - 2, 1, ShiftColor(p, -32));
    cv.line(1, 2, w - 2, 2, ShiftColor(p, -24));
    cv.line(1, 2, 1, h - 2, ShiftColor(p, -32));
    cv.line(2, 2, 2, h - 2, ShiftColor(p, -22));
}

void copyHostBackground(QImage &surface, const Inputs &in)
{
    // A host without a picture leaves the surface as it was.
    if (!in.hostPicture || in.hostPicture->isNull())
        return;
    const QImage part = in.hostPicture->copy(QRect(in.position, surface.size())).convertToFormat(surface.format());
    for (int y = 0; y < surface.height() && y < part.height(); ++y)
        for (int x = 0; x < surface.width() && x < part.width(); ++x)
            surface.setPixel(x, y, part.pixel(x, y));
}

quint32 fromHighlight(const Inputs &in, int dr, int dg, int db)
{
    const QColor hl = OleColour::toColor(Highlight, in.palette);
    return rgb(std::min(hl.red() + dr, 255), std::min(hl.green() + dg, 255), std::min(hl.blue() + db, 255));
}

} // namespace

quint32 ShiftColor(quint32 c, int a)
{
    const int b = blue(c);
    return rgb(red(c) + a, green(c) + a, b + (b * a) / 192);
}

quint32 hoverColour(const Inputs &in)
{
    return in.xpDefaultColors ? fromHighlight(in, 171, 154, 108) : in.xpColorHover;
}

quint32 pressedColour(const Inputs &in)
{
    return in.xpDefaultColors ? fromHighlight(in, 156, 139, 108) : in.xpColorPressed;
}

void PaintBackground(QImage &surface, const Inputs &in)
{
    Canvas cv(surface, in.palette);
    switch (in.style) {
    case 3: return;
    case 2:
        if (in.pressed || !in.transparentBG)
            cv.clear(in.backColor);
        else
            copyHostBackground(surface, in);
        if (in.hot && !in.pressed)
            cv.clear(hoverColour(in));
        if (in.pressed)
            cv.clear(pressedColour(in));
        return;
    default:
        if (in.transparentBG)
            copyHostBackground(surface, in);
        return;
    }
}

void PaintBorder(QImage &surface, const Inputs &in)
{
    Canvas cv(surface, in.palette);
    const int w = surface.width();
    const int h = surface.height();
    switch (in.style) {
    case 2:
        if (in.xpShowBorderAlways || in.hot)
            cv.outline(0, 0, w, h, in.foreColor);
        return;
    case 3:
        if (in.pressed)
            xpFace(cv, w, h, in, true, false);
        else
            xpFace(cv, w, h, in, false, in.hot);
        return;
    case 4: return;
    default:
        if (in.pressed)
            sunkenEdge(cv, w, h, in);
        else if (in.hot || in.style == 0)
            raisedEdge(cv, w, h, in);
        if ((in.focused && in.style == 0 && !in.pressed) || in.isDefault)
            defaultFrame(cv, w, h, in);
        return;
    }
}

QRegion RoundedShape(int w, int h)
{
    QRegion r(0, 0, w, h);
    const QPoint cut[] = {{0, 0},     {1, 0},     {0, 1},     {w - 2, 0},     {w - 1, 0},     {w - 1, 1},
                          {0, h - 1}, {1, h - 1}, {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
    for (const QPoint &p : cut)
        r -= QRegion(p.x(), p.y(), 1, 1);
    return r;
}

} // namespace ButtonXpFaces
