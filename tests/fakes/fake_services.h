#pragma once
// A throw-away folder and a recording stand-in for every outside service, in one log.
#include "core/app_state.h"
#include "fakes/fake_window_opener.h"
#include "fakes/recording_fakes.h"

#include <QTemporaryDir>

struct FakeServices {
    QTemporaryDir dir;
    CallLog log;
    FakeSpeech speech{log};
    FakeSound sound{log};
    FakeEventPump events{log};
    FakePrompter prompter{log};
    FakePointer pointer{log};
    FakeClock clock;
    FakeDialer dialer{log};
    FakeRecognizer recognizer{log};
    FakeWindowOpener windows{log};

    Services services()
    {
        Services s;
        s.speech = &speech;
        s.sound = &sound;
        s.events = &events;
        s.prompter = &prompter;
        s.pointer = &pointer;
        s.clock = &clock;
        s.dialer = &dialer;
        s.recognizer = &recognizer;
        return s;
    }
};
