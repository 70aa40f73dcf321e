// Draws the program's icon (a crescent moon and stars over a sleeping house) at the given sizes.
// Usage: hushby-make-icon OUTDIR SIZE...  writes OUTDIR/SIZExSIZE/apps/the-hushby.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {
QImage draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // Night sky on a rounded tile.
    QLinearGradient sky(0, 0, 0, 64);
    sky.setColorAt(0, QColor(19, 60, 120));
    sky.setColorAt(1, QColor(30, 124, 187));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    // Crescent moon: a disc less an offset disc.
    QPainterPath moon;
    moon.addEllipse(QRectF(34, 8, 22, 22));
    QPainterPath bite;
    bite.addEllipse(QRectF(40, 4, 22, 22));
    p.setBrush(QColor(255, 226, 120));
    p.drawPath(moon.subtracted(bite));
    // Stars.
    p.setBrush(Qt::white);
    for (const QPointF &c : {QPointF(14, 12), QPointF(26, 20), QPointF(10, 26)})
        p.drawEllipse(c, 1.8, 1.8);
    // The house, one window lit.
    p.setBrush(QColor(250, 244, 230));
    p.drawPolygon(QPolygonF({QPointF(12, 40), QPointF(30, 26), QPointF(48, 40)}));
    p.drawRect(QRectF(16, 39, 28, 19));
    p.setBrush(QColor(19, 60, 120));
    p.drawRect(QRectF(26, 46, 8, 12));
    p.setBrush(QColor(255, 200, 60));
    p.drawRect(QRectF(19, 43, 5, 5));
    return image;
}
} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: hushby-make-icon OUTDIR SIZE...\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (size <= 0 || !QDir().mkpath(dir) || !draw(size).save(dir + "/the-hushby.png")) {
            std::fprintf(stderr, "hushby-make-icon: cannot write the %s icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
