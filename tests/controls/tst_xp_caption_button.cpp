#include "controls/caption_label.h"
#include "controls/ole_colour.h"
#include "controls/property_bag.h"
#include "controls/xp_cmd.h"
#include "controls/xp_cmd_but.h"
#include "controls/xp_cmd_button.h"
#include "core/info_line.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

enum Kind { Cmd, CmdButton, CmdBut };

XpCaptionButton *make(Kind kind, InfoLine *info, QWidget *parent)
{
    XpCaptionButton *b = nullptr;
    switch (kind) {
    case Cmd: b = new XpCmd(info, parent); break;
    case CmdButton: b = new XpCmdButton(info, parent); break;
    case CmdBut: b = new XpCmdBut(info, parent); break;
    }
    return b;
}

CaptionStrip::Variant variantOf(Kind kind)
{
    return kind == Cmd ? CaptionStrip::Cmd : kind == CmdButton ? CaptionStrip::CmdButton : CaptionStrip::CmdBut;
}

QImage cellImage(Kind kind, int cell, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    CaptionStrip::paintCell(p, CaptionStrip::strip(variantOf(kind)), cell, size.width(), size.height());
    return img;
}

// Which cell the retained surface shows, read from its pixels.
int shownCell(const XpCaptionButton &b, Kind kind)
{
    for (int cell = 0; cell < CaptionStrip::CellCount; ++cell)
        if (b.surface() == cellImage(kind, cell, b.size()))
            return cell;
    return -1;
}

void moveTo(QWidget *w, QPointF pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QFont sansSerif()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(8.25);
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

// A shown top-level window holding one button, as a host window would.
struct Host {
    QWidget window;
    InfoLine info;
    XpCaptionButton *button;
    Host(Kind kind, const QString &caption, QSize size = QSize(100, 30))
    {
        window.resize(size.width() + 40, size.height() + 40);
        window.move(200, 200);
        button = make(kind, &info, &window);
        button->setObjectName(QStringLiteral("xpcmd1"));
        button->initProperties(sansSerif());
        button->setCaption(caption);
        button->setGeometry(20, 20, size.width(), size.height());
        window.show();
    }
    QPoint global(QPoint local) const { return button->mapToGlobal(local); }
};

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestXpCaptionButton : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void restingLook_data();
    void restingLook();
    void moveWithinBounds_data();
    void moveWithinBounds();
    void pressPaintsPressedAfterHandlerAndReleaseRests();
    void clickNeedsPressAndReleaseOverButton();
    void leaveFoundByTimer_data();
    void leaveFoundByTimer();
    void hintTexts_data();
    void hintTexts();
    void keyboardActivationIsNoMousePress_data();
    void keyboardActivationIsNoMousePress();
    void accessKeyRaisesClick();
    void captionShowsAmpersandConvention_data();
    void captionShowsAmpersandConvention();
    void captionCentredOnChange_data();
    void captionCentredOnChange();
    void storedPropertiesRead_data();
    void storedPropertiesRead();
    void storedPropertiesWrittenWithoutDefaults();
    void accessibleNameAndRole_data();
    void accessibleNameAndRole();
    void accessiblePressIsAWholeClick_data();
    void accessiblePressIsAWholeClick();
};

void TestXpCaptionButton::init()
{
    QCursor::setPos(0, 0);
}

void TestXpCaptionButton::restingLook_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QColor>("caption");

    const QColor black(Qt::black);
    const QColor grey(161, 161, 146);
    QTest::newRow("rest") << Cmd << "" << 0 << black;
    QTest::newRow("state 1") << Cmd << "s1" << 4 << black;
    QTest::newRow("state 1 disabled") << Cmd << "s1 off" << 2 << grey;
    QTest::newRow("state 1 re-enabled") << Cmd << "s1 off on" << 4 << black;
    QTest::newRow("state 2 keeps default") << Cmd << "s1 s2" << 4 << black;
    QTest::newRow("state 0 after 1") << Cmd << "s1 s0" << 0 << black;
    QTest::newRow("colour then disabled") << Cmd << "fc off" << 2 << grey;
    QTest::newRow("disabled then colour") << Cmd << "off fc" << 2 << QColor(19, 101, 140);
    QTest::newRow("big button state 1 disabled") << CmdButton << "s1 off" << 2 << grey;
    QTest::newRow("close box disabled") << CmdBut << "off" << 2 << grey;
    QTest::newRow("close box re-enabled is black") << CmdBut << "s1 off on" << 4 << black;
}

void TestXpCaptionButton::restingLook()
{
    QFETCH(Kind, kind);
    QFETCH(QString, steps);
    QFETCH(int, cell);
    QFETCH(QColor, caption);

    Host h(kind, QStringLiteral("&OK"));
    for (const QString &s : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (s.startsWith(QLatin1Char('s')))
            h.button->setState(s.mid(1).toInt());
        else if (s == QLatin1String("off"))
            h.button->setEnabled(false);
        else if (s == QLatin1String("on"))
            h.button->setEnabled(true);
        else if (s == QLatin1String("fc"))
            static_cast<XpCmd *>(h.button)->setForeColor(OleColour::fromRgb(19, 101, 140));
    }
    QCOMPARE(shownCell(*h.button, kind), cell);
    QCOMPARE(h.button->captionLabel()->colour(), caption);
    // What the window shows is the retained surface.
    const QImage shown = h.button->grab().toImage();
    QCOMPARE(shown.pixelColor(1, 1), cellImage(kind, cell, h.button->size()).pixelColor(1, 1));
    QCOMPARE(shown.pixelColor(2, 15), cellImage(kind, cell, h.button->size()).pixelColor(2, 15));
}

void TestXpCaptionButton::moveWithinBounds_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<int>("cell");

    const int L = Qt::LeftButton, R = Qt::RightButton;
    QTest::newRow("inside, no button") << Cmd << QPointF(50, 15) << 0 << true << 3;
    QTest::newRow("right edge counts as inside") << Cmd << QPointF(100, 15) << 0 << true << 3;
    QTest::newRow("bottom right corner") << Cmd << QPointF(100, 30) << 0 << true << 3;
    QTest::newRow("left button alone") << Cmd << QPointF(50, 15) << L << true << 1;
    QTest::newRow("right button") << Cmd << QPointF(50, 15) << R << true << 3;
    QTest::newRow("left and right") << Cmd << QPointF(50, 15) << (L | R) << true << 3;
    QTest::newRow("past right edge") << Cmd << QPointF(101, 15) << L << false << 0;
    QTest::newRow("above") << Cmd << QPointF(50, -1) << 0 << false << 0;
    QTest::newRow("big button hot") << CmdButton << QPointF(50, 15) << 0 << true << 3;
    QTest::newRow("close box hot") << CmdBut << QPointF(10, 10) << R << true << 3;
}

void TestXpCaptionButton::moveWithinBounds()
{
    QFETCH(Kind, kind);
    QFETCH(QPointF, pos);
    QFETCH(int, buttons);
    QFETCH(bool, raised);
    QFETCH(int, cell);

    Host h(kind, QStringLiteral("&OK"));
    const QColor resting = h.button->captionLabel()->colour();
    QSignalSpy moves(h.button, &XpCaptionButton::mouseMove);
    moveTo(h.button, pos, Qt::MouseButtons(buttons));

    QCOMPARE(moves.count(), raised ? 1 : 0);
    QCOMPARE(shownCell(*h.button, kind), cell);
    // Even a move outside starts the timer, so a pointer that left is noticed.
    QVERIFY(h.button->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    if (raised) {
        const int bits = (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0);
        QCOMPARE(moves.at(0).at(0).toInt(), bits);
        QCOMPARE(moves.at(0).at(2).toFloat(), float(pos.x()));
        QCOMPARE(moves.at(0).at(3).toFloat(), float(pos.y()));
        const QColor hover = kind == CmdBut ? resting : QColor(192, 0, 192);
        QCOMPARE(h.button->captionLabel()->colour(), hover);
    } else {
        QCOMPARE(h.button->captionLabel()->colour(), resting);
    }
}

void TestXpCaptionButton::pressPaintsPressedAfterHandlerAndReleaseRests()
{
    Host h(Cmd, QStringLiteral("&Save"));
    h.button->setState(1);
    int cellDuringHandler = -1;
    QVariantList args;
    connect(h.button, &XpCaptionButton::mouseDown, this, [&](int b, int s, float x, float y) {
        cellDuringHandler = shownCell(*h.button, Cmd);
        args = {b, s, x, y};
    });
    QTest::mousePress(h.button, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(30, 12));
    QCOMPARE(cellDuringHandler, 4);
    QCOMPARE(args, (QVariantList{2, 3, 30.0f, 12.0f}));
    QCOMPARE(shownCell(*h.button, Cmd), 1);

    QSignalSpy ups(h.button, &XpCaptionButton::mouseUp);
    QTest::mouseRelease(h.button, Qt::RightButton, Qt::NoModifier, QPoint(30, 12));
    QCOMPARE(ups.count(), 1);
    QCOMPARE(ups.at(0).at(0).toInt(), 2);
    // Back at rest although the pointer is still over the button.
    QCOMPARE(shownCell(*h.button, Cmd), 4);
}

void TestXpCaptionButton::clickNeedsPressAndReleaseOverButton()
{
    Host h(Cmd, QStringLiteral("&OK"));
    QSignalSpy clicks(h.button, &XpCaptionButton::clicked);
    QSignalSpy downs(h.button, &XpCaptionButton::mouseDown);

    QTest::mouseClick(h.button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
    QCOMPARE(clicks.count(), 1);

    // Released off the button: no click.
    QTest::mousePress(h.button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
    QTest::mouseRelease(h.button, Qt::LeftButton, Qt::NoModifier, QPoint(150, 15));
    QCOMPARE(clicks.count(), 1);

    // The second click of a double click is a press, not another click.
    downs.clear();
    QTest::mouseClick(h.button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
    QTest::mouseDClick(h.button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
    QCOMPARE(shownCell(*h.button, Cmd), 1);
    QTest::mouseRelease(h.button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 15));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(downs.count(), 2);

    // The caption lets presses through to the button.
    const QPoint onCaption = h.button->captionLabel()->geometry().center();
    QCOMPARE(h.button->childAt(onCaption), nullptr);
    QTest::mouseClick(h.button, Qt::LeftButton, Qt::NoModifier, onCaption);
    QCOMPARE(clicks.count(), 3);
}

void TestXpCaptionButton::leaveFoundByTimer_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hintAtMouseOut");
    QTest::addColumn<QString>("hintAfter");

    // The hint line was filled elsewhere (by a button on the main window) before the pointer
    // came to this one.
    QTest::newRow("xpcmd empties first") << Cmd << "&OK"
                                         << ""
                                         << "";
    QTest::newRow("xpcmd timing button") << Cmd << "Start &Time"
                                         << ""
                                         << "";
    QTest::newRow("big button empties after MouseOut") << CmdButton << " Sitter List"
                                                       << "Enter, edit, add hours, or view, sitters information."
                                                       << "";
    QTest::newRow("close box leaves it alone") << CmdBut << ""
                                               << "elsewhere"
                                               << "elsewhere";
}

void TestXpCaptionButton::leaveFoundByTimer()
{
    QFETCH(Kind, kind);
    QFETCH(QString, caption);
    QFETCH(QString, hintAtMouseOut);
    QFETCH(QString, hintAfter);

    Host h(kind, caption);
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    h.info.setText(QStringLiteral("elsewhere"));
    const QColor resting = h.button->captionLabel()->colour();
    auto *timer = h.button->findChild<QTimer *>(QStringLiteral("Timer1"));

    QString seenHint;
    bool timerAtMouseOut = true;
    connect(h.button, &XpCaptionButton::mouseOut, this, [&] {
        seenHint = h.info.text();
        timerAtMouseOut = timer->isActive();
    });
    QSignalSpy outs(h.button, &XpCaptionButton::mouseOut);

    QCursor::setPos(h.global(QPoint(100, 30)));
    moveTo(h.button, QPointF(100, 30), Qt::NoButton);
    // On the edge the pointer is still inside: nothing leaves.
    QTest::qWait(50);
    QCOMPARE(outs.count(), 0);
    QCOMPARE(shownCell(*h.button, kind), 3);

    QCursor::setPos(h.global(QPoint(101, 30)));
    QTRY_COMPARE(outs.count(), 1);
    QCOMPARE(seenHint, hintAtMouseOut);
    QVERIFY(!timerAtMouseOut);
    QCOMPARE(h.info.text(), hintAfter);
    QCOMPARE(h.button->captionLabel()->colour(), resting);
    QCOMPARE(shownCell(*h.button, kind), 0);
    // The timer stopped itself: no second MouseOut.
    QTest::qWait(50);
    QCOMPARE(outs.count(), 1);
}

void TestXpCaptionButton::hintTexts_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");

    const QString keep = QStringLiteral("kept");
    const QString start = QStringLiteral("Use a timer to keep track of hours worked.");
    const QString stop = QStringLiteral("Stops timer. Go to \"Sitter List\" to add to sitters total hours worked.");
    QTest::newRow("start timing") << Cmd << "Start &Time" << start;
    QTest::newRow("stop timing") << Cmd << "End &Time" << stop;
    QTest::newRow("blank before Start is cut off") << Cmd << " Start" << keep;
    QTest::newRow("access mark in Start") << Cmd << "&Start" << keep;
    QTest::newRow("lower case") << Cmd << "start" << keep;
    QTest::newRow("End with blank") << Cmd << "End " << stop;
    QTest::newRow("other caption keeps hint") << Cmd << "&Save" << keep;
    QTest::newRow("setup") << CmdButton << " Setup Wizard"
                           << "Enter todays schedule, and all important information needed for sitter.";
    QTest::newRow("sitters") << CmdButton << " Sitter List"
                             << "Enter, edit, add hours, or view, sitters information.";
    QTest::newRow("help") << CmdButton << " Help && Options"
                          << "Get help, enter your name and phone number, and set options.";
    QTest::newRow("top window")
        << CmdButton << "Make Top Window"
        << "Make this window the top window. Disables other buttons, && a password can be used.";
    QTest::newRow("big button other caption empties") << CmdButton << "&Close"
                                                      << "";
    QTest::newRow("close box has none") << CmdBut << "Setup" << keep;
}

void TestXpCaptionButton::hintTexts()
{
    QFETCH(Kind, kind);
    QFETCH(QString, caption);
    QFETCH(QString, hint);

    Host h(kind, caption);
    h.info.setText(QStringLiteral("kept"));
    moveTo(h.button, QPointF(10, 10), Qt::NoButton);
    QCOMPARE(h.info.text(), hint);
}

void TestXpCaptionButton::keyboardActivationIsNoMousePress_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("clicks");
    QTest::newRow("space") << int(Qt::Key_Space) << 32 << 1;
    QTest::newRow("return") << int(Qt::Key_Return) << 13 << 1;
    QTest::newRow("enter") << int(Qt::Key_Enter) << 13 << 1;
    QTest::newRow("letter") << int(Qt::Key_A) << 65 << 0;
    QTest::newRow("escape") << int(Qt::Key_Escape) << 27 << 0;
}

void TestXpCaptionButton::keyboardActivationIsNoMousePress()
{
    QFETCH(int, key);
    QFETCH(int, keyCode);
    QFETCH(int, clicks);

    Host h(Cmd, QStringLiteral("&Save"));
    QSignalSpy clicked(h.button, &XpCaptionButton::clicked);
    QSignalSpy downs(h.button, &XpCaptionButton::mouseDown);
    QSignalSpy keyDowns(h.button, &XpCaptionButton::keyDown);
    QSignalSpy keyUps(h.button, &XpCaptionButton::keyUp);
    QTest::keyClick(h.button, Qt::Key(key), Qt::ShiftModifier);

    QCOMPARE(clicked.count(), clicks);
    QCOMPARE(downs.count(), 0);
    // The Shift key itself comes first, then the key with Shift held.
    QCOMPARE(keyDowns.count(), 2);
    QCOMPARE(keyDowns.at(0).at(0).toInt(), 16);
    QCOMPARE(keyDowns.at(1).at(0).toInt(), keyCode);
    QCOMPARE(keyDowns.at(1).at(1).toInt(), 1);
    QCOMPARE(keyUps.at(0).at(0).toInt(), keyCode);
}

void TestXpCaptionButton::accessKeyRaisesClick()
{
    QWidget window;
    auto *save = new XpCmd(nullptr, &window);
    save->setCaption(QStringLiteral("&Save"));
    auto *next = new XpCmd(nullptr, &window);
    next->setCaption(QStringLiteral("&Next >>"));
    next->move(0, 40);
    auto *both = new XpCmd(nullptr, &window);
    both->setCaption(QStringLiteral("Help && &Options"));
    both->move(0, 80);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QSignalSpy saveClicks(save, &XpCaptionButton::clicked);
    QSignalSpy nextClicks(next, &XpCaptionButton::clicked);
    QSignalSpy bothClicks(both, &XpCaptionButton::clicked);
    QSignalSpy saveDowns(save, &XpCaptionButton::mouseDown);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(saveClicks.count(), 1);
    QCOMPARE(nextClicks.count(), 0);
    QCOMPARE(saveDowns.count(), 0);

    // "&&" is a shown ampersand, not an access key; the letter after the single "&" is.
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    QCOMPARE(bothClicks.count(), 1);
    QTest::keyClick(&window, Qt::Key_H, Qt::AltModifier);
    QCOMPARE(bothClicks.count(), 1);

    // A changed caption moves the access key with it; a disabled button takes none.
    save->setCaption(QStringLiteral("Sa&ve"));
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
    QCOMPARE(saveClicks.count(), 2);
    save->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
    QCOMPARE(saveClicks.count(), 2);
}

void TestXpCaptionButton::captionShowsAmpersandConvention_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("underlined");
    QTest::newRow("double ampersand") << "Help && Options"
                                      << "Help & Options" << false;
    QTest::newRow("access key") << "&Save"
                                << "Save" << true;
    QTest::newRow("no marks") << "Close"
                              << "Close" << false;
}

void TestXpCaptionButton::captionShowsAmpersandConvention()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    QFETCH(bool, underlined);

    CaptionLabel lbl;
    lbl.setColour(Qt::black);
    lbl.setText(caption);
    QCOMPARE(lbl.width(), lbl.fontMetrics().boundingRect(QRect(), Qt::AlignHCenter, shown).width());

    QImage actual(lbl.size(), QImage::Format_RGB32);
    actual.fill(Qt::white);
    lbl.render(&actual);
    // The same text drawn plainly, as the caption should look.
    QImage plain(lbl.size(), QImage::Format_RGB32);
    plain.fill(Qt::white);
    {
        QPainter p(&plain);
        p.setFont(lbl.font());
        p.setPen(Qt::black);
        p.drawText(plain.rect(), Qt::AlignHCenter | Qt::AlignTop, shown);
    }
    // An access key adds only its underline to the plain text.
    QCOMPARE(actual != plain, underlined);
}

void TestXpCaptionButton::captionCentredOnChange_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QSize>("size");
    QTest::newRow("xpcmd") << Cmd << QSize(100, 30);
    QTest::newRow("big button") << CmdButton << QSize(120, 60);
    QTest::newRow("close box") << CmdBut << QSize(25, 25);
}

void TestXpCaptionButton::captionCentredOnChange()
{
    QFETCH(Kind, kind);
    QFETCH(QSize, size);

    Host h(kind, QStringLiteral("&OK"), size);
    CaptionLabel *lbl = h.button->captionLabel();
    const QSize before = lbl->size();
    h.button->setCaption(QStringLiteral("Add Timer To &Hours"));
    if (kind == CmdButton) {
        QCOMPARE(lbl->size(), QSize(81, 45));
        QVERIFY(lbl->isWrapping());
    } else {
        QVERIFY(lbl->width() > before.width());
    }
    QCOMPARE(lbl->x(), (size.width() - lbl->width()) / 2);
    QCOMPARE(lbl->y(), (size.height() - lbl->height()) / 2);

    h.button->resize(size.width() + 40, size.height() + 20);
    QCOMPARE(lbl->x(), (size.width() + 40 - lbl->width()) / 2);
    QCOMPARE(lbl->y(), (size.height() + 20 - lbl->height()) / 2);
}

void TestXpCaptionButton::storedPropertiesRead_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QColor>("caption");
    QTest::addColumn<bool>("captionUsesFont");

    // A disabled button loaded from its window shows the disabled cell with its stored colour:
    // the fore colour is applied after Enabled.
    QTest::newRow("xpcmd enabled") << Cmd << false << 0 << QColor(19, 101, 140) << true;
    QTest::newRow("xpcmd loaded disabled") << Cmd << true << 2 << QColor(19, 101, 140) << true;
    QTest::newRow("big button loaded disabled") << CmdButton << true << 2 << QColor(19, 101, 140) << true;
    QTest::newRow("close box loaded disabled") << CmdBut << true << 2 << QColor(161, 161, 146) << false;
}

void TestXpCaptionButton::storedPropertiesRead()
{
    QFETCH(Kind, kind);
    QFETCH(bool, disabled);
    QFETCH(int, cell);
    QFETCH(QColor, caption);
    QFETCH(bool, captionUsesFont);

    QWidget window;
    std::unique_ptr<XpCaptionButton> b(make(kind, nullptr, &window));
    b->setObjectName(QStringLiteral("cmdSave"));
    b->resize(80, 25);

    // Keys as the stored window descriptions spell them: lower case.
    PropertyBag bag;
    QFont stored = sansSerif();
    stored.setBold(true);
    bag.write(QStringLiteral("caption"), QStringLiteral("&Save"), QString());
    bag.write(QStringLiteral("forecolor"), OleColour::fromRgb(19, 101, 140), 0u);
    bag.write(QStringLiteral("font"), stored, QFont());
    bag.write(QStringLiteral("enabled"), !disabled, true);
    b->readProperties(bag, sansSerif());

    QCOMPARE(b->caption(), QStringLiteral("&Save"));
    QCOMPARE(b->isEnabled(), !disabled);
    QCOMPARE(shownCell(*b, kind), cell);
    QCOMPARE(b->captionLabel()->colour(), caption);
    QCOMPARE(b->font().bold(), true);
    QCOMPARE(b->captionLabel()->font().bold(), captionUsesFont);
    // Setting the control's font directly reaches the caption the same way.
    QFont italic = stored;
    italic.setItalic(true);
    b->setFont(italic);
    QCOMPARE(b->captionLabel()->font().italic(), captionUsesFont);

    // Missing keys take the defaults: own name, enabled, system button text.
    std::unique_ptr<XpCaptionButton> fresh(make(kind, nullptr, &window));
    fresh->setObjectName(QStringLiteral("xpcmd3"));
    fresh->readProperties(PropertyBag(), sansSerif());
    QCOMPARE(fresh->caption(), QStringLiteral("xpcmd3"));
    QVERIFY(fresh->isEnabled());
    QCOMPARE(fresh->state(), 0);
    if (kind != CmdBut) {
        QCOMPARE(fresh->captionLabel()->colour(), OleColour::toColor(OleColour::ButtonText, fresh->palette()));
        QCOMPARE(fresh->captionLabel()->font().family(), sansSerif().family());
    }
}

void TestXpCaptionButton::storedPropertiesWrittenWithoutDefaults()
{
    QWidget window;
    const QFont container = sansSerif();

    // A fresh xpcmd keeps fore colour 0, which differs from the stored default.
    XpCmd cmd(nullptr, &window);
    cmd.setObjectName(QStringLiteral("xpcmd1"));
    cmd.initProperties(container);
    QCOMPARE(cmd.caption(), QStringLiteral("xpcmd1"));
    QCOMPARE(cmd.foreColor(), 0u);
    PropertyBag bag;
    cmd.writeProperties(bag, container);
    QCOMPARE(bag.keys(), QStringList{QStringLiteral("ForeColor")});

    cmd.setCaption(QStringLiteral("&Next >>"));
    cmd.setState(1);
    cmd.setEnabled(false);
    cmd.setForeColor(OleColour::fromRgb(6, 61, 100));
    QFont bold = container;
    bold.setBold(true);
    cmd.setButtonFont(bold);
    cmd.setTagCaption(QStringLiteral("never stored"));
    cmd.writeProperties(bag, container);
    QStringList keys = bag.keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Caption", "Enabled", "Font", "ForeColor", "State"}));

    // What was written reads back into an equal button.
    XpCmd copy(nullptr, &window);
    copy.setObjectName(QStringLiteral("xpcmd1"));
    copy.readProperties(bag, container);
    QCOMPARE(copy.caption(), QStringLiteral("&Next >>"));
    QCOMPARE(copy.state(), 1);
    QVERIFY(!copy.isEnabled());
    QCOMPARE(copy.foreColor(), OleColour::fromRgb(6, 61, 100));
    QVERIFY(copy.buttonFont().bold());
    QCOMPARE(copy.tagCaption(), QString());

    // The big button has no stored tag; the close box stores only State, Enabled and Caption.
    XpCmdButton big(nullptr, &window);
    big.setObjectName(QStringLiteral("xpcmdbutton1"));
    big.initProperties(container);
    big.setTagCaption(QStringLiteral("ignored"));
    QCOMPARE(big.tagCaption(), QString());
    big.setForeColor(OleColour::ButtonText);
    PropertyBag bigBag;
    big.writeProperties(bigBag, container);
    QCOMPARE(bigBag.keys(), QStringList());

    XpCmdBut box(nullptr, &window);
    box.setObjectName(QStringLiteral("xpcmdbut1"));
    box.initProperties(container);
    box.setCaption(QString());
    box.setState(1);
    box.setFont(QFont(QStringLiteral("Courier"), 20));
    PropertyBag boxBag;
    box.writeProperties(boxBag, container);
    keys = boxBag.keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Caption", "State"}));
    QCOMPARE(boxBag.read(QStringLiteral("caption"), QStringLiteral("x")).toString(), QString());
}

void TestXpCaptionButton::accessibleNameAndRole_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("name");
    QTest::newRow("access key") << Cmd << "&Save"
                                << ""
                                << "Save";
    QTest::newRow("shown ampersand") << CmdButton << " Help && Options"
                                     << ""
                                     << "Help & Options";
    QTest::newRow("arrows") << Cmd << "<< &Back"
                            << ""
                            << "<< Back";
    QTest::newRow("close box by tool tip") << CmdBut << ""
                                           << "Close"
                                           << "Close";
}

void TestXpCaptionButton::accessibleNameAndRole()
{
    QFETCH(Kind, kind);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    QFETCH(QString, name);

    Host h(kind, caption);
    h.button->setToolTip(toolTip);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(h.button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), name);
}

void TestXpCaptionButton::accessiblePressIsAWholeClick_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QStringList>("events");
    const QStringList click = {"down 1 50,15", "up 1 50,15", "clicked"};
    QTest::newRow("caption button") << Cmd << true << click;
    QTest::newRow("big button") << CmdButton << true << click;
    QTest::newRow("close box") << CmdBut << true << click;
    QTest::newRow("disabled") << Cmd << false << QStringList();
}

// Hosts act on mouse-down, on click, or on both; the accessibility action is a mouse click in
// the middle, so it does what a person's click does whichever the host listens to.
void TestXpCaptionButton::accessiblePressIsAWholeClick()
{
    QFETCH(Kind, kind);
    QFETCH(bool, enabled);
    QFETCH(QStringList, events);
    Host h(kind, QStringLiteral("&Go"));
    h.button->setEnabled(enabled);
    QStringList seen;
    auto mouse = [&](const char *what) {
        return [&seen, what](int button, int, float x, float y) {
            seen << QStringLiteral("%1 %2 %3,%4").arg(QLatin1String(what)).arg(button).arg(x).arg(y);
        };
    };
    connect(h.button, &XpCaptionButton::mouseDown, this, mouse("down"));
    connect(h.button, &XpCaptionButton::mouseUp, this, mouse("up"));
    connect(h.button, &XpCaptionButton::clicked, this, [&] { seen << "clicked"; });

    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(h.button)->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()), enabled);
    actions->doAction(QAccessibleActionInterface::pressAction());
    // Not while the screen reader waits for its answer: the press may open a modal window.
    QCOMPARE(seen, QStringList());
    QCoreApplication::processEvents();
    QCOMPARE(seen, events);
    // The pressed look does not stay behind.
    QCOMPARE(h.button->paintedCell(), enabled ? h.button->restingCell() : int(CaptionStrip::Disabled));
}

QTEST_MAIN(TestXpCaptionButton)
#include "tst_xp_caption_button.moc"
