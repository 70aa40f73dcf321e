#include "windows/help_viewer.h"

#include "controls/button_xp.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *toolButton(QWidget *parent, const char *name, const QString &text, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setAccessibleName(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

HelpViewer::HelpViewer(const QString &helpFilePath, const QString &wordsFilePath, QWidget *owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName("HelpViewer");
    setWindowTitle("The Hushby Help");
    setAccessibleName("The Hushby Help");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(620, 520);

    m_contents = toolButton(this, "cmdContents", "Contents", "Show the list of help topics");
    m_backButton = toolButton(this, "cmdBack", "Back", "Go back to the page you read before");
    m_forwardButton = toolButton(this, "cmdForward", "Forward", "Go forward again");
    m_print = toolButton(this, "cmdPrint", "Print...", "Print this page");
    m_findText = new QLineEdit(this);
    m_findText->setObjectName("FindText");
    m_findText->setAccessibleName("Find text");
    m_findText->setPlaceholderText("Find in help");
    m_findText->setClearButtonEnabled(true);
    m_findNext = toolButton(this, "cmdFind", "Find", "Find the next place with this text");
    m_findStatus = new QLabel(this);
    m_findStatus->setObjectName("FindStatus");
    m_findStatus->setMinimumWidth(70);
    // Also reachable where the window has no frame of its own (no window manager).
    auto *closeButton = toolButton(this, "cmdClose", "Close", "Close the help");

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName("HelpText");
    m_browser->setAccessibleName("Help text");
    m_browser->setOpenLinks(false);

    auto *bar = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(m_contents), static_cast<QWidget *>(m_backButton),
                       static_cast<QWidget *>(m_forwardButton), static_cast<QWidget *>(m_print)})
        bar->addWidget(w);
    bar->addStretch();
    bar->addWidget(m_findText, 1);
    bar->addWidget(m_findNext);
    bar->addWidget(m_findStatus);
    bar->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);

    connect(m_contents, &QToolButton::clicked, this, &HelpViewer::showContents);
    connect(m_backButton, &QToolButton::clicked, this, &HelpViewer::back);
    connect(m_forwardButton, &QToolButton::clicked, this, &HelpViewer::forward);
    connect(m_print, &QToolButton::clicked, this, &HelpViewer::print);
    connect(closeButton, &QToolButton::clicked, this, &QWidget::close);
    connect(m_findNext, &QToolButton::clicked, this, [this] { find(m_findText->text()); });
    connect(m_findText, &QLineEdit::returnPressed, this, [this] { find(m_findText->text()); });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::linkClicked);

    m_printDialog = [](QPrinter &printer, QWidget *parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    m_openLink = [](const QUrl &url) { QDesktopServices::openUrl(url); };

    m_file.load(helpFilePath, wordsFilePath);
    if (m_file.status() != HelpFile::Status::Ok)
        m_browser->setHtml(m_file.problemHtml());
    updateButtons();
}

void HelpViewer::showTopic(int topic)
{
    const QString id = QString::number(topic);
    if (m_file.status() != HelpFile::Status::Ok)
        return;
    if (m_file.hasPage(id)) {
        go(id, true);
        return;
    }
    // A topic the file lacks: the contents, with a word about what was asked for.
    go(HelpFile::ContentsPage, true);
    m_findStatus->setText(QStringLiteral("No topic %1").arg(topic));
}

void HelpViewer::showPage(const QString &id)
{
    if (m_file.hasPage(id))
        go(id, true);
}

void HelpViewer::showContents()
{
    showPage(HelpFile::ContentsPage);
}

void HelpViewer::back()
{
    if (m_back.isEmpty())
        return;
    m_forward.prepend(m_current);
    go(m_back.takeLast(), false);
}

void HelpViewer::forward()
{
    if (m_forward.isEmpty())
        return;
    m_back << m_current;
    go(m_forward.takeFirst(), false);
}

void HelpViewer::go(const QString &id, bool record)
{
    if (record && !m_current.isEmpty() && id != m_current) {
        m_back << m_current;
        m_forward.clear();
    }
    m_current = id;
    m_browser->setHtml(m_file.pageHtml(id));
    m_findStatus->clear();
    updateButtons();
}

void HelpViewer::linkClicked(const QUrl &url)
{
    if (url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment()) {
        showPage(url.fragment());
        return;
    }
    if (ButtonXp::isSafeLink(url) && m_openLink)
        m_openLink(url);
}

void HelpViewer::updateButtons()
{
    const bool ok = m_file.status() == HelpFile::Status::Ok;
    m_contents->setEnabled(ok);
    m_backButton->setEnabled(!m_back.isEmpty());
    m_forwardButton->setEnabled(!m_forward.isEmpty());
    m_findText->setEnabled(ok);
    m_findNext->setEnabled(ok);
}

QString HelpViewer::plainText(const QString &id) const
{
    return QTextDocumentFragment::fromHtml(m_file.pageHtml(id)).toPlainText();
}

bool HelpViewer::find(const QString &text)
{
    if (text.isEmpty() || m_file.status() != HelpFile::Status::Ok)
        return false;
    m_findStatus->clear();
    if (m_browser->find(text))
        return true;
    // Then the following pages, coming round to the start of this one last.
    const QStringList ids = m_file.pageIds();
    const int here = qMax(0, ids.indexOf(m_current));
    for (int step = 1; step <= ids.size(); ++step) {
        const QString id = ids.at((here + step) % ids.size());
        if (!plainText(id).contains(text, Qt::CaseInsensitive))
            continue;
        if (id != m_current)
            go(id, true);
        m_browser->moveCursor(QTextCursor::Start);
        if (m_browser->find(text))
            return true;
    }
    m_findStatus->setText("Not found");
    return false;
}

void HelpViewer::print()
{
    QPrinter printer;
    if (m_printDialog && m_printDialog(printer, this))
        m_browser->print(&printer);
}
