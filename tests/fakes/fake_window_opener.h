#pragma once
#include "fakes/recording_fakes.h"
#include "services/window_opener.h"

#include <functional>

// Logs each window the program asks for ("open:Wizard", "open:frmLogin", ...) under the names
// the windows carry; a hook may stand in for a window's work while it is "open".
class FakeWindowOpener : public WindowOpener
{
public:
    explicit FakeWindowOpener(CallLog &log) : m_log(log) { }
    void openWizard() override { open("Wizard", onWizard); }
    void openSitterList() override { open("WizardSit", onSitterList); }
    void openTopicMenu() override { open("MenuOps", {}); }
    void closeTopicMenu() override { ++topicMenuCloses; }
    void openOptions() override { open("frmOptions", {}); }
    void openGettingStarted() override { open("Started", {}); }
    bool askPassword() override
    {
        m_log.add("open:frmLogin");
        return passwordRight;
    }
    void showHelp(int topic) override { m_log.add(QStringLiteral("help:%1").arg(topic)); }
    void showTodayInfoInWizard() override { m_log.add("wizard:fill"); }
    void closeAll() override { m_log.add("closeAll"); }

    bool passwordRight = true;
    int topicMenuCloses = 0;
    std::function<void()> onWizard;
    std::function<void()> onSitterList;

private:
    void open(const char *name, const std::function<void()> &hook)
    {
        m_log.add(QStringLiteral("open:") + QLatin1String(name));
        if (hook)
            hook();
    }
    CallLog &m_log;
};
