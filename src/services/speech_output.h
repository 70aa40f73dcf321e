#pragma once
#include <QString>

// Speaks texts in the order handed over, each to its end. speak() returns at once.
class SpeechOutput
{
public:
    virtual ~SpeechOutput() = default;
    virtual void speak(const QString &text) = 0;
};
