#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

// The help file: HTML with one <section id="..."> per page. Topic numbers are page ids ("1",
// "2", "3", "9999"); other pages have word ids and are reached by links. The voice-command page
// lists the phrases of the word list the program is using, so the help never disagrees with it.
class HelpFile
{
public:
    enum class Status { Ok, Missing, Broken };

    static inline const QString ContentsPage = QStringLiteral("9999");
    static inline const QString PhrasesMarker = QStringLiteral("<!--voice-phrases-->");

    // Reads the help file; wordsFilePath fills the phrase list (an unreadable list says so there).
    bool load(const QString &helpFilePath, const QString &wordsFilePath);

    Status status() const { return m_status; }
    QString path() const { return m_path; }
    bool hasPage(const QString &id) const { return m_pages.contains(id); }
    // The page as a whole HTML document with the file's style sheet; empty when unknown.
    QString pageHtml(const QString &id) const;
    // Page ids in file order.
    QStringList pageIds() const { return m_order; }
    // Why there is nothing to show, written for the reader of the help window.
    QString problemHtml() const;

private:
    Status m_status = Status::Missing;
    QString m_path;
    QString m_style;
    QMap<QString, QString> m_pages;
    QStringList m_order;
};
