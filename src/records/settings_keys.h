#pragma once
#include <QString>
#include <array>

struct SettingsFlags;

// Every key of the settings section with its default: the one list the loaders and the option
// windows share. Key names and stored texts are those older installations wrote.
enum class SettingKey {
    Name,
    HomePhone,
    VoiceOn,
    Talk,
    AutoDial,
    StartStop,
    UsePassword,
    Use911,
    UseAlarm,
    Dialer,
    ModemDevice,
    VoiceWarp, // what the recogniser learned of the family's voices: the filterbank's warp
    VoiceAdaptation // and the model's adaptation to them
};

struct SettingKeyInfo {
    SettingKey key;
    const char *name;
    bool isBool;
    bool boolDefault;
    const char *textDefault;
};

class SettingKeys
{
public:
    static constexpr size_t Count = 13;
    static const std::array<SettingKeyInfo, Count> &all();
    static const SettingKeyInfo &info(SettingKey key);
    static QString name(SettingKey key) { return QString::fromLatin1(info(key).name); }
    // The in-memory flag behind a boolean key; null for a text key.
    static bool *flag(SettingsFlags &flags, SettingKey key);
    static const bool *flag(const SettingsFlags &flags, SettingKey key);
};
