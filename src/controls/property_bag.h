#pragma once
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// The named values a window stores for each control placed on it. Keys match without regard
// to case (stored window descriptions hold them in lower case, code spells them "Caption").
class PropertyBag
{
public:
    bool contains(const QString &key) const;
    QVariant read(const QString &key, const QVariant &def) const;
    // A value equal to its default is not stored, so a later change of the default reaches
    // every control that never overrode it.
    void write(const QString &key, const QVariant &value, const QVariant &def);
    QStringList keys() const;

private:
    struct Entry {
        QString key;
        QVariant value;
    };
    QMap<QString, Entry> m_entries; // by lower-case key
};
