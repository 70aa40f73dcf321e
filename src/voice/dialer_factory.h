#pragma once
#include <QString>
#include <memory>

class Dialer;
class SettingsStore;

// The dialer the settings ask for: "Dialer" = "tel" (the default) or "modem", and "ModemDevice",
// the modem's serial device, both in the program's settings section.
class DialerFactory {
public:
    static std::unique_ptr<Dialer> create(const SettingsStore &store);
    // Any kind other than "modem" gives the tel: dialer.
    static std::unique_ptr<Dialer> create(const QString &kind, const QString &modemDevice);
};
