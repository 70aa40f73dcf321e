#include "records/settings_keys.h"

#include "records/settings_store.h"

const std::array<SettingKeyInfo, SettingKeys::Count> &SettingKeys::all()
{
    static const std::array<SettingKeyInfo, SettingKeys::Count> keys = {{
        {SettingKey::Name, "Name", false, false, ""},
        {SettingKey::HomePhone, "HomePhone", false, false, ""},
        {SettingKey::VoiceOn, "VoiceOn", true, false, nullptr},
        {SettingKey::Talk, "Talk", true, true, nullptr},
        {SettingKey::AutoDial, "AutoDial", true, false, nullptr},
        {SettingKey::StartStop, "StartStop", true, false, nullptr},
        {SettingKey::UsePassword, "UsePassword", true, false, nullptr},
        {SettingKey::Use911, "Use911", true, false, nullptr},
        {SettingKey::UseAlarm, "UseAlarm", true, false, nullptr},
        {SettingKey::Dialer, "Dialer", false, false, "tel"},
        {SettingKey::ModemDevice, "ModemDevice", false, false, ""},
        {SettingKey::VoiceWarp, "VoiceWarp", false, false, ""},
        {SettingKey::VoiceAdaptation, "VoiceAdaptation", false, false, ""},
    }};
    return keys;
}

const SettingKeyInfo &SettingKeys::info(SettingKey key)
{
    return all()[static_cast<size_t>(key)];
}

bool *SettingKeys::flag(SettingsFlags &f, SettingKey key)
{
    switch (key) {
    case SettingKey::VoiceOn: return &f.VoiceOn;
    case SettingKey::Talk: return &f.TalkBack;
    case SettingKey::AutoDial: return &f.AutoDial;
    case SettingKey::StartStop: return &f.StartStop;
    case SettingKey::UsePassword: return &f.UsePassword;
    case SettingKey::Use911: return &f.Use911;
    case SettingKey::UseAlarm: return &f.UseAlarm;
    default: return nullptr;
    }
}

const bool *SettingKeys::flag(const SettingsFlags &f, SettingKey key)
{
    return flag(const_cast<SettingsFlags &>(f), key);
}
