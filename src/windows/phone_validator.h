#pragma once
#include <QValidator>

// Keeps a phone or other number box to digits, blanks, commas, hyphens and full stops, and to
// its field's width, whether the text is typed or pasted: what it does not take is dropped, the
// rest kept.
class PhoneValidator : public QValidator
{
    Q_OBJECT
public:
    PhoneValidator(int width, QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

private:
    int m_width;
};
