#include "core/info_line.h"

InfoLine::InfoLine(QObject *parent) : QObject(parent)
{
}

QString InfoLine::text() const
{
    return m_text;
}

void InfoLine::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
}
