#include "app/program_windows.h"

#include "core/app_state.h"
#include "windows/sitter_list_window.h"

#include <QApplication>

ProgramWindows::ProgramWindows(AppState &state) : m_state(state) {}

// Windows still to come answer as if their press had ended after its sound and password check.
void ProgramWindows::openWizard() {}

void ProgramWindows::openSitterList()
{
    SitterListWindow window(m_state, *this, m_owner);
    window.exec();
}

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

void ProgramWindows::showHelp(int) {}

void ProgramWindows::showTodayInfoInWizard() {}

void ProgramWindows::closeAll()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != m_owner && w->isVisible())
            w->close();
}
