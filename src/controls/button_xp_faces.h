#pragma once
#include <QImage>
#include <QPalette>
#include <QPoint>
#include <QRegion>
#include <QtGlobal>

// The backgrounds and borders of the image button, one face per button style, painted pixel by
// pixel onto the button's retained surface. They keep no state: each call paints from the inputs.
namespace ButtonXpFaces {

// What a face reads from its button at each call.
struct Inputs {
    int style = 2;
    bool focused = false;
    bool pressed = false;
    bool hot = false;
    bool enabled = true;
    bool isDefault = false;
    quint32 backColor = 0x8000000F;
    quint32 foreColor = 0x80000012;
    bool xpDefaultColors = true;
    quint32 xpColorPressed = 0x80000014;
    quint32 xpColorHover = 0x80000016;
    bool xpShowBorderAlways = false;
    bool transparentBG = false;
    int bevel = 1;
    int bevelDepth = 8;
    QPalette palette;
    // The host window's background picture and the button's place on it; null when it has none.
    const QImage *hostPicture = nullptr;
    QPoint position;
};

// An RGB colour 0x00BBGGRR shifted by a: red and green by a, blue in proportion to itself.
quint32 ShiftColor(quint32 c, int a);

void PaintBackground(QImage &surface, const Inputs &in);
void PaintBorder(QImage &surface, const Inputs &in);
// The shape of style 3: the rectangle without three pixels at each corner.
QRegion RoundedShape(int w, int h);

// The colours style 2 takes while hot and while pressed.
quint32 hoverColour(const Inputs &in);
quint32 pressedColour(const Inputs &in);

} // namespace ButtonXpFaces
