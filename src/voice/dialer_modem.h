#pragma once
#include "services/dialer.h"

#include <QString>

// Dials through a Hayes AT modem on a serial device: "ATDT<number>;" (the ";" keeps it a voice
// call, so the user picks up the handset) and reads the modem's answer within a time limit.
// The port is opened for the one request and closed again.
class ModemDialer : public Dialer
{
public:
    explicit ModemDialer(const QString &devicePath, int answerTimeoutMs = 5000);

    // 0 on "OK"; -2 the device cannot be opened; -3 the device is taken by another request;
    // -4 no digit to dial; -1 any other answer (BUSY, NO CARRIER, ERROR, ...) or no answer in time.
    int requestMakeCall(const QString &number, const QString &appName, const QString &calledParty,
                        const QString &comment) override;

    // The command line sent for a number, only dialable characters kept.
    static QByteArray dialCommand(const QString &number);

private:
    QString m_devicePath;
    int m_timeoutMs;
};
