#pragma once
#include <QByteArray>
#include <QProcessEnvironment>

// On a Wayland desktop a program may not place its own windows, read where the pointer is on the
// screen or send keys to another window, and the splash, the docked menu, top window mode,
// dragging by the top bar and hanging up by keys all need that. Where an X server is reachable
// there too (XWayland), the program starts on the X platform instead, unless the person chose a
// platform (QT_QPA_PLATFORM). Returns the platform to start on, or empty for the toolkit's choice.
QByteArray displayPlatformFor(const QProcessEnvironment &environment);
