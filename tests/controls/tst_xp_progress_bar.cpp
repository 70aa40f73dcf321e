#include "controls/property_bag.h"
#include "controls/xp_progress_bar.h"
#include "fakes/recording_fakes.h"

#include <QAccessible>
#include <QtTest>
#include <algorithm>

namespace {

constexpr int kMiddleRow = 8; // of a 17-pixel bar: blocks fill rows 3 to 13

// What is painted along one row, as "start+width ...", found by comparing with the empty frame.
QString runs(const QImage &shown, const QImage &empty, int y = kMiddleRow)
{
    QStringList out;
    int start = -1;
    for (int x = 0; x <= shown.width(); ++x) {
        const bool painted = x < shown.width() && shown.pixel(x, y) != empty.pixel(x, y);
        if (painted && start < 0)
            start = x;
        if (!painted && start >= 0) {
            out << QStringLiteral("%1+%2").arg(start).arg(x - start);
            start = -1;
        }
    }
    return out.join(QLatin1Char(' '));
}

// Whole blocks from x = 4, ten pixels apart, up to the one that starts at last.
QString blocksUpTo(int last)
{
    QStringList out;
    for (int x = 4; x <= last; x += 10)
        out << QStringLiteral("%1+8").arg(x);
    return out.join(QLatin1Char(' '));
}

// A bar as the setup wizard opens it: Max 6, then Value 0, never shown.
struct Bar {
    CallLog log;
    FakePrompter prompter{log};
    XpProgressBar bar{&prompter};
    QImage empty;

    explicit Bar(int width = 377, int look = 1)
    {
        bar.resize(width, 17);
        bar.setProgressLook(look);
        bar.setMaximum(6);
        bar.setValue(0);
        empty = bar.surface();
    }
    void set(const QString &values)
    {
        for (const QString &v : values.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            bar.setValue(v.toInt());
    }
    QString shown() const { return runs(bar.surface(), empty); }
};

} // namespace

class TestXpProgressBar : public QObject
{
    Q_OBJECT
private slots:
    void emptyFrame();
    void blocksReachTheValue_data();
    void blocksReachTheValue();
    void resizeStartsAgain();
    void maxEqualToMinDrawsNothing_data();
    void maxEqualToMinDrawsNothing();
    void valueChecks_data();
    void valueChecks();
    void markerSteps_data();
    void markerSteps();
    void markerRestartsAfterMax();
    void looks_data();
    void looks();
    void storedProperties();
    void accessible();
};

void TestXpProgressBar::emptyFrame()
{
    Bar b;
    const QImage s = b.bar.surface();
    QCOMPARE(s.size(), QSize(377, 17));
    const QColor outline(0, 77, 113), ring(204, 238, 255), white(Qt::white);
    // The picture's edges stretch along each side of the bar.
    QCOMPARE(s.pixelColor(188, 0), outline);
    QCOMPARE(s.pixelColor(188, 16), outline);
    QCOMPARE(s.pixelColor(0, 8), outline);
    QCOMPARE(s.pixelColor(376, 8), outline);
    QCOMPARE(s.pixelColor(188, 1), ring);
    QCOMPARE(s.pixelColor(188, 15), ring);
    QCOMPARE(s.pixelColor(375, 8), ring);
    for (int y = 2; y <= 14; ++y)
        QCOMPARE(s.pixelColor(188, y), white);
    // Rounded: the corners fade towards white instead of closing the outline.
    for (const QPoint corner : {QPoint(0, 0), QPoint(376, 0), QPoint(0, 16), QPoint(376, 16)}) {
        const QColor c = s.pixelColor(corner);
        QVERIFY2(c != outline && c != white && c.lightness() > outline.lightness(), qPrintable(c.name()));
    }
    QVERIFY(b.log.entries.isEmpty());
}

void TestXpProgressBar::blocksReachTheValue_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("painted");

    // 377 pixels over 6 pages: a page is 62.8 pixels, and every block starting before the
    // value's position is drawn.
    QTest::newRow("opened") << 377 << ""
                            << "";
    QTest::newRow("page 1") << 377 << "1" << blocksUpTo(54);
    QTest::newRow("page 2") << 377 << "1 2" << blocksUpTo(124);
    QTest::newRow("page 3") << 377 << "1 2 3" << blocksUpTo(184);
    QTest::newRow("page 4") << 377 << "1 2 3 4" << blocksUpTo(244);
    QTest::newRow("page 5") << 377 << "1 2 3 4 5" << blocksUpTo(314);
    // The next block would start at 374, where the frame begins: nothing more is drawn.
    QTest::newRow("page 6") << 377 << "1 2 3 4 5 6" << blocksUpTo(364);
    QTest::newRow("jump from empty") << 377 << "3" << blocksUpTo(184);
    QTest::newRow("jump 1 to 4") << 377 << "1 4" << blocksUpTo(244);
    QTest::newRow("jump 2 to 6") << 377 << "1 2 6" << blocksUpTo(364);
    QTest::newRow("same value twice") << 377 << "1 2 2" << blocksUpTo(124);
    QTest::newRow("same value three times") << 377 << "5 5 5" << blocksUpTo(314);
    QTest::newRow("last page twice") << 377 << "6 6" << blocksUpTo(364);
    QTest::newRow("back one page") << 377 << "1 2 3 4 3" << blocksUpTo(184);
    QTest::newRow("back three pages") << 377 << "4 1" << blocksUpTo(54);
    QTest::newRow("back and on") << 377 << "5 2 4" << blocksUpTo(244);
    QTest::newRow("back to Min") << 377 << "3 0"
                                 << "";
    QTest::newRow("Min twice after blocks") << 377 << "3 0 0"
                                            << "";
    // Where the frame leaves room, the end block fills what is left up to it.
    QTest::newRow("end block") << 380 << "6" << blocksUpTo(364) + " 374+3";
    QTest::newRow("end block once") << 380 << "5 6 6" << blocksUpTo(364) + " 374+3";
    QTest::newRow("narrow bar") << 200 << "2 3" << blocksUpTo(94);
}

void TestXpProgressBar::blocksReachTheValue()
{
    QFETCH(int, width);
    QFETCH(QString, values);
    QFETCH(QString, painted);

    Bar b(width);
    b.set(values);
    QCOMPARE(b.shown(), painted);
    // Blocks fill the inner height and no more.
    if (!painted.isEmpty()) {
        QCOMPARE(runs(b.bar.surface(), b.empty, 3), painted);
        QCOMPARE(runs(b.bar.surface(), b.empty, 13), painted);
        QCOMPARE(runs(b.bar.surface(), b.empty, 2), QString());
        QCOMPARE(runs(b.bar.surface(), b.empty, 14), QString());
    }
    QVERIFY(b.log.entries.isEmpty());
}

void TestXpProgressBar::resizeStartsAgain()
{
    Bar b;
    b.bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.bar));
    b.set("1 2 3");
    QCOMPARE(b.shown(), blocksUpTo(184));
    // What the window shows is the retained surface.
    QCOMPARE(b.bar.grab().toImage().convertToFormat(QImage::Format_RGB32), b.bar.surface());

    b.bar.resize(200, 17);
    const Bar narrow(200);
    QCOMPARE(b.bar.surface(), narrow.empty);
    // The same value again fills the new width from the start.
    b.set("3");
    QCOMPARE(runs(b.bar.surface(), narrow.empty), blocksUpTo(94));
}

void TestXpProgressBar::maxEqualToMinDrawsNothing_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("style");
    QTest::newRow("both 0") << 0 << 0;
    QTest::newRow("both 3") << 3 << 0;
    QTest::newRow("both 3, marker") << 3 << 1;
}

void TestXpProgressBar::maxEqualToMinDrawsNothing()
{
    QFETCH(int, limit);
    QFETCH(int, style);

    Bar b;
    b.set("2");
    b.bar.setBarStyle(style);
    b.bar.setMaximum(limit);
    b.bar.setMinimum(limit);
    b.bar.setValue(limit);
    b.bar.setValue(limit);
    QCOMPARE(b.bar.value(), limit);
    QCOMPARE(b.bar.surface(), b.empty);
    QVERIFY(b.log.entries.isEmpty());
}

void TestXpProgressBar::valueChecks_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("newValue");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");

    // From Min 2, Max 6, Value 4.
    const QString high = "Value can NOT be higher than Maximum !";
    const QString low = "Value can NOT be smaller than minimum !";
    const QString minHigh = "Minimum can NOT be biger than maximum !";
    const QString minNegative = "Minimum can NOT be smaller then 0 !";
    const QString maxLow = "Maximum can NOT be smaller than minimum !";
    QTest::newRow("Value above Max") << "Value" << 7 << high << 2 << 6 << 4;
    QTest::newRow("Value below Min") << "Value" << 1 << low << 2 << 6 << 4;
    QTest::newRow("Value at Max") << "Value" << 6 << "" << 2 << 6 << 6;
    QTest::newRow("Value at Min") << "Value" << 2 << "" << 2 << 6 << 2;
    QTest::newRow("Min negative") << "Min" << -1 << minNegative << 2 << 6 << 4;
    QTest::newRow("Min above Max") << "Min" << 7 << minHigh << 2 << 6 << 4;
    QTest::newRow("Min above Value, Value kept") << "Min" << 5 << "" << 5 << 6 << 4;
    QTest::newRow("Min equal to Max") << "Min" << 6 << "" << 6 << 6 << 4;
    QTest::newRow("Min 0") << "Min" << 0 << "" << 0 << 6 << 4;
    QTest::newRow("Max below Min") << "Max" << 1 << maxLow << 2 << 6 << 4;
    QTest::newRow("Max below Value, Value kept") << "Max" << 3 << "" << 2 << 3 << 4;
    QTest::newRow("Max equal to Min") << "Max" << 2 << "" << 2 << 2 << 4;
}

void TestXpProgressBar::valueChecks()
{
    QFETCH(QString, property);
    QFETCH(int, newValue);
    QFETCH(QString, message);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, value);

    auto apply = [&](XpProgressBar &bar) {
        if (property == QLatin1String("Value"))
            bar.setValue(newValue);
        else if (property == QLatin1String("Min"))
            bar.setMinimum(newValue);
        else
            bar.setMaximum(newValue);
    };

    Bar b;
    b.bar.setMinimum(2);
    b.set("4");
    b.log.entries.clear();
    const QImage before = b.bar.surface();
    apply(b.bar);

    QCOMPARE(b.log.with("message:"), message.isEmpty() ? QStringList() : QStringList{"Error|" + message});
    if (!message.isEmpty())
        QCOMPARE(b.prompter.lastIcon, Prompter::Icon::Critical);
    QCOMPARE(b.bar.minimum(), min);
    QCOMPARE(b.bar.maximum(), max);
    QCOMPARE(b.bar.value(), value);
    // Only an accepted Value draws.
    const bool drawn = property == QLatin1String("Value") && message.isEmpty();
    QCOMPARE(b.bar.surface() == before, !drawn);

    // Without a prompter the same values are refused, silently.
    XpProgressBar quiet(nullptr);
    quiet.resize(377, 17);
    quiet.setMaximum(6);
    quiet.setMinimum(2);
    quiet.setValue(4);
    apply(quiet);
    QCOMPARE(quiet.minimum(), min);
    QCOMPARE(quiet.maximum(), max);
    QCOMPARE(quiet.value(), value);
}

void TestXpProgressBar::markerSteps_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("painted");

    // Three 4-pixel blocks, 5 pixels apart, moving 5 pixels per Value.
    QTest::newRow("first") << 377 << 1 << "4+4 9+4 14+4";
    QTest::newRow("second rubs out the first") << 377 << 2 << "9+4 14+4 19+4";
    QTest::newRow("third") << 377 << 3 << "14+4 19+4 24+4";
    // Near the right end the front blocks drop off, then the marker starts again at 2.
    QTest::newRow("narrow, all three") << 40 << 4 << "19+4 24+4 29+4";
    QTest::newRow("narrow, front gone") << 40 << 5 << "24+4 29+4";
    QTest::newRow("narrow, one left") << 40 << 7 << "34+4";
    QTest::newRow("narrow, gone") << 40 << 8 << "";
    QTest::newRow("narrow, again from 2") << 40 << 9 << "2+4 7+4 12+4";
    QTest::newRow("narrow, on from 2") << 40 << 10 << "7+4 12+4 17+4";
}

void TestXpProgressBar::markerSteps()
{
    QFETCH(int, width);
    QFETCH(int, steps);
    QFETCH(QString, painted);

    Bar b(width);
    b.bar.setBarStyle(1);
    // Every Value below Max moves it, the same value too.
    for (int i = 0; i < steps; ++i)
        b.bar.setValue(i % 2 ? 1 : 3);
    QCOMPARE(b.shown(), painted);
}

void TestXpProgressBar::markerRestartsAfterMax()
{
    Bar b;
    b.bar.setBarStyle(2);
    b.set("1 2 3");
    QCOMPARE(b.shown(), "14+4 19+4 24+4");
    // Pale at the back, full colour at the front.
    const QImage s = b.bar.surface();
    const QColor back = s.pixelColor(14, kMiddleRow), middle = s.pixelColor(19, kMiddleRow),
                 front = s.pixelColor(24, kMiddleRow);
    QCOMPARE(front, QColor(0, 118, 236));
    QVERIFY(back.lightness() > middle.lightness());
    QVERIFY(middle.lightness() > front.lightness());

    b.set("6");
    QCOMPARE(b.bar.surface(), b.empty);
    b.set("5");
    QCOMPARE(b.shown(), "4+4 9+4 14+4");
}

void TestXpProgressBar::looks_data()
{
    QTest::addColumn<int>("look");
    QTest::addColumn<QColor>("full");
    QTest::newRow("0 master") << 0 << QColor(40, 210, 43);
    QTest::newRow("1 blue") << 1 << QColor(0, 118, 236);
    QTest::newRow("2 bluemet") << 2 << QColor(9, 60, 45);
    QTest::newRow("3 goldmet") << 3 << QColor(216, 166, 47);
    QTest::newRow("4 grmet") << 4 << QColor(131, 174, 118);
    QTest::newRow("5 greymet") << 5 << QColor(108, 108, 108);
    QTest::newRow("6 orangemet") << 6 << QColor(255, 210, 45);
    QTest::newRow("7 redmet") << 7 << QColor(228, 134, 74);
    QTest::newRow("8 keeps the blue") << 8 << QColor(0, 118, 236);
    QTest::newRow("-1 keeps the blue") << -1 << QColor(0, 118, 236);
}

void TestXpProgressBar::looks()
{
    QFETCH(int, look);
    QFETCH(QColor, full);

    Bar b; // blue
    b.bar.setProgressLook(look);
    QCOMPARE(b.bar.progressLook(), look);
    b.set("1");
    const QImage s = b.bar.surface();
    QCOMPARE(s.pixelColor(6, kMiddleRow), full);
    QCOMPARE(s.pixelColor(54, kMiddleRow), full);
    // Shaded: lighter at the top and bottom rows than across the middle.
    QVERIFY(s.pixelColor(6, 3).lightness() > full.lightness());
    QVERIFY(s.pixelColor(6, 13).lightness() > full.lightness());
    if (look == 2)
        QCOMPARE(s.pixelColor(6, 3), QColor(88, 145, 185));

    // A new look colours only the blocks drawn after it.
    b.bar.setProgressLook(5);
    b.set("2");
    QCOMPARE(b.bar.surface().pixelColor(6, kMiddleRow), full);
    QCOMPARE(b.bar.surface().pixelColor(66, kMiddleRow), QColor(108, 108, 108));
}

void TestXpProgressBar::storedProperties()
{
    // Nothing but defaults: nothing stored.
    XpProgressBar fresh;
    PropertyBag none;
    fresh.writeProperties(none);
    QCOMPARE(none.keys(), QStringList());

    // The wizard's bar, with keys spelt as stored descriptions hold them.
    PropertyBag wizard;
    wizard.write(QStringLiteral("value"), 10, 0);
    wizard.write(QStringLiteral("progresslook"), 1, 0);
    Bar b(377, 0);
    b.bar.setBarStyle(3);
    b.set("2");
    b.bar.readProperties(wizard);
    QCOMPARE(b.bar.minimum(), 0);
    QCOMPARE(b.bar.maximum(), 100);
    QCOMPARE(b.bar.value(), 10);
    QCOMPARE(b.bar.barStyle(), 0);
    QCOMPARE(b.bar.progressLook(), 1);
    // Loading leaves an empty frame; the stored Value shows from the next Value on.
    QCOMPARE(b.bar.surface(), b.empty);
    PropertyBag written;
    b.bar.writeProperties(written);
    QStringList keys = written.keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"ProgressLook", "Value"}));
    b.bar.setMaximum(6);
    b.set("1");
    QCOMPARE(b.shown(), blocksUpTo(54));
    QCOMPARE(b.bar.surface().pixelColor(6, kMiddleRow), QColor(0, 118, 236));

    // Stored values are taken without checks or messages, and read back the same.
    PropertyBag odd;
    odd.write(QStringLiteral("MIN"), 7, 0);
    odd.write(QStringLiteral("max"), 3, 100);
    odd.write(QStringLiteral("Value"), -4, 0);
    odd.write(QStringLiteral("style"), 2, 0);
    odd.write(QStringLiteral("ProgressLook"), 9, 0);
    b.bar.readProperties(odd);
    QVERIFY(b.log.entries.isEmpty());
    PropertyBag again;
    b.bar.writeProperties(again);
    XpProgressBar copy;
    copy.readProperties(again);
    QCOMPARE(copy.minimum(), 7);
    QCOMPARE(copy.maximum(), 3);
    QCOMPARE(copy.value(), -4);
    QCOMPARE(copy.barStyle(), 2);
    QCOMPARE(copy.progressLook(), 9);

    // Missing keys take the defaults, look 0 included.
    b.bar.readProperties(PropertyBag());
    QCOMPARE(b.bar.minimum(), 0);
    QCOMPARE(b.bar.maximum(), 100);
    QCOMPARE(b.bar.value(), 0);
    QCOMPARE(b.bar.barStyle(), 0);
    QCOMPARE(b.bar.progressLook(), 0);
    b.set("50");
    QCOMPARE(b.bar.surface().pixelColor(6, kMiddleRow), QColor(40, 210, 43));
}

void TestXpProgressBar::accessible()
{
    Bar b;
    b.bar.setAccessibleName(QStringLiteral("Setup progress"));
    b.set("3");
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&b.bar);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::ProgressBar);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Setup progress"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("3"));
    QAccessibleValueInterface *v = iface->valueInterface();
    QVERIFY(v);
    QCOMPARE(v->currentValue().toInt(), 3);
    QCOMPARE(v->minimumValue().toInt(), 0);
    QCOMPARE(v->maximumValue().toInt(), 6);
    // Shown, not edited: the value stays where the program put it.
    v->setCurrentValue(5);
    QCOMPARE(b.bar.value(), 3);
}

QTEST_MAIN(TestXpProgressBar)
#include "tst_xp_progress_bar.moc"
