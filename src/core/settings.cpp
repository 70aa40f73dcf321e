#include "core/settings.h"

#include <QVector>

Settings::Settings(SettingsStore &store, SettingsFlags &flags, QObject *parent)
    : QObject(parent), m_store(store), m_flags(flags),
      m_dialer(QString::fromLatin1(SettingKeys::info(SettingKey::Dialer).textDefault))
{
}

void Settings::load()
{
    std::array<QString, SettingKeys::Count> before;
    for (size_t i = 0; i < before.size(); ++i)
        before[i] = text(SettingKeys::all()[i].key);
    m_store.LoadSettings(m_flags);
    m_dialer = m_store.GetSetting(SettingKeys::name(SettingKey::Dialer),
                                  QString::fromLatin1(SettingKeys::info(SettingKey::Dialer).textDefault));
    m_modemDevice = m_store.GetSetting(SettingKeys::name(SettingKey::ModemDevice), QString());
    m_voiceWarp = m_store.GetSetting(SettingKeys::name(SettingKey::VoiceWarp), QString());
    m_voiceAdaptation = m_store.GetSetting(SettingKeys::name(SettingKey::VoiceAdaptation), QString());

    QVector<SettingKey> differ;
    for (size_t i = 0; i < before.size(); ++i) {
        if (text(SettingKeys::all()[i].key) != before[i])
            differ << SettingKeys::all()[i].key;
    }
    for (SettingKey key : differ)
        emit changed(key);
}

bool Settings::flag(SettingKey key) const
{
    const bool *f = SettingKeys::flag(m_flags, key);
    return f && *f;
}

bool Settings::setFlag(SettingKey key, bool on)
{
    bool *f = SettingKeys::flag(m_flags, key);
    if (!f)
        return false;
    const bool saved = m_store.SaveOption(SettingKeys::name(key), on);
    if (*f == on)
        return saved;
    *f = on;
    emit changed(key);
    return saved;
}

QString &Settings::textRef(SettingKey key)
{
    switch (key) {
    case SettingKey::Name: return m_flags.FamilyName;
    case SettingKey::HomePhone: return m_flags.HomePhone;
    case SettingKey::Dialer: return m_dialer;
    case SettingKey::VoiceWarp: return m_voiceWarp;
    case SettingKey::VoiceAdaptation: return m_voiceAdaptation;
    default: return m_modemDevice;
    }
}

QString Settings::text(SettingKey key) const
{
    if (SettingKeys::info(key).isBool)
        return flag(key) ? QStringLiteral("True") : QStringLiteral("False");
    return const_cast<Settings *>(this)->textRef(key);
}

bool Settings::setText(SettingKey key, const QString &text)
{
    if (SettingKeys::info(key).isBool)
        return setFlag(key, text == QLatin1String("True"));
    const bool saved = m_store.SaveSetting(SettingKeys::name(key), text);
    QString &held = textRef(key);
    if (held == text)
        return saved;
    held = text;
    emit changed(key);
    return saved;
}
