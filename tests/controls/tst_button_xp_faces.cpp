#include "controls/button_xp.h"
#include "controls/button_xp_faces.h"
#include "controls/ole_colour.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QtTest>

using Sample = QPair<QPoint, QColor>;
using Samples = QList<Sample>;

namespace {

quint32 rgb(int r, int g, int b)
{
    return OleColour::fromRgb(r, g, b);
}

// Every system colour the faces use, set apart so each pixel tells which one was drawn.
QPalette testPalette()
{
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(200, 200, 200));
    pal.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    pal.setColor(QPalette::Mid, QColor(100, 100, 100));
    pal.setColor(QPalette::Light, QColor(250, 250, 250));
    pal.setColor(QPalette::Shadow, QColor(10, 10, 10));
    pal.setColor(QPalette::Midlight, QColor(230, 230, 230));
    pal.setColor(QPalette::Highlight, QColor(49, 106, 197));
    return pal;
}

enum State { Rest, Hot, Pressed, Focused, Disabled };

} // namespace

class TestButtonXpFaces : public QObject
{
    Q_OBJECT
private slots:
    void shiftColor_data();
    void shiftColor();
    void defaultHoverAndPressedColours();
    void faces_data();
    void faces();
    void graded_bevel_draws_three_frames();
    void default_button_keeps_its_edge_while_pressed();
    void rounded_shape_cuts_three_pixels_per_corner();
    void transparent_style2_shows_host_only_at_rest();
};

void TestButtonXpFaces::shiftColor_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<int>("amount");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("dedication blue lighter") << rgb(30, 124, 187) << 48 << rgb(78, 172, 233);
    QTest::newRow("blue quotient truncates toward zero") << rgb(10, 20, 30) << -48 << rgb(0, 0, 23);
    QTest::newRow("capped at white") << rgb(250, 240, 200) << 48 << rgb(255, 255, 250);
    QTest::newRow("zero blue stays zero") << rgb(100, 100, 0) << 90 << rgb(190, 190, 0);
}

void TestButtonXpFaces::shiftColor()
{
    QFETCH(quint32, colour);
    QFETCH(int, amount);
    QFETCH(quint32, expected);
    QCOMPARE(ButtonXpFaces::ShiftColor(colour, amount), expected);
}

void TestButtonXpFaces::defaultHoverAndPressedColours()
{
    ButtonXpFaces::Inputs in;
    in.palette = testPalette();
    QCOMPARE(ButtonXpFaces::hoverColour(in), rgb(220, 255, 255));
    QCOMPARE(ButtonXpFaces::pressedColour(in), rgb(205, 245, 255));
    in.xpDefaultColors = false;
    in.xpColorHover = rgb(255, 128, 255);
    in.xpColorPressed = rgb(255, 192, 255);
    QCOMPARE(ButtonXpFaces::hoverColour(in), rgb(255, 128, 255));
    QCOMPARE(ButtonXpFaces::pressedColour(in), rgb(255, 192, 255));
}

// A 40 x 20 button without caption or picture, brought into each state by the input that
// causes it, sampled where the faces differ.
void TestButtonXpFaces::faces_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("state");
    QTest::addColumn<Samples>("samples");
    const QColor back(200, 200, 200), shadow(100, 100, 100), light(250, 250, 250), fore(0, 0, 128);
    const QColor inverted(55, 55, 55); // the dotted focus rectangle over the face colour
    QTest::newRow("0 rest raised")
        << 0 << int(Rest)
        << Samples{{{0, 0}, light}, {{0, 10}, light}, {{39, 10}, shadow}, {{10, 19}, shadow}, {{10, 10}, back}};
    QTest::newRow("0 hot raised") << 0 << int(Hot) << Samples{{{0, 0}, light}, {{39, 10}, shadow}, {{10, 10}, back}};
    QTest::newRow("0 pressed sunken") << 0 << int(Pressed)
                                      << Samples{
                                             {{0, 0}, shadow}, {{0, 10}, shadow}, {{39, 10}, light}, {{10, 19}, light}};
    QTest::newRow("0 focused extra edge")
        << 0 << int(Focused)
        << Samples{{{38, 10}, shadow}, {{10, 18}, shadow}, {{0, 0}, light}, {{4, 4}, inverted}, {{5, 4}, back}};
    QTest::newRow("0 disabled raised") << 0 << int(Disabled)
                                       << Samples{{{0, 0}, light}, {{39, 10}, shadow}, {{10, 10}, back}};
    QTest::newRow("1 rest flat") << 1 << int(Rest) << Samples{{{0, 0}, back}, {{39, 10}, back}};
    QTest::newRow("1 hot raised") << 1 << int(Hot) << Samples{{{0, 0}, light}, {{39, 10}, shadow}};
    QTest::newRow("1 pressed sunken") << 1 << int(Pressed) << Samples{{{0, 0}, shadow}, {{39, 10}, light}};
    QTest::newRow("1 focused flat with focus dots")
        << 1 << int(Focused) << Samples{{{0, 0}, back}, {{38, 10}, back}, {{4, 4}, inverted}};
    QTest::newRow("1 disabled flat") << 1 << int(Disabled) << Samples{{{0, 0}, back}, {{39, 10}, back}};
    QTest::newRow("2 rest plain") << 2 << int(Rest) << Samples{{{0, 0}, back}, {{10, 10}, back}};
    QTest::newRow("2 hot highlight and frame")
        << 2 << int(Hot) << Samples{{{0, 0}, fore}, {{39, 19}, fore}, {{10, 10}, QColor(220, 255, 255)}};
    QTest::newRow("2 pressed colour") << 2 << int(Pressed)
                                      << Samples{{{0, 0}, fore}, {{10, 10}, QColor(205, 245, 255)}};
    QTest::newRow("2 focused plain") << 2 << int(Focused) << Samples{{{0, 0}, back}, {{4, 4}, inverted}};
    QTest::newRow("2 disabled plain") << 2 << int(Disabled) << Samples{{{0, 0}, back}, {{10, 10}, back}};
    for (int state : {int(Rest), int(Hot), int(Pressed), int(Disabled)})
        QTest::addRow("4 state %d no border", state) << 4 << state << Samples{{{0, 0}, back}, {{39, 19}, back}};

    // Style 3 on the dedication blue; row 10 of the face tests rounding halves to even. The
    // rounded face has no dotted focus rectangle: (4, 4) keeps the gradient of row 4.
    const QColor dark(10, 10, 10);
    QTest::newRow("3 rest gradient and edges") << 3 << int(Rest)
                                               << Samples{{{20, 0}, dark},
                                                          {{1, 1}, dark},
                                                          {{20, 10}, QColor(66, 160, 219)},
                                                          {{20, 1}, QColor(94, 188, 252)},
                                                          {{20, 18}, QColor(30, 124, 175)}};
    QTest::newRow("3 hot ring") << 3 << int(Hot)
                                << Samples{{{1, 10}, QColor(225, 153, 71)},
                                           {{20, 1}, QColor(255, 243, 104)},
                                           {{20, 18}, QColor(185, 113, 57)},
                                           {{20, 10}, QColor(66, 160, 219)}};
    QTest::newRow("3 pressed no ring") << 3 << int(Pressed)
                                       << Samples{{{20, 10}, QColor(38, 132, 187)},
                                                  {{20, 1}, QColor(14, 108, 163)},
                                                  {{20, 18}, QColor(62, 156, 211)},
                                                  {{1, 1}, dark}};
    QTest::newRow("3 focused ring, no dots") << 3 << int(Focused)
                                             << Samples{{{1, 10}, QColor(140, 170, 230)},
                                                        {{20, 1}, QColor(205, 235, 255)},
                                                        {{20, 18}, QColor(107, 137, 191)},
                                                        {{4, 4}, QColor(73, 167, 227)}};
    QTest::newRow("3 disabled flat face")
        << 3 << int(Disabled)
        << Samples{{{20, 10}, QColor(54, 148, 204)}, {{20, 0}, QColor(0, 88, 132)}, {{1, 1}, QColor(6, 100, 146)}};
}

void TestButtonXpFaces::faces()
{
    QFETCH(int, style);
    QFETCH(int, state);
    QFETCH(Samples, samples);
    ButtonXp b;
    b.setPalette(testPalette());
    b.setCaption(QString());
    b.setButtonStyle(style);
    if (style == 3)
        b.setBackColor(rgb(30, 124, 187));
    b.resize(40, 20);
    b.Refresh(); // a hidden widget gets its resize event only when shown
    const QPointF in(10, 10);
    switch (State(state)) {
    case Rest: break;
    case Hot: {
        QMouseEvent move(QEvent::MouseMove, in, b.mapToGlobal(in), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&b, &move);
        break;
    }
    case Pressed: {
        QMouseEvent move(QEvent::MouseMove, in, b.mapToGlobal(in), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&b, &move);
        QMouseEvent press(QEvent::MouseButtonPress, in, b.mapToGlobal(in), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&b, &press);
        break;
    }
    case Focused: {
        QFocusEvent focus(QEvent::FocusIn);
        QApplication::sendEvent(&b, &focus);
        break;
    }
    case Disabled: b.setEnabled(false); break;
    }
    b.overTimer()->stop();
    const QImage img = b.surface();
    QCOMPARE(img.size(), QSize(40, 20));
    for (int i = 0; i < samples.size(); ++i) {
        const Sample &s = samples.at(i);
        QVERIFY2(QColor(img.pixel(s.first)) == s.second,
                 qPrintable(QStringLiteral("(%1,%2) is %3, expected %4")
                                .arg(s.first.x())
                                .arg(s.first.y())
                                .arg(QColor(img.pixel(s.first)).name(), s.second.name())));
    }
}

void TestButtonXpFaces::graded_bevel_draws_three_frames()
{
    ButtonXpFaces::Inputs in;
    in.palette = testPalette();
    in.style = 0;
    in.backColor = rgb(100, 100, 100);
    in.bevel = 2;
    in.bevelDepth = 8;
    QImage img(30, 20, QImage::Format_RGB32);
    img.fill(QColor(1, 2, 3));
    ButtonXpFaces::PaintBorder(img, in);
    // Frames at insets 2, 1, 0 darken outward; the top and left lines lighten outward.
    QCOMPARE(QColor(img.pixel(29 - 2, 10)), QColor(92, 92, 96));
    QCOMPARE(QColor(img.pixel(29 - 1, 10)), QColor(84, 84, 92));
    QCOMPARE(QColor(img.pixel(29, 10)), QColor(76, 76, 89));
    QCOMPARE(QColor(img.pixel(10, 0)), QColor(124, 124, 124));
    QCOMPARE(QColor(img.pixel(10, 2)), QColor(108, 108, 108));
    QCOMPARE(QColor(img.pixel(10, 10)), QColor(1, 2, 3));
}

void TestButtonXpFaces::default_button_keeps_its_edge_while_pressed()
{
    ButtonXpFaces::Inputs in;
    in.palette = testPalette();
    in.style = 0;
    in.pressed = true;
    in.isDefault = true;
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(QColor(200, 200, 200));
    ButtonXpFaces::PaintBorder(img, in);
    QCOMPARE(QColor(img.pixel(38, 10)), QColor(100, 100, 100));
    QCOMPARE(QColor(img.pixel(0, 0)), QColor(250, 250, 250));
}

void TestButtonXpFaces::rounded_shape_cuts_three_pixels_per_corner()
{
    const QRegion r = ButtonXpFaces::RoundedShape(10, 8);
    for (QPoint out : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(8, 0), QPoint(9, 0), QPoint(9, 1), QPoint(0, 7),
                       QPoint(1, 7), QPoint(0, 6), QPoint(8, 7), QPoint(9, 7), QPoint(9, 6)})
        QVERIFY2(!r.contains(out), qPrintable(QStringLiteral("%1,%2").arg(out.x()).arg(out.y())));
    for (QPoint in : {QPoint(1, 1), QPoint(2, 0), QPoint(0, 2), QPoint(8, 6), QPoint(5, 4)})
        QVERIFY(r.contains(in));
}

void TestButtonXpFaces::transparent_style2_shows_host_only_at_rest()
{
    QImage host(100, 100, QImage::Format_RGB32);
    host.fill(QColor(0, 120, 0));
    host.setPixel(15, 25, qRgb(200, 0, 0));
    ButtonXpFaces::Inputs in;
    in.palette = testPalette();
    in.transparentBG = true;
    in.hostPicture = &host;
    in.position = QPoint(10, 20);
    QImage img(30, 20, QImage::Format_RGB32);
    ButtonXpFaces::PaintBackground(img, in);
    QCOMPARE(QColor(img.pixel(5, 5)), QColor(200, 0, 0));
    QCOMPARE(QColor(img.pixel(0, 0)), QColor(0, 120, 0));
    in.hot = true;
    ButtonXpFaces::PaintBackground(img, in);
    QCOMPARE(QColor(img.pixel(5, 5)), QColor(220, 255, 255));
    in.pressed = true;
    ButtonXpFaces::PaintBackground(img, in);
    QCOMPARE(QColor(img.pixel(5, 5)), QColor(205, 245, 255));
}

QTEST_MAIN(TestButtonXpFaces)
#include "tst_button_xp_faces.moc"
