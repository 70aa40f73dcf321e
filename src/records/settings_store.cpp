#include "records/settings_store.h"

#include "records/file_access.h"
#include "records/settings_keys.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {
const QString kGroup = QStringLiteral("Settings");
}

SettingsStore::SettingsStore(const QString &iniPath) : m_path(iniPath)
{
}

QString SettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/The Hushby/The Hushby.ini");
}

QString SettingsStore::GetSetting(const QString &key, const QString &def) const
{
    QSettings s(m_path, QSettings::IniFormat);
    s.beginGroup(kGroup);
    const QVariant v = s.value(key);
    if (!v.isValid())
        return def;
    // An unquoted comma typed into the file by hand makes the INI reader split the value.
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

bool SettingsStore::SaveSetting(const QString &key, const QString &text)
{
    // The INI writer keeps the mode of the file it replaces; a first save starts from a private one.
    if (!QFileInfo::exists(m_path) && FileAccess::makeFolder(QFileInfo(m_path).absolutePath()))
        FileAccess::createPrivate(m_path);
    QSettings s(m_path, QSettings::IniFormat);
    s.beginGroup(kGroup);
    s.setValue(key, text);
    s.endGroup();
    s.sync(); // the next start, another process, must find it
    return s.status() == QSettings::NoError;
}

bool SettingsStore::getBool(const QString &key, bool def) const
{
    const QString text = GetSetting(key, def ? QStringLiteral("True") : QStringLiteral("False"));
    if (text == QLatin1String("True"))
        return true;
    if (text == QLatin1String("False"))
        return false;
    return def;
}

void SettingsStore::LoadSettings(SettingsFlags &f) const
{
    f.FamilyName = GetSetting(SettingKeys::name(SettingKey::Name), QString());
    f.HomePhone = GetSetting(SettingKeys::name(SettingKey::HomePhone), QString());
    for (const SettingKeyInfo &k : SettingKeys::all())
        if (k.isBool)
            *SettingKeys::flag(f, k.key) = getBool(QString::fromLatin1(k.name), k.boolDefault);
}

bool SettingsStore::SaveFamilyInfo(const SettingsFlags &f)
{
    const bool name = SaveSetting(QStringLiteral("Name"), f.FamilyName);
    return SaveSetting(QStringLiteral("HomePhone"), f.HomePhone) && name;
}

bool SettingsStore::SaveOption(const QString &key, bool value)
{
    return SaveSetting(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}
