#pragma once
#include <QString>

#include <functional>

// Speaks texts in the order handed over, each to its end. speak() returns at once.
class SpeechOutput
{
public:
    virtual ~SpeechOutput() = default;
    virtual void speak(const QString &text) = 0;
    // Whether a text handed over may still be heard: from speak() until its audio has played out.
    virtual bool isSpeaking() const { return false; }
    // Has `spoken` called, on the caller's thread, as each text handed over has played out (or
    // been dropped), in order; an empty function stops the calls. False when this service cannot
    // tell when its texts end.
    virtual bool onTextSpoken(std::function<void()> spoken)
    {
        (void)spoken;
        return false;
    }
};
