#pragma once
#include "controls/look.h"
#include "controls/property_bag.h"
#include "controls/xp_caption_button.h"

#include <QColor>
#include <QFont>
#include <initializer_list>
#include <utility>

// The stored properties a window keeps for one of its caption buttons, applied as the window
// loads: only the keys given are stored, the button takes its own defaults for the rest.
inline void loadButton(XpCaptionButton *button, std::initializer_list<std::pair<const char *, QVariant>> stored,
                       const QFont &containerFont)
{
    PropertyBag bag;
    for (const auto &kv : stored)
        bag.write(QString::fromLatin1(kv.first), kv.second, QVariant());
    button->readProperties(bag, containerFont);
}

// A colour as stored with a window: 0x00BBGGRR.
inline quint32 storedColour(const QColor &c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

// The font the windows store with their command buttons.
inline QFont storedButtonFont()
{
    return Look::textFont();
}
