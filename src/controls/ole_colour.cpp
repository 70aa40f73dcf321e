#include "controls/ole_colour.h"

namespace {

// The system colour numbers the stored descriptions use, mapped onto the palette role that
// plays the same part on this desktop.
QColor systemColour(int index, const QPalette &pal)
{
    switch (index) {
    case 1: // desktop
    case 12: // application workspace
        return pal.color(QPalette::Dark);
    case 2: // active caption
    case 13: // highlight
        return pal.color(QPalette::Highlight);
    case 3: // inactive caption
        return pal.color(QPalette::Inactive, QPalette::Highlight);
    case 4: // menu
    case 15: // button face
        return pal.color(QPalette::Button);
    case 5: // window
        return pal.color(QPalette::Base);
    case 6: // window frame
    case 21: // 3-D dark shadow
        return pal.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return pal.color(QPalette::WindowText);
    case 9: // caption text
    case 14: // highlight text
        return pal.color(QPalette::HighlightedText);
    case 16: // button shadow
        return pal.color(QPalette::Mid);
    case 17: // grey text
        return pal.color(QPalette::Disabled, QPalette::WindowText);
    case 18: // button text
        return pal.color(QPalette::ButtonText);
    case 19: // inactive caption text
        return pal.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: // button highlight
        return pal.color(QPalette::Light);
    case 22: // 3-D light
        return pal.color(QPalette::Midlight);
    case 23: // tooltip text
        return pal.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return pal.color(QPalette::ToolTipBase);
    default: // the desktop answers black for a number it does not know
        return QColor(0, 0, 0);
    }
}

} // namespace

QColor OleColour::toColor(quint32 value, const QPalette &palette)
{
    if (isSystemColour(value))
        return systemColour(int(value & 0x00FFFFFF), palette);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 OleColour::fromRgb(int r, int g, int b)
{
    return quint32(r & 0xFF) | (quint32(g & 0xFF) << 8) | (quint32(b & 0xFF) << 16);
}

bool OleColour::isSystemColour(quint32 value)
{
    return (value & 0xFF000000u) == 0x80000000u;
}
