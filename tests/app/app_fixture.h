#pragma once
// Throw-away settings and data folder, recording services and a fake window opener for tests
// that run the real start-up sequence and main window.
#include "app/startup.h"
#include "core/app_logic.h"
#include "core/app_state.h"
#include "fakes/fake_services.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <memory>

struct AppFixture : FakeServices {
    std::unique_ptr<AppState> state;
    std::unique_ptr<AppLogic> logic;

    AppFixture()
    {
        QDir().mkpath(dir.filePath("data"));
        state = std::make_unique<AppState>(services(), dir.filePath("data"), iniPath(), dir.filePath("pw"));
        logic = std::make_unique<AppLogic>(*state);
    }
    std::unique_ptr<Startup> startup() { return std::make_unique<Startup>(*state, *logic, windows); }
    QString iniPath() const { return dir.filePath("config/The Hushby.ini"); }
    void storeSetting(const QString &key, const QString &value)
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.setValue("Settings/" + key, value);
    }
    QString storedSetting(const QString &key)
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        return ini.value("Settings/" + key).toString();
    }
    // Strips the folder from logged sound paths.
    QStringList entries() const
    {
        QStringList out;
        for (QString e : log.entries) {
            if (e.startsWith("play:"))
                e = "play:" + QFileInfo(e.mid(5)).fileName();
            out << e;
        }
        return out;
    }
};
