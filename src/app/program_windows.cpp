#include "app/program_windows.h"

#include "core/app_state.h"
#include "core/info_sheet.h"
#include "core/setup_wizard.h"
#include "windows/dedication_window.h"
#include "windows/getting_started_window.h"
#include "windows/help_viewer.h"
#include "windows/info_sheet_printer.h"
#include "windows/personal_info_window.h"
#include "windows/sitter_list_window.h"
#include "windows/topic_menu.h"
#include "windows/wizard_window.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
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

void ProgramWindows::openTopicMenu()
{
    if (m_topicMenu) {
        m_topicMenu->raise();
        return;
    }
    auto *menu = new TopicMenu(m_state, m_owner);
    m_topicMenu = menu;
    QObject::connect(menu, &TopicMenu::optionsRequested, menu, [this] { openOptions(); });
    QObject::connect(menu, &TopicMenu::personalInfoRequested, menu, [this] { openPersonalInfo(); });
    QObject::connect(menu, &TopicMenu::aboutRequested, menu, [this] {
        if (m_openAbout)
            m_openAbout();
    });
    QObject::connect(menu, &TopicMenu::helpRequested, menu, [this] { showHelp(9999); });
    QObject::connect(menu, &TopicMenu::dedicationRequested, menu, [this] { openDedication(); });
    QObject::connect(menu, &TopicMenu::printRequested, menu, [this] { printTodayInfo(); });
    menu->move(docked(menu->size()));
    menu->show();
    menu->raise();
    menu->activateWindow();
}

void ProgramWindows::closeTopicMenu()
{
    if (m_topicMenu && m_topicMenu->isVisible())
        m_topicMenu->close();
}

QPoint ProgramWindows::docked(const QSize &size) const
{
    if (!m_owner)
        return {};
    const QWidget *lefts = m_owner->findChild<QWidget *>("Lefts");
    const QWidget *bottom = m_owner->findChild<QWidget *>("Bottom(1)");
    return TopicMenu::dockedPosition(m_owner->frameGeometry(), lefts ? lefts->width() : 0,
                                     bottom ? bottom->height() : 0, size);
}

// Until the Options window is built, a plain stand-in docked where it will sit.
void ProgramWindows::openOptions()
{
    QDialog options(m_owner, Qt::Dialog | Qt::FramelessWindowHint);
    options.setObjectName("Options");
    options.setAccessibleName("Options");
    options.setFixedSize(420, 300);
    auto *layout = new QVBoxLayout(&options);
    auto *text = new QLabel("The options are not available in this version yet. Press Escape to go back.", &options);
    text->setObjectName("Label2");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    options.move(docked(options.size()));
    options.exec();
}

void ProgramWindows::openGettingStarted()
{
    {
        GettingStartedWindow started(m_state, m_owner);
        started.exec();
    }
    if (m_owner) {
        m_owner->raise();
        m_owner->activateWindow();
    }
}

void ProgramWindows::openPersonalInfo()
{
    PersonalInfoWindow yourInfo(m_state, false, m_owner);
    yourInfo.exec();
}

void ProgramWindows::openDedication()
{
    DedicationWindow dedication(m_state, m_owner);
    dedication.exec();
}

bool ProgramWindows::askPassword()
{
    return true;
}

HelpViewer *ProgramWindows::helpViewer() const
{
    return qobject_cast<HelpViewer *>(m_help.data());
}

void ProgramWindows::showHelp(int topic)
{
    // The help belongs to the window that asked: the open modal window if there is one, so that
    // the help stays usable above it.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = m_owner;
    HelpViewer *viewer = helpViewer();
    if (viewer && viewer->parentWidget() != owner) {
        viewer->close();
        viewer = nullptr;
    }
    if (!viewer) {
        const QString words
            = QFileInfo::exists(m_state.WordsFilePath) ? m_state.WordsFilePath : m_state.resourcePath("words.txt");
        viewer = new HelpViewer(m_state.HelpFilePath, words, owner);
        m_help = viewer;
        if (owner)
            viewer->move(owner->frameGeometry().center() - viewer->rect().center());
    }
    viewer->showTopic(topic);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
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

void ProgramWindows::printTodayInfo()
{
    const InfoSheet sheet = InfoSheet::from(m_state.TodayInfo, m_state.SettingsFlags, QDate::currentDate());
    InfoSheetPrinter::preview(sheet, m_owner);
}
