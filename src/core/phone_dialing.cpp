#include "core/phone_dialing.h"

#include "core/sound_services.h"
#include "records/info_record.h"
#include "records/settings_store.h"
#include "services/clock.h"
#include "services/dialer.h"
#include "services/prompter.h"

PhoneDialing::PhoneDialing(SoundServices &sound, Dialer *dialer, Prompter *prompter, const InfoRecord &todayInfo,
                           const SettingsFlags &flags, Clock *clock)
    : m_sound(sound), m_dialer(dialer), m_prompter(prompter), m_todayInfo(todayInfo), m_flags(flags), m_clock(clock)
{
}

int PhoneDialing::phoneEntryField(int k)
{
    static const int fields[] = {
        InfoRecord::WherePhone,     InfoRecord::BackupPhone,        InfoRecord::PolicePhone, InfoRecord::HospitalPhone,
        InfoRecord::AmbulancePhone, InfoRecord::PoisonControlPhone, InfoRecord::FirePhone,   InfoRecord::DoctorPhone,
        InfoRecord::PharmacyPhone,  InfoRecord::SchoolPhone,
    };
    return k >= 0 && k < 10 ? fields[k] : 0;
}

QString PhoneDialing::numberText(int k) const
{
    const int f = phoneEntryField(k);
    return f ? m_todayInfo.trimmed(f) : QString();
}

QString PhoneDialing::failureReason(int result)
{
    switch (result) {
    case -4: return QStringLiteral("The phone number is not valid.");
    case -3: return QStringLiteral("The telephone dialing device is busy with another dialing request.");
    case -2: return QStringLiteral("No telephone dialing application is running and none could be started.");
    default: return QStringLiteral("Unknown error.");
    }
}

void PhoneDialing::DialNumber(const QString &number)
{
    const QString trimmed = number.trimmed();
    int result;
    if (trimmed.isEmpty())
        result = -4; // nothing to hand over; no dialer is asked to call nobody
    else if (!m_dialer)
        result = -2;
    else
        result = m_dialer->requestMakeCall(trimmed, QStringLiteral("Hushby"), QStringLiteral("Dialing"), QString());
    if (result == 0) {
        m_dialed = true;
        m_lastDialAt = m_clock ? m_clock->now() : QDateTime();
    }
    if (result != 0 && m_prompter)
        m_prompter->message("Error dialing number : " + failureReason(result), QString(), Prompter::Icon::None);
    m_sound.SpeakText(QStringLiteral("Please pick up the phone now!"));
    if (result == 0 && m_dialer->holdsLine()) {
        // Let go before the receiver is lifted, the line would drop with nobody on it.
        if (m_prompter)
            m_prompter->message(QStringLiteral("Lift the receiver, then press OK"), QString(),
                                Prompter::Icon::Information);
        m_dialer->hangUp();
    }
}

bool PhoneDialing::callMayBeInProgress() const
{
    if (!m_dialed)
        return false;
    if (!m_clock)
        return true;
    const qint64 since = m_lastDialAt.msecsTo(m_clock->now());
    return since >= 0 && since <= qint64(CallMinutes) * 60 * 1000;
}

void PhoneDialing::PhonePictureClick(int k)
{
    if (!phoneEntryField(k))
        return;
    const QString number = numberText(k);
    if (m_flags.TalkBack)
        m_sound.SpeakText(number);
    if (m_flags.AutoDial)
        DialNumber(number);
}
