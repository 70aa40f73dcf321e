#pragma once
#include <QDateTime>
#include <QString>

class Clock;
class Dialer;
class InfoRecord;
class Prompter;
class SoundServices;
struct SettingsFlags;

// The phone pictures beside the numbers of today's information, and dialing a number.
// Entries 0-9 are shared with the voice commands.
class PhoneDialing
{
public:
    PhoneDialing(SoundServices &sound, Dialer *dialer, Prompter *prompter, const InfoRecord &todayInfo,
                 const SettingsFlags &flags, Clock *clock = nullptr);

    // Hands the trimmed number to the dialer, explains a refusal in a message box, then asks the
    // user to pick up the phone. A blank number never reaches the dialer. A dialer that holds the
    // line is told to hang up once the user has answered the prompt to lift the receiver.
    void DialNumber(const QString &number);
    // Reads entry k's number aloud (talk-back) and/or dials it (auto dial).
    void PhonePictureClick(int k);

    // The field of today's information behind entry k (0-9), 0 for any other k.
    static int phoneEntryField(int k);
    // The number text of entry k: its field trimmed; empty for an unknown k.
    QString numberText(int k) const;
    // The reason shown after "Error dialing number : " for a non-zero result.
    static QString failureReason(int result);

    // Whether a call the program handed to the dialer may still be going on: one was accepted within
    // the last CallMinutes, or at any time when there is no clock to tell.
    bool callMayBeInProgress() const;
    static constexpr int CallMinutes = 15;

private:
    SoundServices &m_sound;
    Dialer *m_dialer;
    Prompter *m_prompter;
    const InfoRecord &m_todayInfo;
    const SettingsFlags &m_flags;
    Clock *m_clock;
    bool m_dialed = false;
    QDateTime m_lastDialAt;
};
