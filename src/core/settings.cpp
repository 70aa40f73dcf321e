#include "core/settings.h"

#include <QVector>

Settings::Settings(SettingsStore &store, SettingsFlags &flags, QObject *parent)
    : QObject(parent), m_store(store), m_flags(flags),
      m_dialer(QString::fromLatin1(SettingKeys::info(SettingKey::Dialer).textDefault))
{
}

void Settings::load()
{
    const SettingsFlags before = m_flags;
    const QString dialerBefore = m_dialer;
    const QString modemBefore = m_modemDevice;
    m_store.LoadSettings(m_flags);
    m_dialer = m_store.GetSetting(SettingKeys::name(SettingKey::Dialer),
                                  QString::fromLatin1(SettingKeys::info(SettingKey::Dialer).textDefault));
    m_modemDevice = m_store.GetSetting(SettingKeys::name(SettingKey::ModemDevice), QString());

    QVector<SettingKey> differ;
    for (const SettingKeyInfo &k : SettingKeys::all()) {
        bool same = true;
        if (k.isBool)
            same = *SettingKeys::flag(before, k.key) == *SettingKeys::flag(m_flags, k.key);
        else if (k.key == SettingKey::Name)
            same = before.FamilyName == m_flags.FamilyName;
        else if (k.key == SettingKey::HomePhone)
            same = before.HomePhone == m_flags.HomePhone;
        else if (k.key == SettingKey::Dialer)
            same = dialerBefore == m_dialer;
        else
            same = modemBefore == m_modemDevice;
        if (!same)
            differ << k.key;
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
