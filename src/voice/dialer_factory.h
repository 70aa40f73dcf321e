#pragma once
#include "services/dialer.h"

#include <QString>
#include <memory>

class Settings;

// The dialer the settings ask for: "Dialer" = "tel" (the default) or "modem", and "ModemDevice",
// the modem's serial device.
class DialerFactory
{
public:
    // Any kind other than "modem" gives the tel: dialer.
    static std::unique_ptr<Dialer> create(const QString &kind, const QString &modemDevice);
};

// The program's dialer: whichever back-end the settings name at the moment of the call, so a
// changed choice takes effect without a restart.
class ConfiguredDialer : public Dialer
{
public:
    explicit ConfiguredDialer(Settings &settings);
    ~ConfiguredDialer() override;

    int requestMakeCall(const QString &number, const QString &appName, const QString &calledParty,
                        const QString &comment) override;
    bool holdsLine() const override;
    void hangUp() override;

private:
    Settings &m_settings;
    std::unique_ptr<Dialer> m_backend;
    QString m_kind;
    QString m_device;
};
