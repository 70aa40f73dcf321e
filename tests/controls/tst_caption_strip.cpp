#include "controls/caption_strip.h"

#include <QGuiApplication>
#include <QtTest>

namespace {

QImage paintOnto(const QImage &strip, int cell, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::green);
    QPainter p(&img);
    CaptionStrip::paintCell(p, strip, cell, w, h);
    return img;
}

// A strip whose nine pieces are flat colours, the centre's telling the cells apart.
QImage pieceStrip()
{
    QImage img(90, 21, QImage::Format_RGB888);
    for (int cell = 0; cell < 5; ++cell) {
        for (int y = 0; y < 21; ++y) {
            for (int x = 0; x < 18; ++x) {
                const int col = x < 3 ? 0 : x < 15 ? 1 : 2;
                const int row = y < 3 ? 0 : y < 18 ? 1 : 2;
                QColor c(40 + 60 * col, 40 + 60 * row, 0);
                if (col == 1 && row == 1)
                    c = QColor(0, 0, 50 * cell + 10);
                img.setPixelColor(cell * 18 + x, y, c);
            }
        }
    }
    return img;
}

QColor piece(int col, int row)
{
    return QColor(40 + 60 * col, 40 + 60 * row, 0);
}

} // namespace

Q_DECLARE_METATYPE(CaptionStrip::Variant)

class TestCaptionStrip : public QObject
{
    Q_OBJECT
private slots:
    void cellPixels_data();
    void cellPixels();
    void ninePiecesKeepBorders_data();
    void ninePiecesKeepBorders();
    void stretchedButtonKeepsFrameAndFill();
};

void TestCaptionStrip::cellPixels_data()
{
    QTest::addColumn<CaptionStrip::Variant>("variant");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("expected");

    const QColor frame(0, 60, 116);
    const auto C = CaptionStrip::Cmd;
    const auto B = CaptionStrip::CmdButton;
    const auto X = CaptionStrip::CmdBut;

    QTest::newRow("normal frame left") << C << 0 << QPoint(0, 10) << frame;
    QTest::newRow("normal frame top") << C << 0 << QPoint(9, 0) << frame;
    QTest::newRow("normal corner blended") << C << 0 << QPoint(0, 0) << QColor(177, 190, 191);
    QTest::newRow("normal corner diagonal") << C << 0 << QPoint(1, 1) << frame;
    QTest::newRow("normal inner edge") << C << 0 << QPoint(1, 10) << QColor(Qt::white);
    QTest::newRow("normal fill top") << C << 0 << QPoint(9, 2) << QColor(Qt::white);
    QTest::newRow("normal fill bottom") << C << 0 << QPoint(9, 18) << QColor(198, 197, 215);
    QTest::newRow("pressed frame") << C << 1 << QPoint(17, 10) << frame;
    QTest::newRow("pressed fill top") << C << 1 << QPoint(9, 1) << QColor(172, 171, 189);
    QTest::newRow("pressed fill bottom") << C << 1 << QPoint(9, 19) << QColor(Qt::white);
    QTest::newRow("disabled frame") << C << 2 << QPoint(0, 10) << QColor(196, 195, 191);
    QTest::newRow("disabled corner diagonal") << C << 2 << QPoint(1, 19) << QColor(196, 195, 191);
    QTest::newRow("disabled fill") << C << 2 << QPoint(9, 10) << QColor(241, 241, 237);
    QTest::newRow("disabled fill at edge") << C << 2 << QPoint(2, 19) << QColor(241, 241, 237);
    QTest::newRow("hot ring top") << C << 3 << QPoint(9, 1) << QColor(255, 240, 207);
    QTest::newRow("hot ring bottom") << C << 3 << QPoint(9, 19) << QColor(229, 151, 0);
    QTest::newRow("hot frame") << C << 3 << QPoint(9, 20) << frame;
    QTest::newRow("default ring top") << C << 4 << QPoint(9, 1) << QColor(206, 231, 255);
    QTest::newRow("default ring bottom") << C << 4 << QPoint(9, 19) << QColor(105, 130, 238);
    QTest::newRow("magenta outer left") << B << 3 << QPoint(1, 10) << QColor(255, 213, 255);
    QTest::newRow("magenta outer top") << B << 3 << QPoint(9, 1) << QColor(255, 213, 255);
    QTest::newRow("magenta inside") << B << 3 << QPoint(2, 10) << QColor(255, 174, 255);
    QTest::newRow("magenta outer right") << B << 3 << QPoint(16, 10) << QColor(255, 113, 255);
    QTest::newRow("magenta outer bottom") << B << 3 << QPoint(9, 19) << QColor(255, 113, 255);
    QTest::newRow("magenta last inner row") << B << 3 << QPoint(9, 18) << QColor(255, 0, 255);
    QTest::newRow("button default stays blue") << B << 4 << QPoint(9, 1) << QColor(206, 231, 255);
    QTest::newRow("cross top left") << X << 0 << QPoint(5, 7) << QColor(Qt::black);
    QTest::newRow("cross top right") << X << 0 << QPoint(11, 7) << QColor(Qt::black);
    QTest::newRow("cross middle") << X << 0 << QPoint(8, 10) << QColor(Qt::black);
    QTest::newRow("cross bottom right") << X << 0 << QPoint(11, 13) << QColor(Qt::black);
    QTest::newRow("cross edge") << X << 0 << QPoint(6, 7) << QColor(191, 206, 220);
    QTest::newRow("cross on disabled cell") << X << 2 << QPoint(5, 13) << QColor(Qt::black);
    QTest::newRow("cross on hot cell keeps ring") << X << 3 << QPoint(9, 19) << QColor(229, 151, 0);
}

void TestCaptionStrip::cellPixels()
{
    QFETCH(CaptionStrip::Variant, variant);
    QFETCH(int, cell);
    QFETCH(QPoint, at);
    QFETCH(QColor, expected);

    const QImage strip = CaptionStrip::strip(variant);
    QCOMPARE(strip.size(), QSize(90, 21));
    // Through the nine-piece copy at the cell's own size, which must be an exact copy.
    const QImage img = paintOnto(strip, cell, 18, 21);
    QCOMPARE(img.pixelColor(at), expected);
    QCOMPARE(strip.pixelColor(cell * 18 + at.x(), at.y()), expected);
}

void TestCaptionStrip::ninePiecesKeepBorders_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("cell");
    QTest::newRow("cell size") << QSize(18, 21) << 0;
    QTest::newRow("wide") << QSize(100, 40) << 3;
    QTest::newRow("close box") << QSize(25, 25) << 4;
    QTest::newRow("big button") << QSize(120, 60) << 1;
    QTest::newRow("smallest with centre") << QSize(7, 7) << 2;
}

void TestCaptionStrip::ninePiecesKeepBorders()
{
    QFETCH(QSize, size);
    QFETCH(int, cell);
    const int w = size.width(), h = size.height();
    const QImage img = paintOnto(pieceStrip(), cell, w, h);

    const QColor centre(0, 0, 50 * cell + 10);
    const struct {
        int x, y;
        QColor c;
    } probes[] = {
        {0, 0, piece(0, 0)},
        {2, 2, piece(0, 0)},
        {w - 3, 0, piece(2, 0)},
        {w - 1, 2, piece(2, 0)},
        {w - 3, h - 3, piece(2, 2)},
        {w - 1, h - 1, piece(2, 2)},
        {0, h - 3, piece(0, 2)},
        {2, h - 1, piece(0, 2)},
        {3, 0, piece(1, 0)},
        {w - 4, 2, piece(1, 0)},
        {w - 3, 3, piece(2, 1)},
        {w - 1, h - 4, piece(2, 1)},
        {0, 3, piece(0, 1)},
        {2, h - 4, piece(0, 1)},
        {3, h - 3, piece(1, 2)},
        {w - 4, h - 1, piece(1, 2)},
        {3, 3, centre},
        {w - 4, h - 4, centre},
    };
    for (const auto &p : probes)
        QVERIFY2(img.pixelColor(p.x, p.y) == p.c,
                 qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")
                                .arg(p.x)
                                .arg(p.y)
                                .arg(img.pixelColor(p.x, p.y).name(), p.c.name())));
}

void TestCaptionStrip::stretchedButtonKeepsFrameAndFill()
{
    const QImage img = paintOnto(CaptionStrip::strip(CaptionStrip::Cmd), 0, 100, 40);
    const QColor frame(0, 60, 116);
    QCOMPARE(img.pixelColor(0, 20), frame);
    QCOMPARE(img.pixelColor(99, 20), frame);
    QCOMPARE(img.pixelColor(50, 0), frame);
    QCOMPARE(img.pixelColor(50, 39), frame);
    QCOMPARE(img.pixelColor(1, 20), QColor(Qt::white));
    QCOMPARE(img.pixelColor(98, 20), QColor(Qt::white));
    QCOMPARE(img.pixelColor(50, 2), QColor(Qt::white));
    QCOMPARE(img.pixelColor(50, 37), QColor(198, 197, 215));
    // the fill darkens from top to bottom across the stretched centre
    QVERIFY(img.pixelColor(50, 10).red() > img.pixelColor(50, 30).red());

    // The cross of the close box stretches with the centre.
    const QImage box = paintOnto(CaptionStrip::strip(CaptionStrip::CmdBut), 0, 25, 25);
    QCOMPARE(box.pixelColor(12, 12), QColor(Qt::black));
    QCOMPARE(box.pixelColor(0, 12), frame);
}

QTEST_MAIN(TestCaptionStrip)
#include "tst_caption_strip.moc"
