#include "voice/dialer_factory.h"

#include "core/settings.h"
#include "voice/dialer_modem.h"
#include "voice/dialer_tel.h"

std::unique_ptr<Dialer> DialerFactory::create(const QString &kind, const QString &modemDevice)
{
    if (kind.trimmed().compare("modem", Qt::CaseInsensitive) == 0)
        return std::make_unique<ModemDialer>(modemDevice.trimmed());
    return std::make_unique<TelDialer>();
}

ConfiguredDialer::ConfiguredDialer(Settings &settings) : m_settings(settings)
{
}

ConfiguredDialer::~ConfiguredDialer() = default;

int ConfiguredDialer::requestMakeCall(const QString &number, const QString &appName, const QString &calledParty,
                                      const QString &comment)
{
    const QString kind = m_settings.text(SettingKey::Dialer);
    const QString device = m_settings.text(SettingKey::ModemDevice);
    // Made at the first call rather than at start-up: finding the tel: handler reads the desktop's files.
    if (!m_backend || kind != m_kind || device != m_device) {
        m_backend = DialerFactory::create(kind, device);
        m_kind = kind;
        m_device = device;
    }
    return m_backend->requestMakeCall(number, appName, calledParty, comment);
}

bool ConfiguredDialer::holdsLine() const
{
    return m_backend && m_backend->holdsLine();
}

void ConfiguredDialer::hangUp()
{
    if (m_backend)
        m_backend->hangUp();
}
