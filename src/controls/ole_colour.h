#pragma once
#include <QColor>
#include <QPalette>
#include <QtGlobal>

// Colours as the stored window descriptions hold them: 0x00BBGGRR, or 0x800000nn for the
// desktop's system colour number nn, looked up when drawn so theme changes follow.
class OleColour
{
public:
    static constexpr quint32 ButtonText = 0x80000012;
    static constexpr quint32 ButtonFace = 0x8000000F;
    static constexpr quint32 Window = 0x80000005;
    static constexpr quint32 WindowText = 0x80000008;
    static constexpr quint32 GrayText = 0x80000011;

    static QColor toColor(quint32 value, const QPalette &palette = QPalette());
    static quint32 fromRgb(int r, int g, int b);
    static bool isSystemColour(quint32 value);
};
