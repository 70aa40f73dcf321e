#include "voice/xtest_key_sender.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// Xlib's event-type macros shadow QEvent's names.
#undef KeyPress
#undef KeyRelease

namespace {

unsigned long keysymFor(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Tab: return XK_Tab;
    case Qt::Key_Return: return XK_Return;
    case Qt::Key_Enter: return XK_KP_Enter;
    case Qt::Key_Escape: return XK_Escape;
    case Qt::Key_Space: return XK_space;
    default: return NoSymbol;
    }
}

} // namespace

XTestKeySender::XTestKeySender()
{
    // Only when the program itself runs on X11: a Wayland session's X server would send the
    // keys to X clients only.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy)
        return;
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(dpy);
        return;
    }
    m_display = dpy;
}

XTestKeySender::~XTestKeySender()
{
    if (m_display)
        XCloseDisplay(static_cast<Display *>(m_display));
}

void XTestKeySender::sendKey(Qt::Key key)
{
    if (m_display) {
        Display *dpy = static_cast<Display *>(m_display);
        const KeySym sym = keysymFor(key);
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(dpy, sym);
        if (code) {
            XTestFakeKeyEvent(dpy, code, True, CurrentTime);
            XTestFakeKeyEvent(dpy, code, False, CurrentTime);
            XFlush(dpy); // sent now, not waited for
            return;
        }
    }
    QObject *target = QGuiApplication::focusObject();
    if (!target)
        return;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}
