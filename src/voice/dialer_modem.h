#pragma once
#include "services/dialer.h"

#include <QString>
#include <memory>

class QSerialPort;

// Dials through a Hayes AT modem on a serial device: "ATDT<number>;" (the ";" keeps it a voice
// call, so the user picks up the handset) and reads the modem's answer within a time limit.
// The port is opened for the one request. After "OK" it stays open until hangUp(): closing a
// tty drops DTR, and a modem set up the usual way (AT&D2) would hang up before the receiver is
// lifted.
class ModemDialer : public Dialer
{
public:
    explicit ModemDialer(const QString &devicePath, int answerTimeoutMs = 5000);
    ~ModemDialer() override;

    // 0 on "OK"; -2 the device cannot be opened; -3 the device is taken by another request (a
    // line still held included); -4 no digit to dial; -1 any other answer (BUSY, NO CARRIER,
    // ERROR, ...) or no answer in time.
    int requestMakeCall(const QString &number, const QString &appName, const QString &calledParty,
                        const QString &comment) override;
    bool holdsLine() const override { return m_line != nullptr; }
    // "ATH", then the port is closed.
    void hangUp() override;

    // The command line sent for a number, only dialable characters kept.
    static QByteArray dialCommand(const QString &number);

private:
    QString m_devicePath;
    int m_timeoutMs;
    std::unique_ptr<QSerialPort> m_line; // open after an accepted call, until hangUp()
    QString m_lineKey;
};
