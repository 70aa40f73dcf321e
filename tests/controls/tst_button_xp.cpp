#include "controls/button_xp.h"
#include "controls/ole_colour.h"
#include "controls/property_bag.h"
#include "fakes/recording_fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A shown window holding one button whose events are written to one ordered log.
struct Host {
    QWidget window;
    ButtonXp *button;
    QStringList events;
    QList<QUrl> opened;
    CallLog log;
    FakeSound sound{log};

    explicit Host(const QString &caption = QStringLiteral("&Go"))
    {
        window.resize(200, 100);
        window.move(300, 300);
        button = new ButtonXp(&window);
        button->setObjectName("Button1");
        button->setGeometry(20, 20, 100, 30);
        button->setCaption(caption);
        button->setSoundPlayer(&sound);
        button->setLinkOpener([this](const QUrl &u) {
            opened << u;
            return true;
        });
        auto add = [this](const QString &e) { events << e; };
        QObject::connect(button, &ButtonXp::clicked, [add] { add("Click"); });
        QObject::connect(button, &ButtonXp::mouseDown, [add](int b, int, float x, float y) {
            add(QStringLiteral("MouseDown %1 %2,%3").arg(b).arg(x).arg(y));
        });
        QObject::connect(button, &ButtonXp::mouseUp, [add](int b, int, float x, float y) {
            add(QStringLiteral("MouseUp %1 %2,%3").arg(b).arg(x).arg(y));
        });
        QObject::connect(button, &ButtonXp::keyDown, [add](int k, int) { add(QStringLiteral("KeyDown %1").arg(k)); });
        QObject::connect(button, &ButtonXp::keyUp, [add](int k, int) { add(QStringLiteral("KeyUp %1").arg(k)); });
        QObject::connect(button, &ButtonXp::mouseIn, [add](int) { add("MouseIn"); });
        QObject::connect(button, &ButtonXp::mouseOut, [add](int) { add("MouseOut"); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton b = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
        QMouseEvent e(type, at, button->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : b, held,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void key(QEvent::Type type, int k, bool repeat = false)
    {
        QKeyEvent e(type, k, Qt::NoModifier, k == Qt::Key_Space ? QStringLiteral(" ") : QString(), repeat);
        QApplication::sendEvent(button, &e);
    }
};

} // namespace

class TestButtonXp : public QObject
{
    Q_OBJECT
private slots:
    void click_raises_down_click_up_in_order();
    void accessible_press_is_a_whole_click();
    void release_outside_does_not_click();
    void right_button_neither_presses_nor_clicks();
    void double_click_clicks_twice();
    void space_clicks_once_and_opens_link_once();
    void space_after_another_key_clicks_without_pressed_look();
    void leaving_while_pressed_looks_released_and_keeps_the_press();
    void links_data();
    void links();
    void access_keys_data();
    void access_keys();
    void access_key_clicks_when_enabled();
    void click_sound_only_for_an_existing_file();
    void picture_positions_data();
    void picture_positions();
    void masked_bitmap_leaves_key_colour_out();
    void picture_lifts_sinks_and_embosses_data();
    void picture_lifts_sinks_and_embosses();
    void stored_properties_round_trip();
    void style3_turns_transparency_off_and_picture_size_2_defaults();
};

void TestButtonXp::click_raises_down_click_up_in_order()
{
    Host h;
    h.mouse(QEvent::MouseButtonPress, {10, 5});
    QVERIFY(h.button->isPressed());
    h.mouse(QEvent::MouseButtonRelease, {10, 5});
    QCOMPARE(h.events, QStringList({"MouseDown 1 10,5", "Click", "MouseUp 1 10,5"}));
    QVERIFY(!h.button->isPressed());
}

void TestButtonXp::accessible_press_is_a_whole_click()
{
    Host h;
    h.button->setUrl("https://example.org/");
    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(h.button)->actionInterface();
    QVERIFY(actions);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    QCOMPARE(h.events, QStringList({"MouseDown 1 50,15", "Click", "MouseUp 1 50,15"}));
    QCOMPARE(h.opened, QList<QUrl>{QUrl("https://example.org/")});
    QVERIFY(!h.button->isPressed());
    h.events.clear();
    h.button->setEnabled(false);
    QVERIFY(!actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    QCOMPARE(h.events, QStringList());
}

void TestButtonXp::release_outside_does_not_click()
{
    Host h;
    h.button->setUrl("https://example.org/");
    h.mouse(QEvent::MouseButtonPress, {10, 5});
    h.mouse(QEvent::MouseButtonRelease, {100, 5}); // x == W is outside
    QCOMPARE(h.events, QStringList({"MouseDown 1 10,5", "MouseUp 1 100,5"}));
    QVERIFY(!h.button->isPressed());
    QVERIFY(h.opened.isEmpty());
}

void TestButtonXp::right_button_neither_presses_nor_clicks()
{
    Host h;
    const QImage rest = h.button->surface();
    h.mouse(QEvent::MouseButtonPress, {10, 5}, Qt::RightButton);
    QVERIFY(!h.button->isPressed());
    QCOMPARE(h.button->surface(), rest);
    h.mouse(QEvent::MouseButtonRelease, {10, 5}, Qt::RightButton);
    QCOMPARE(h.events, QStringList({"MouseDown 2 10,5", "MouseUp 2 10,5"}));
}

void TestButtonXp::double_click_clicks_twice()
{
    Host h;
    h.mouse(QEvent::MouseButtonPress, {10, 5});
    h.mouse(QEvent::MouseButtonRelease, {10, 5});
    h.mouse(QEvent::MouseButtonDblClick, {11, 6});
    h.mouse(QEvent::MouseButtonRelease, {11, 6});
    QCOMPARE(
        h.events,
        QStringList({"MouseDown 1 10,5", "Click", "MouseUp 1 10,5", "MouseDown 1 10,5", "Click", "MouseUp 1 11,6"}));
}

void TestButtonXp::space_clicks_once_and_opens_link_once()
{
    Host h;
    h.button->setUrl("https://example.org/");
    h.key(QEvent::KeyPress, Qt::Key_Space);
    QVERIFY(h.button->isPressed());
    const QImage pressed = h.button->surface();
    h.key(QEvent::KeyPress, Qt::Key_Space, true);
    h.key(QEvent::KeyRelease, Qt::Key_Space, true);
    h.key(QEvent::KeyPress, Qt::Key_Space, true);
    QCOMPARE(h.button->surface(), pressed);
    h.key(QEvent::KeyRelease, Qt::Key_Space);
    QCOMPARE(h.events, QStringList({"KeyDown 32", "KeyDown 32", "KeyDown 32", "Click", "MouseUp 1 0,0", "KeyUp 32"}));
    QCOMPARE(h.opened, QList<QUrl>{QUrl("https://example.org/")});
    QVERIFY(!h.button->isPressed());
}

void TestButtonXp::space_after_another_key_clicks_without_pressed_look()
{
    Host h;
    h.key(QEvent::KeyPress, Qt::Key_A);
    h.key(QEvent::KeyPress, Qt::Key_Space);
    QVERIFY(!h.button->isPressed());
    h.key(QEvent::KeyRelease, Qt::Key_Space);
    QVERIFY(h.events.contains("Click"));
}

void TestButtonXp::leaving_while_pressed_looks_released_and_keeps_the_press()
{
    Host h;
    const QImage rest = h.button->surface();
    h.mouse(QEvent::MouseMove, {10, 5});
    h.mouse(QEvent::MouseButtonPress, {10, 5});
    const QImage pressedLook = h.button->surface();
    QVERIFY(pressedLook != rest);
    QCursor::setPos(h.window.mapToGlobal(QPoint(190, 90)));
    h.button->overTimerTick();
    QVERIFY(!h.button->isHot());
    QVERIFY(h.button->isPressed());
    QVERIFY(!h.button->overTimer()->isActive());
    QCOMPARE(h.button->surface(), rest);
    h.mouse(QEvent::MouseMove, {12, 5});
    QCOMPARE(h.button->surface(), pressedLook);
    h.mouse(QEvent::MouseButtonRelease, {12, 5});
    QCOMPARE(h.events.filter(QRegularExpression("^Mouse(In|Out)|^Click")),
             QStringList({"MouseIn", "MouseOut", "MouseIn", "Click"}));
}

void TestButtonXp::links_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("opened");
    QTest::newRow("web") << "https://example.org/page" << true;
    QTest::newRow("plain web") << "http://example.org" << true;
    QTest::newRow("mail") << "mailto:family@example.org" << true;
    QTest::newRow("mail in capitals") << "MAILTO:family@example.org" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("local file") << "file:///etc/passwd" << false;
    QTest::newRow("bare path") << "/usr/bin/xterm" << false;
    QTest::newRow("script") << "javascript:alert(1)" << false;
    QTest::newRow("other scheme") << "smb://server/share" << false;
    QTest::newRow("web without host") << "http:///x" << false;
}

void TestButtonXp::links()
{
    QFETCH(QString, url);
    QFETCH(bool, opened);
    Host h;
    h.button->setUrl(url);
    h.mouse(QEvent::MouseButtonPress, {10, 5});
    h.mouse(QEvent::MouseButtonRelease, {10, 5});
    QCOMPARE(h.opened.size(), opened ? 1 : 0);
    QVERIFY(h.events.contains("Click"));
}

void TestButtonXp::access_keys_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("dedication") << "      &Dedicated To ..."
                                << "d";
    QTest::newRow("one character") << "&"
                                   << "";
    QTest::newRow("single letter") << "D"
                                   << "";
    QTest::newRow("ampersand last") << "Save&"
                                    << "";
    QTest::newRow("no ampersand") << "Save"
                                  << "";
    QTest::newRow("double, no further") << "Fish && Chips"
                                        << "";
    QTest::newRow("double, then a key") << "Fish && &Chips"
                                        << "c";
    QTest::newRow("double, then double again") << "A && B && C"
                                               << "";
    QTest::newRow("double, then ampersand last") << "A && B &"
                                                 << "";
    QTest::newRow("digit") << "Line &2"
                           << "2";
}

void TestButtonXp::access_keys()
{
    QFETCH(QString, caption);
    QFETCH(QString, key);
    const QChar k = ButtonXp::accessKeyOf(caption);
    QCOMPARE(k.isNull() ? QString() : QString(k), key);
}

void TestButtonXp::access_key_clicks_when_enabled()
{
    Host h("      &Dedicated To ...");
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    QTest::keyClick(&h.window, Qt::Key_D, Qt::AltModifier);
    QCOMPARE(h.events.count("Click"), 1);
    h.button->setEnabled(false);
    QTest::keyClick(&h.window, Qt::Key_D, Qt::AltModifier);
    QCOMPARE(h.events.count("Click"), 1);
    QCOMPARE(h.button->accessibleName(), QStringLiteral("Dedicated To ..."));
}

void TestButtonXp::click_sound_only_for_an_existing_file()
{
    QTemporaryDir dir;
    QFile f(dir.filePath("click.wav"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Host h;
    for (const QString &sound : {QStringLiteral(".\\click.wav"), QStringLiteral(""), QStringLiteral("missing.wav")}) {
        h.button->setSoundClick(sound);
        h.mouse(QEvent::MouseButtonPress, {10, 5});
        h.mouse(QEvent::MouseButtonRelease, {10, 5});
    }
    QDir::setCurrent(saved);
    QCOMPARE(h.log.entries, QStringList({"play:" + QDir(dir.path()).filePath("click.wav")}));
    QCOMPARE(h.events.count("Click"), 3);
}

void TestButtonXp::picture_positions_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("above") << 0;
    QTest::newRow("left") << 1;
    QTest::newRow("right") << 2;
    QTest::newRow("below") << 3;
}

void TestButtonXp::picture_positions()
{
    QFETCH(int, position);
    Host h("Go");
    h.button->setGeometry(20, 20, 120, 80);
    QImage pic(28, 35, QImage::Format_RGB32);
    pic.fill(Qt::red);
    h.button->setPicture(ButtonPicture::bitmap(pic));
    h.button->setPictureWidth(24);
    h.button->setPictureHeight(24);
    h.button->setPicturePosition(position);
    const QRect p = h.button->pictureBox(), c = h.button->captionBox();
    QCOMPARE(p.size(), QSize(24, 24));
    QVERIFY(!p.intersects(c));
    switch (position) {
    case 0: QCOMPARE(c.top(), p.bottom() + 1 + 4); break;
    case 1: QCOMPARE(c.left(), p.right() + 1 + 4); break;
    case 2: QCOMPARE(p.left(), c.right() + 1 + 4); break;
    case 3: QCOMPARE(p.top(), c.bottom() + 1 + 4); break;
    }
    // Picture and caption together sit centred in the inner box.
    const QRect both = p.united(c);
    QVERIFY(qAbs((both.left() - 4) - (120 - 4 - 1 - both.right())) <= 1);
    QVERIFY(qAbs((both.top() - 4) - (80 - 4 - 1 - both.bottom())) <= 1);
    QCOMPARE(QColor(h.button->surface().pixel(p.center())), QColor(Qt::red));
}

void TestButtonXp::masked_bitmap_leaves_key_colour_out()
{
    Host h("");
    h.button->setButtonStyle(4);
    h.button->setBackColor(OleColour::fromRgb(0, 0, 255));
    QImage pic(2, 1, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 255, 0));
    pic.setPixel(1, 0, qRgb(0, 0, 0));
    h.button->setPicture(ButtonPicture::bitmap(pic));
    h.button->setPictureSize(2);
    QCOMPARE(h.button->pictureBox().size(), QSize(2, 1));
    const QPoint at = h.button->pictureBox().topLeft();
    QCOMPARE(QColor(h.button->surface().pixel(at)), QColor(255, 255, 0));
    QCOMPARE(QColor(h.button->surface().pixel(at + QPoint(1, 0))), QColor(0, 0, 255));
}

void TestButtonXp::picture_lifts_sinks_and_embosses_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("expected");
    // A 4 x 4 red picture whose box starts at (48, 13) on a 100 x 30 button.
    const QColor red(255, 0, 0);
    QTest::newRow("at rest in place") << 2 << "rest" << QPoint(48, 13) << red;
    QTest::newRow("style 2 hot lifts") << 2 << "hot" << QPoint(45, 10) << red;
    QTest::newRow("style 2 hot leaves a shadow") << 2 << "hot" << QPoint(50, 16) << QColor(146, 146, 146);
    QTest::newRow("style 0 pressed sinks") << 0 << "pressed" << QPoint(52, 17) << red;
    QTest::newRow("style 0 pressed, old corner free") << 0 << "pressed" << QPoint(48, 13) << QColor(200, 200, 200);
    QTest::newRow("disabled: shadow silhouette") << 0 << "disabled" << QPoint(48, 13) << QColor(100, 100, 100);
    QTest::newRow("disabled: highlight below right") << 0 << "disabled" << QPoint(52, 17) << QColor(250, 250, 250);
}

void TestButtonXp::picture_lifts_sinks_and_embosses()
{
    QFETCH(int, style);
    QFETCH(QString, state);
    QFETCH(QPoint, at);
    QFETCH(QColor, expected);
    Host h("");
    QPalette pal = h.button->palette();
    pal.setColor(QPalette::Button, QColor(200, 200, 200));
    pal.setColor(QPalette::Mid, QColor(100, 100, 100));
    pal.setColor(QPalette::Light, QColor(250, 250, 250));
    h.button->setPalette(pal);
    h.button->setButtonStyle(style);
    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(Qt::red);
    h.button->setPictureSize(2);
    h.button->setPicture(ButtonPicture::bitmap(pic));
    QCOMPARE(h.button->pictureBox(), QRect(48, 13, 4, 4));
    if (state == "hot" || state == "pressed")
        h.mouse(QEvent::MouseMove, {10, 5});
    if (state == "pressed")
        h.mouse(QEvent::MouseButtonPress, {10, 5});
    if (state == "disabled")
        h.button->setEnabled(false);
    h.button->overTimer()->stop();
    QCOMPARE(QColor(h.button->surface().pixel(at)), expected);
}

void TestButtonXp::stored_properties_round_trip()
{
    const QFont hostFont = QApplication::font();
    ButtonXp fresh;
    fresh.setObjectName("Dedicated");
    PropertyBag empty;
    fresh.readProperties(empty, hostFont);
    QCOMPARE(fresh.caption(), QStringLiteral("Dedicated"));
    PropertyBag none;
    fresh.writeProperties(none, hostFont);
    QCOMPARE(none.keys(), QStringList());

    PropertyBag bag;
    bag.write("caption", "      &Dedicated To ...", QVariant());
    bag.write("buttonstyle", 3, QVariant());
    bag.write("PicturePosition", 2, QVariant());
    bag.write("XPDefaultColors", false, QVariant());
    bag.write("XPColor_Hover", OleColour::fromRgb(255, 128, 255), QVariant());
    bag.write("SoundClick", "", QVariant());
    bag.write("URL", "mailto:x@example.org", QVariant());
    bag.write("BEVEL", 3, QVariant());
    ButtonXp b;
    b.setObjectName("Dedicated");
    b.readProperties(bag, hostFont);
    QCOMPARE(b.buttonStyle(), 3);
    QCOMPARE(b.accessKey(), QChar('d'));
    QCOMPARE(b.xpColorHover(), OleColour::fromRgb(255, 128, 255));
    QCOMPARE(b.soundClick(), QString());
    PropertyBag out;
    b.writeProperties(out, hostFont);
    QStringList keys = out.keys();
    keys.sort(Qt::CaseInsensitive);
    QCOMPARE(keys,
             QStringList({"BEVEL", "ButtonStyle", "Caption", "PicturePosition", "SoundClick", "URL", "XPColor_Hover",
                          "XPDefaultColors"}));
    QCOMPARE(out.read("url", QString()).toString(), QStringLiteral("mailto:x@example.org"));
}

void TestButtonXp::style3_turns_transparency_off_and_picture_size_2_defaults()
{
    Host h;
    ButtonXp &b = *h.button;
    b.setTransparentBG(true);
    b.setButtonStyle(3);
    QVERIFY(!b.transparentBG());
    QVERIFY(!b.mask().contains(QPoint(0, 0)));
    QVERIFY(b.mask().contains(QPoint(2, 0)));
    b.setPictureSize(2);
    QCOMPARE(QSize(b.pictureWidth(), b.pictureHeight()), QSize(32, 32));
    b.resize(4, 4);
    QCOMPARE(b.size(), QSize(10, 10));
    QCOMPARE(b.surface().size(), QSize(10, 10));
}

QTEST_MAIN(TestButtonXp)
#include "tst_button_xp.moc"
