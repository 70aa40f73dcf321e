#pragma once
#include "core/bed_time_reminder.h"
#include "core/phone_dialing.h"
#include "core/start_stop_timing.h"
#include "core/top_window_mode.h"
#include "core/voice_command_interpreter.h"
#include "records/settings_keys.h"

#include <QObject>
#include <QStringList>

class AppState;

// The logic behind the main window, made once per run: calling and reading out numbers, the
// voice commands and the bed-time reminder. The windows only hand it clicks and show its state.
class AppLogic : public QObject
{
    Q_OBJECT
public:
    explicit AppLogic(AppState &state, QObject *parent = nullptr);
    ~AppLogic() override;

    // Copies the word list on first use, loads it as the grammar and refills List1 (voice on only).
    void LoadVoiceGrammar();

    PhoneDialing dialing;
    VoiceCommandInterpreter interpreter;
    BedTimeReminder bedTime;
    StartStopTiming timing;
    TopWindowMode topWindow;
    // The phrase list of the voice grammar.
    QStringList List1;

private:
    void settingChanged(SettingKey key);

    AppState &m_state;
    bool m_started = false;
    bool m_wordListReported = false;
};
