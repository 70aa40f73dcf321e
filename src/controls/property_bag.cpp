#include "controls/property_bag.h"

bool PropertyBag::contains(const QString &key) const
{
    return m_entries.contains(key.toLower());
}

QVariant PropertyBag::read(const QString &key, const QVariant &def) const
{
    const auto it = m_entries.constFind(key.toLower());
    return it == m_entries.constEnd() ? def : it->value;
}

void PropertyBag::write(const QString &key, const QVariant &value, const QVariant &def)
{
    if (value == def)
        m_entries.remove(key.toLower());
    else
        m_entries.insert(key.toLower(), Entry{key, value});
}

QStringList PropertyBag::keys() const
{
    QStringList out;
    for (const Entry &e : m_entries)
        out << e.key;
    return out;
}
