#pragma once
#include <QString>

// The nine values kept between runs.
struct SettingsFlags {
    QString FamilyName;
    QString HomePhone;
    bool VoiceOn = false;
    bool TalkBack = true;
    bool AutoDial = false;
    bool StartStop = false;
    bool UsePassword = false;
    bool Use911 = false;
    bool UseAlarm = false;
};

// The per-user settings: an INI file, application "The Hushby", section "Settings".
// Every call reads or writes the file itself, so hand edits and other runs are seen at once.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &iniPath = SettingsStore::defaultPath());

    // $XDG_CONFIG_HOME/The Hushby/The Hushby.ini (~/.config when unset).
    static QString defaultPath();
    QString path() const { return m_path; }

    QString GetSetting(const QString &key, const QString &def) const;
    // Each save returns false when the file could not be written whole; the file then holds what
    // it held before.
    bool SaveSetting(const QString &key, const QString &text);

    // Booleans read "True" or "False" exactly; any other stored text reads as the key's default.
    void LoadSettings(SettingsFlags &f) const;
    bool SaveFamilyInfo(const SettingsFlags &f);
    bool SaveOption(const QString &key, bool value);

private:
    bool getBool(const QString &key, bool def) const;

    QString m_path;
};
