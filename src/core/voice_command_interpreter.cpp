#include "core/voice_command_interpreter.h"

#include "core/phone_dialing.h"
#include "core/sound_services.h"
#include "records/info_record.h"
#include "records/settings_store.h"
#include "services/clock.h"
#include "services/event_pump.h"
#include "services/key_sender.h"

#include <QRandomGenerator>

namespace {

struct NumberCommand {
    QStringList phrases;
    const char *reply;
};

// Indexed like the phone entries.
const NumberCommand &numberCommandOf(int k)
{
    static const NumberCommand commands[10] = {
        {{"call parents", "call work", "where", "parents"}, "Calling parents now!"},
        {{"call backup", "call relation", "call can't be reached"}, "Calling backup relation now!"},
        {{"call police", "call the police", "police"}, "Calling Police Now!"},
        {{"call hospital", "call the hospital", "hospital"}, "Calling the hospital Now!"},
        {{"call ambulance", "call an ambulance", "ambulance", "call the ambulance"}, "Calling an ambulance Now!"},
        // "poision" is how the shipped word list spells it.
        {{"call poision", "call the poison control", "poison", "call the poison control center"},
         "Calling the poison control center Now!"},
        {{"call the fire department", "call fire", "fire", "call fire department"}, "Calling the fire department Now!"},
        {{"call doctor", "call a doctor", "doctor", "call the docter"}, "Calling your doctor Now!"},
        {{"call pharmacy", "call the pharmacy", "pharmacy", "call a pharmacy"}, "Calling the pharmacy Now!"},
        {{"call school", "call kids school", "school", "call the school"}, "Calling the kids school Now!"},
    };
    return commands[k];
}

} // namespace

VoiceCommandInterpreter::VoiceCommandInterpreter(const QStringList &List1, SettingsFlags &flags,
                                                 const InfoRecord &todayInfo, const Services &services,
                                                 const QString &alarmWavePath)
    : m_list(List1), m_flags(flags), m_todayInfo(todayInfo), m_services(services), m_alarmWavePath(alarmWavePath)
{
}

QString VoiceCommandInterpreter::rhyme(int n)
{
    if (n == 1)
        return QStringLiteral("There once was a frog, who jumped all about ... round the pond, full of tadpoles, "
                              "in and out ... among the yellow daffodils, he hopped without a care ... and when "
                              "the day was over, he went home, under the stairs! ... Ha, ha, ha, ha!");
    return QStringLiteral("Rock-a-bye baby, on the tree top ... when the wind blows, the cradle will rock ... when "
                          "the bough breaks, the cradle will fall ... and down will come baby, cradle and all ... but "
                          "all is well, baby and cradle fell in a big bowl of jelly! ... Ha, ha, ha!");
}

void VoiceCommandInterpreter::handlePendingEvents()
{
    if (m_services.events)
        m_services.events->handlePendingEvents();
}

void VoiceCommandInterpreter::OnUtteranceStarted()
{
    m_inUtterance = true;
    m_ownSoundAtStart = m_services.sound->ownSoundAudible();
    m_ownSoundsAtStart = m_services.sound->ownSoundsStarted();
}

bool VoiceCommandInterpreter::heardOwnSound()
{
    const SoundServices &sound = *m_services.sound;
    const bool during = m_inUtterance && (m_ownSoundAtStart || sound.ownSoundsStarted() != m_ownSoundsAtStart);
    m_inUtterance = false;
    return during || sound.ownSoundAudible();
}

bool VoiceCommandInterpreter::stillArmed() const
{
    if (!m_services.clock)
        return true;
    QDateTime from = m_services.sound->spokenAt(m_readyNumber);
    if (!from.isValid())
        from = m_wokenAt.addMSecs(ReadyAllowanceMs);
    return from.msecsTo(m_services.clock->now()) <= ArmedSeconds * 1000;
}

void VoiceCommandInterpreter::OnPhraseFinished(const QString &phrase)
{
    SoundServices &sound = *m_services.sound;
    // What the microphone picked up of the program's own voice is no command, not even the wake
    // word; the alarm's loop is not counted, or no phrase could end it.
    if (heardOwnSound())
        return;
    // Any phrase ends a sounding alarm, even one that is otherwise ignored; an utterance that
    // was no phrase does not, as the alarm itself would be heard by the microphone and end at once.
    if (!phrase.isEmpty())
        sound.setAlarmSounding(false);

    if (m_flags.VoiceOn) {
        if (phrase.isEmpty())
            return; // nothing was heard: keep waiting for the command
        if (m_list.contains(phrase)) {
            if (phrase == QLatin1String("hushby")) {
                m_wokenAt = m_services.clock ? m_services.clock->now() : QDateTime();
                m_readyNumber = sound.SpeakText(QStringLiteral("Ready"));
                Listening = true;
                return;
            }
            if (phrase == QLatin1String("cancel") || phrase == QLatin1String("abort")
                || phrase == QLatin1String("stop")) {
                // Tab then Enter reach whichever window has the focus: only the dialer's, with a
                // call of ours on it, may have them.
                if (m_services.dialing->callMayBeInProgress()) {
                    sound.SpeakText(QStringLiteral("Stopping call, hanging up now!"));
                    if (m_services.keys)
                        m_services.keys->sendKey(Qt::Key_Tab);
                    handlePendingEvents();
                    if (m_services.keys)
                        m_services.keys->sendKey(Qt::Key_Return);
                }
            } else if (Listening && stillArmed()) {
                Listening = false;
                runCommand(phrase);
            }
        }
    }
    // Also after a nested wake word: the outer phrase's command is over.
    Listening = false;
}

bool VoiceCommandInterpreter::runCommand(const QString &phrase)
{
    SoundServices &sound = *m_services.sound;
    auto is = [&](std::initializer_list<const char *> phrases) {
        for (const char *p : phrases)
            if (phrase == QLatin1String(p))
                return true;
        return false;
    };

    if (is({"prepare", "diner", "prepare diner"})) {
        sound.SpeakText(m_todayInfo.field(InfoRecord::HowToPrepare));
        handlePendingEvents();
        return true;
    }
    if (checked(check2Checked) && is({"alarm off"})) {
        sound.SpeakText(QStringLiteral("Turning off alarm now!"));
        handlePendingEvents();
        sound.setAlarmSounding(false);
        return true;
    }
    if (checked(check2Checked) && is({"alarm on"})) {
        sound.SpeakText(QStringLiteral("Intruder! ... Intruder!"));
        for (int i = 0; i < 4; ++i)
            handlePendingEvents();
        sound.startAlarm(m_alarmWavePath);
        handlePendingEvents();
        return true;
    }
    if (is({"turn on auto dial", "on auto", "on dial"})) {
        sound.SpeakText(QStringLiteral("Turning on auto dial now!"));
        handlePendingEvents();
        m_flags.AutoDial = true;
        return true;
    }
    if (is({"turn off auto dial", "off auto", "off dial"})) {
        sound.SpeakText(QStringLiteral("Turning off auto dial now!"));
        handlePendingEvents();
        m_flags.AutoDial = false;
        return true;
    }
    for (int k = 0; k < 10; ++k) {
        // "911" sits between the parents' two entries and the emergency numbers.
        if (k == 2 && checked(check1Checked) && is({"911", "nine one one"})) {
            sound.SpeakText(QStringLiteral("Calling 911Now!"));
            handlePendingEvents();
            m_services.dialing->DialNumber(QStringLiteral("911"));
            return true;
        }
        if (numberCommandOf(k).phrases.contains(phrase)) {
            numberCommand(k);
            return true;
        }
    }
    if (is({"sing a song", "sing"})) {
        sing();
        return true;
    }
    return false;
}

void VoiceCommandInterpreter::numberCommand(int k)
{
    SoundServices &sound = *m_services.sound;
    if (!m_flags.AutoDial)
        sound.SpeakText(QStringLiteral("Auto Dial is not on, calling out number now!"));
    sound.SpeakText(QString::fromLatin1(numberCommandOf(k).reply));
    handlePendingEvents();
    // A nested phrase may have switched auto dial meanwhile; it is read again here.
    if (m_flags.AutoDial)
        m_services.dialing->DialNumber(m_services.dialing->numberText(k));
    else
        m_services.dialing->PhonePictureClick(k);
}

void VoiceCommandInterpreter::sing()
{
    SoundServices &sound = *m_services.sound;
    sound.SpeakText(QStringLiteral("I will do my best."));
    const double u = m_services.clock ? m_services.clock->nextRandom() : QRandomGenerator::global()->generateDouble();
    // 1 + u rounded half to even: below 0.5 gives 1, from 0.5 on gives 2.
    sound.SpeakText(rhyme(u < 0.5 ? 1 : 2));
    sound.SpeakText(QStringLiteral("How was that?"));
}
