#include "core/speaker_warp_setting.h"

#include "core/settings.h"
#include "services/recognizer.h"

#include <memory>

namespace {

void keep(Settings &settings, Recognizer &recognizer, SettingKey key, void (Recognizer::*give)(const QString &),
          void (Recognizer::*learned)(const QString &))
{
    // Storing a learned state announces it; handing it back would undo what the recogniser
    // learned from a command heard meanwhile.
    auto storing = std::make_shared<bool>(false);
    QObject::connect(&settings, &Settings::changed, &recognizer,
                     [&settings, &recognizer, storing, key, give](SettingKey k) {
                         if (k == key && !*storing)
                             (recognizer.*give)(settings.text(key));
                     });
    QObject::connect(&recognizer, learned, &settings, [&settings, storing, key](const QString &state) {
        *storing = true;
        settings.setText(key, state);
        *storing = false;
    });
    (recognizer.*give)(settings.text(key));
}

} // namespace

void keepSpeakerWarp(Settings &settings, Recognizer &recognizer)
{
    keep(settings, recognizer, SettingKey::VoiceWarp, &Recognizer::setSpeakerWarp, &Recognizer::speakerWarpLearned);
    keep(settings, recognizer, SettingKey::VoiceAdaptation, &Recognizer::setSpeakerAdaptation,
         &Recognizer::speakerAdaptationLearned);
}
