#include "core/speaker_warp_setting.h"

#include "core/settings.h"
#include "services/recognizer.h"

#include <memory>

void keepSpeakerWarp(Settings &settings, Recognizer &recognizer)
{
    // Storing a learned state announces it; handing it back would undo what the recogniser
    // learned from a command heard meanwhile.
    auto storing = std::make_shared<bool>(false);
    QObject::connect(&settings, &Settings::changed, &recognizer, [&settings, &recognizer, storing](SettingKey key) {
        if (key == SettingKey::VoiceWarp && !*storing)
            recognizer.setSpeakerWarp(settings.text(SettingKey::VoiceWarp));
    });
    QObject::connect(&recognizer, &Recognizer::speakerWarpLearned, &settings,
                     [&settings, storing](const QString &state) {
                         *storing = true;
                         settings.setText(SettingKey::VoiceWarp, state);
                         *storing = false;
                     });
    recognizer.setSpeakerWarp(settings.text(SettingKey::VoiceWarp));
}
