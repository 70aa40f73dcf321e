#include "windows/phone_validator.h"

#include "core/setup_wizard.h"

PhoneValidator::PhoneValidator(int width, QObject *parent) : QValidator(parent), m_width(width)
{
}

QValidator::State PhoneValidator::validate(QString &input, int &pos) const
{
    SetupWizard::fitPhoneEdit(input, pos, m_width);
    return Acceptable;
}
