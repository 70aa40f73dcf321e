// The settings as read from any file: every key reads, booleans fall back to their defaults.
#include "fuzz/fuzz_file.h"
#include "records/settings_keys.h"
#include "records/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile(data, size, ".ini");
    const SettingsStore store(path);
    SettingsFlags flags;
    store.LoadSettings(flags);
    for (const SettingKeyInfo &k : SettingKeys::all())
        store.GetSetting(QString::fromLatin1(k.name), QString());
    QFile::remove(path);
    return 0;
}
