#pragma once
#include "records/info_record.h"
#include "records/settings_store.h"

#include <QDate>
#include <QString>
#include <QVector>

// What a printed sheet of today's information says: every field under the heading of the page
// the sitter reads it on, with the family's name, the date and the home phone at the top.
struct InfoSheet {
    struct Row {
        QString label;
        QString text;
        // Numbers the sitter may need in a hurry are printed large.
        bool phone = false;
    };
    struct Group {
        QString title;
        QVector<Row> rows;
    };

    QString title; // "Smith Family"
    QString date;
    QString homePhone;
    QVector<Group> groups;

    static InfoSheet from(const InfoRecord &record, const SettingsFlags &family, const QDate &date);
    // A stored field as it reads on paper: line breaks unified, blank filling dropped.
    static QString paperText(const QString &stored);
};
