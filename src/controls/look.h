#pragma once
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>

class QWidget;

// The program's shared look: the colours and faces every window is drawn with, and the screen
// positions the pointer is parked at after some windows close.
namespace Look {

// Dark blue of the title bar, the bottom bar and the frame.
inline QColor frame()
{
    return QColor(22, 48, 112);
}
// Pale blue behind the button panel.
inline QColor panel()
{
    return QColor(205, 215, 238);
}
// Behind the pages of today's information.
inline QColor page()
{
    return QColor(236, 240, 250);
}
// Text on the dark frame.
inline QColor lightText()
{
    return QColor(255, 246, 214);
}
// The family name and the splash's border.
inline QColor highlight()
{
    return QColor(255, 214, 120);
}
// Captions of the command buttons.
inline QColor buttonText()
{
    return QColor(6, 61, 100);
}
// Labels that warn (the emergency page's headings).
inline QColor warningText()
{
    return QColor(170, 20, 20);
}
// A word to be noticed, such as "NOT".
inline QColor alertText()
{
    return QColor(210, 0, 0);
}

// The face of titles and panel captions; mapped onto a narrow face the desktop has.
inline QFont titleFont(qreal points, bool bold = true)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}
// The face of labels and boxes.
inline QFont textFont(qreal points = 8.25)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(points);
    return f;
}

// A plain coloured area of a window, such as its title bar or button panel.
QWidget *region(QWidget *parent, const char *name, const QRect &geometry, const QColor &colour);

// Maps the faces the windows name onto faces a Linux desktop has.
void installFontSubstitutes();

// Where the pointer is parked: after the password prompt, the wizard and the sitter list.
constexpr QPoint PointerAfterPassword(360, 440);
constexpr QPoint PointerAfterWizard(180, 340);
constexpr QPoint PointerAfterSitterList(180, 410);

} // namespace Look
