#pragma once
#include "core/help_file.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPrinter;
class QTextBrowser;
class QToolButton;
class QUrl;

// The help window: shows one page of the help file at a time, with contents, back and forward,
// search and print. It is a child window of whichever window asked, so it stays usable over
// that window even when it is modal.
class HelpViewer : public QWidget
{
    Q_OBJECT
public:
    // Asks where and whether to print; the default is the platform's print dialog.
    using PrintDialog = std::function<bool(QPrinter &, QWidget *)>;
    // Opens a link that leads out of the help (web or mail).
    using LinkOpener = std::function<void(const QUrl &)>;

    HelpViewer(const QString &helpFilePath, const QString &wordsFilePath, QWidget *owner);

    void showTopic(int topic);
    void showPage(const QString &id);
    void showContents();
    void back();
    void forward();
    // Finds the next match, on this page first, then on the pages after it.
    bool find(const QString &text);
    void print();

    QString currentPage() const { return m_current; }
    const HelpFile &helpFile() const { return m_file; }
    QTextBrowser *browser() const { return m_browser; }
    void setPrintDialog(PrintDialog dialog) { m_printDialog = std::move(dialog); }
    void setLinkOpener(LinkOpener opener) { m_openLink = std::move(opener); }

private:
    void go(const QString &id, bool record);
    void linkClicked(const QUrl &url);
    void updateButtons();
    QString plainText(const QString &id) const;

    HelpFile m_file;
    QString m_current;
    QStringList m_back;
    QStringList m_forward;
    QTextBrowser *m_browser = nullptr;
    QToolButton *m_contents = nullptr;
    QToolButton *m_backButton = nullptr;
    QToolButton *m_forwardButton = nullptr;
    QToolButton *m_print = nullptr;
    QLineEdit *m_findText = nullptr;
    QToolButton *m_findNext = nullptr;
    QLabel *m_findStatus = nullptr;
    PrintDialog m_printDialog;
    LinkOpener m_openLink;
};
