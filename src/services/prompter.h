#pragma once
#include <QString>

// Message boxes with a single OK button.
class Prompter {
public:
    enum class Icon { None, Information, Warning, Critical };
    virtual ~Prompter() = default;
    // An empty title shows the application's title, "The Hushby".
    virtual void message(const QString &text, const QString &title, Icon icon) = 0;
};
