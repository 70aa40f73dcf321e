#pragma once
#include <QImage>
#include <QPainter>

// The five-cell picture strips of the caption buttons, drawn in code, and the nine-piece copy
// that stretches one cell over a button of any size while its 3-pixel borders keep their width.
class CaptionStrip
{
public:
    enum Variant { Cmd, CmdButton, CmdBut };
    enum Cell { Normal = 0, Pressed = 1, Disabled = 2, Hot = 3, Default = 4 };
    static constexpr int CellWidth = 18;
    static constexpr int CellHeight = 21;
    static constexpr int CellCount = 5;
    static constexpr int Border = 3;

    // 90 x 21, 24-bit; made once per variant and shared.
    static QImage strip(Variant variant);
    static void paintCell(QPainter &painter, const QImage &strip, int cell, int w, int h);

    // The colour the rounded corners blend towards.
    static QColor background();
};
