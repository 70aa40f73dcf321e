#include "core/bed_time_reminder.h"

#include "core/settings.h"
#include "core/sound_services.h"
#include "records/info_record.h"
#include "services/clock.h"

#include <QRegularExpression>

BedTimeReminder::BedTimeReminder(Settings &settings, const InfoRecord &todayInfo, SoundServices &sound, Clock *clock,
                                 const QString &alarmWavePath, QObject *parent)
    : QObject(parent), m_settings(settings), m_todayInfo(todayInfo), m_sound(sound), m_clock(clock),
      m_alarmWavePath(alarmWavePath)
{
}

QString BedTimeReminder::reminderText()
{
    return QStringLiteral("It's time for bed ... have a good nights rest! ... Don't forget to "
                          "brush your teeth. Nighty, night!");
}

QTime BedTimeReminder::readBedtime(const QString &bedtime)
{
    // "a"/"p" alone count too: the field is 8 characters, so "10:30 p.m." is stored "10:30 p.".
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::\d{2})?\s*(?:([ap])\.?(?:\s*m\.?)?)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(bedtime.trimmed());
    if (!m.hasMatch())
        return {};
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    if (minute > 59)
        return {};
    const QString half = m.captured(3).toLower();
    if (half.isEmpty()) {
        if (hour > 23)
            return {};
    } else {
        if (hour < 1 || hour > 12)
            return {};
        hour %= 12; // 12 AM is midnight, 12 PM noon
        if (half == QLatin1String("p"))
            hour += 12;
    }
    return QTime(hour, minute);
}

bool BedTimeReminder::bedtimeMatches(const QString &bedtime, const QTime &now)
{
    // Hours and minutes are compared as numbers: a text prefix would let "20:30" match the whole
    // ten minutes from 20:30 to 20:39 and ignore "PM".
    const QTime at = readBedtime(bedtime);
    return at.isValid() && now.isValid() && now.hour() == at.hour() && now.minute() == at.minute();
}

void BedTimeReminder::tick()
{
    const QTime now = m_clock ? m_clock->now().time() : QTime::currentTime();
    if (!bedtimeMatches(m_todayInfo.field(InfoRecord::Bedtime), now))
        return;
    // Talk-back is not consulted: the reminder is for the household, not a read-out number.
    if (m_settings.flags().VoiceOn)
        m_sound.SpeakText(reminderText());
    else
        m_sound.PlayWave(m_alarmWavePath); // once: no phrase is there to end a loop
}

bool BedTimeReminder::optionClicked(bool alarmOffSelected)
{
    m_on = !alarmOffSelected;
    emit timerRunningChanged(m_on);
    return m_on;
}

bool BedTimeReminder::Check1Clicked(bool checked)
{
    return m_settings.setFlag(SettingKey::Use911, checked);
}

bool BedTimeReminder::Check2Clicked(bool checked)
{
    return m_settings.setFlag(SettingKey::UseAlarm, checked);
}
