#include "app/program_windows.h"

#include "core/app_state.h"
#include "core/setup_wizard.h"
#include "windows/sitter_list_window.h"
#include "windows/wizard_window.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

ProgramWindows::ProgramWindows(AppState &state) : m_state(state), m_wizard(std::make_unique<SetupWizard>(state, *this))
{
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::openWizard()
{
    WizardWindow wizard(m_state, *m_wizard, m_owner);
    m_wizardWindow = &wizard;
    wizard.exec();
}

WizardWindow *ProgramWindows::wizard() const
{
    return m_wizardWindow;
}

void ProgramWindows::openSitterList()
{
    SitterListWindow window(m_state, *this, m_owner);
    window.exec();
}

// Windows still to come answer as if their press had ended after its sound and password check.
void ProgramWindows::openTopicMenu() {}

void ProgramWindows::closeTopicMenu()
{
    if (m_topicMenu && m_topicMenu->isVisible())
        m_topicMenu->close();
}

void ProgramWindows::openOptions() {}

void ProgramWindows::openGettingStarted() {}

bool ProgramWindows::askPassword()
{
    return true;
}

void ProgramWindows::showHelp(int topic)
{
    // Until the help viewer exists, the topic's title stands in for it, in a small window that
    // belongs to the window that asked (so a modal one does not block it).
    QString title;
    switch (topic) {
    case 1: title = "Setup Wizard"; break;
    case 2: title = "Sitter List"; break;
    case 3: title = "Options"; break;
    default: title = "Contents"; break;
    }
    QWidget *asker = QApplication::activeModalWidget();
    if (!asker)
        asker = QApplication::activeWindow();
    if (!asker)
        asker = m_owner;
    if (m_help && asker == m_help)
        asker = m_help->parentWidget();
    if (m_help && m_help->parentWidget() != asker) {
        m_help->close();
        m_help = nullptr;
    }
    if (!m_help) {
        auto *help = new QDialog(asker, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        help->setObjectName("HelpTopic");
        help->setWindowTitle("The Hushby Help");
        help->setAttribute(Qt::WA_DeleteOnClose);
        help->setMinimumSize(260, 90);
        m_helpTitle = new QLabel(help);
        m_helpTitle->setObjectName("HelpTopicTitle");
        m_helpTitle->setTextFormat(Qt::PlainText);
        m_helpTitle->setAlignment(Qt::AlignCenter);
        QFont f = m_helpTitle->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.4);
        m_helpTitle->setFont(f);
        auto *layout = new QVBoxLayout(help);
        layout->addWidget(m_helpTitle);
        m_help = help;
    }
    m_helpTitle->setText(title);
    m_help->show();
    m_help->activateWindow();
}

void ProgramWindows::showTodayInfoInWizard()
{
    if (m_wizardWindow)
        m_wizardWindow->ShowTodayInfo();
}

void ProgramWindows::closeAll()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != m_owner && w->isVisible())
            w->close();
}
