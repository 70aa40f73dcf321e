#pragma once
#include <QString>

// Message boxes: a message with an OK button, and a question answered OK or Cancel.
class Prompter
{
public:
    enum class Icon { None, Information, Warning, Critical };
    virtual ~Prompter() = default;
    // An empty title shows the application's title, "The Hushby".
    virtual void message(const QString &text, const QString &title, Icon icon) = 0;
    // Asked with the question icon, in front of the other windows; true for OK.
    virtual bool question(const QString &text, const QString &title) = 0;
};
