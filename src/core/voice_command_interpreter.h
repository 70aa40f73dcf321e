#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

class Clock;
class EventPump;
class InfoRecord;
class KeySender;
class PhoneDialing;
class SoundServices;
struct SettingsFlags;

// The main window's answer to each recognised phrase: the wake word "hushby" arms it, the next
// phrase is taken as a command if it comes soon enough. Re-entrant: a phrase may arrive while an
// earlier one is still handling pending events (or sounding the alarm) and runs to its end inside it.
class VoiceCommandInterpreter
{
public:
    struct Services {
        SoundServices *sound = nullptr; // required
        PhoneDialing *dialing = nullptr; // required
        EventPump *events = nullptr;
        KeySender *keys = nullptr;
        Clock *clock = nullptr;
    };

    // List1 is the phrase list of the voice grammar; the flags' AutoDial is changed in memory
    // only. alarmWavePath is the full path of the alarm sound.
    VoiceCommandInterpreter(const QStringList &List1, SettingsFlags &flags, const InfoRecord &todayInfo,
                            const Services &services, const QString &alarmWavePath);

    // The recogniser has begun to hear an utterance; its phrase follows.
    void OnUtteranceStarted();
    void OnPhraseFinished(const QString &phrase);

    // The "Emergency" tab's check boxes, read when a command needs them: Check1 permits "911",
    // Check2 the two alarm commands. Unset means unchecked.
    std::function<bool()> check1Checked;
    std::function<bool()> check2Checked;

    bool Listening = false;

    // The rhymes of "sing a song", 1 or 2.
    static QString rhyme(int n);

    // How long the wake word keeps the interpreter armed, counted from the end of "Ready".
    static constexpr int ArmedSeconds = 8;
    // Where the speech service cannot say when "Ready" ended: how long it is taken to last.
    static constexpr int ReadyAllowanceMs = 2000;

private:
    bool heardOwnSound();
    bool stillArmed() const;
    bool runCommand(const QString &phrase);
    void numberCommand(int k);
    void sing();
    void handlePendingEvents();
    bool checked(const std::function<bool()> &box) const { return box && box(); }

    const QStringList &m_list;
    SettingsFlags &m_flags;
    const InfoRecord &m_todayInfo;
    Services m_services;
    QString m_alarmWavePath;

    int m_readyNumber = 0; // of the last "Ready", as SoundServices numbers texts
    QDateTime m_wokenAt;
    // The utterance being heard, as it began.
    bool m_inUtterance = false;
    bool m_ownSoundAtStart = false;
    int m_ownSoundsAtStart = 0;
};
