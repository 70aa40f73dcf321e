#pragma once
#include "services/key_sender.h"

// Sends keys through the X server's test extension, so they reach whichever window has the
// focus, the dialer's included. Without X11 (or without the extension) the keys are posted to
// the program's own focused object instead. X11 headers stay in the .cpp: their macros clash
// with Qt's names.
class XTestKeySender : public KeySender
{
public:
    XTestKeySender();
    ~XTestKeySender() override;
    XTestKeySender(const XTestKeySender &) = delete;
    XTestKeySender &operator=(const XTestKeySender &) = delete;

    void sendKey(Qt::Key key) override;
    // Whether keys go through the X server.
    bool usesXTest() const { return m_display != nullptr; }

private:
    void *m_display = nullptr; // Display*, opened once
};
