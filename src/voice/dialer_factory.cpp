#include "voice/dialer_factory.h"

#include "records/settings_store.h"
#include "voice/dialer_modem.h"
#include "voice/dialer_tel.h"

std::unique_ptr<Dialer> DialerFactory::create(const SettingsStore &store)
{
    return create(store.GetSetting("Dialer", "tel"), store.GetSetting("ModemDevice", ""));
}

std::unique_ptr<Dialer> DialerFactory::create(const QString &kind, const QString &modemDevice)
{
    if (kind.trimmed().compare("modem", Qt::CaseInsensitive) == 0)
        return std::make_unique<ModemDialer>(modemDevice.trimmed());
    return std::make_unique<TelDialer>();
}
