#pragma once
#include "records/settings_keys.h"
#include "records/settings_store.h"

#include <QObject>
#include <QString>

// The settings as the running program sees them: the in-memory flags, the dialer choice, and a
// change signal so that an option saved in one window takes effect everywhere at once.
// Every write goes straight to the store.
class Settings : public QObject
{
    Q_OBJECT
public:
    Settings(SettingsStore &store, SettingsFlags &flags, QObject *parent = nullptr);

    // Reads every key; announces those whose value differs from what was held.
    void load();

    bool flag(SettingKey key) const;
    // The setters return false when the value could not be saved; it is held all the same.
    bool setFlag(SettingKey key, bool on);
    QString text(SettingKey key) const;
    bool setText(SettingKey key, const QString &text);

    const SettingsFlags &flags() const { return m_flags; }
    SettingsStore &store() const { return m_store; }

signals:
    void changed(SettingKey key);

private:
    QString &textRef(SettingKey key);

    SettingsStore &m_store;
    SettingsFlags &m_flags;
    QString m_dialer;
    QString m_modemDevice;
    QString m_voiceWarp;
    QString m_voiceAdaptation;
};
