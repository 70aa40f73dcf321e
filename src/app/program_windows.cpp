#include "app/program_windows.h"

#include "core/app_state.h"
#include "core/info_sheet.h"
#include "core/password_check.h"
#include "core/setup_wizard.h"
#include "core/top_window_mode.h"
#include "services/event_pump.h"
#include "services/prompter.h"
#include "windows/dedication_window.h"
#include "windows/getting_started_window.h"
#include "windows/help_viewer.h"
#include "windows/info_sheet_printer.h"
#include "windows/options_window.h"
#include "windows/password_windows.h"
#include "windows/personal_info_window.h"
#include "windows/sitter_list_window.h"
#include "windows/topic_menu.h"
#include "windows/wizard_window.h"
#include "windows/words_window.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QScreen>

ProgramWindows::ProgramWindows(AppState &state)
    : m_state(state), m_password(std::make_unique<PasswordCheck>(state.PasswordFilePath)),
      m_wizard(std::make_unique<SetupWizard>(state, *this))
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

void ProgramWindows::openOptions()
{
    OptionsWindow options(m_state, *m_password, *this, m_owner);
    QObject::connect(&options, &OptionsWindow::grammarReloadRequested, &options, [this] {
        if (m_loadGrammar)
            m_loadGrammar();
    });
    QObject::connect(&options, &OptionsWindow::wordsRequested, &options, [this, &options] {
        WordsWindow words(m_state, &options);
        QObject::connect(&words, &WordsWindow::saved, &words, [this] {
            if (m_loadGrammar)
                m_loadGrammar();
        });
        words.exec();
        if (m_state.services.events)
            m_state.services.events->handlePendingEvents();
    });
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
    // With no password stored the check could never pass and the parents would be locked out of
    // every protected action, the options included: the action goes ahead instead.
    if (!m_password->isStored()) {
        offerPassword();
        return true;
    }
    m_password->clearTyped();
    const bool topmost = m_state.TopWindowOn && m_keepOnTop;
    {
        LoginWindow login(m_state, *m_password, m_owner);
        if (topmost) {
            m_keepOnTop(false);
            login.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            const QScreen *screen = m_owner ? m_owner->screen() : QApplication::primaryScreen();
            if (screen)
                login.move(TopWindowMode::centre(screen->geometry().size(), login.size()));
        }
        login.exec();
    }
    if (topmost)
        m_keepOnTop(true);
    return m_password->CheckPassword();
}

void ProgramWindows::offerPassword()
{
    Prompter *prompter = m_state.services.prompter;
    if (!prompter
        || !prompter->question("\"Use Password?\" is on, but no password has been set, so nothing is locked.\r\n"
                               "Do you want to set a password now?",
                               "No Password"))
        return;
    WritePasswordWindow window(m_state, *m_password, m_owner);
    window.exec();
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
