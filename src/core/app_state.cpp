#include "core/app_state.h"

#include "core/info_line.h"
#include "core/sound_services.h"
#include "records/file_access.h"
#include "services/prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

AppState::AppState(const Services &s, const QString &dir, const QString &settingsPath, const QString &pwDir)
    : services(s), store(settingsPath), sound(std::make_unique<SoundServices>(s.speech, s.sound, s.events, s.clock)),
      infoLine(std::make_unique<InfoLine>()), dataDir(QDir::cleanPath(dir)), passwordDir(pwDir)
{
    setPathsFromDataDir();
    PasswordFilePath = QDir(passwordDir).filePath("lghfil.brw");
}

AppState::~AppState() = default;

QString AppState::userDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/the-hushby";
}

QString AppState::defaultDataDir(const QString &programDir)
{
    // Beside the program, where the files have always been, unless that folder is not ours to
    // write or the program is installed with a share folder: root may write /usr/bin, but
    // each user's information belongs to that user.
    QFileInfo info(programDir);
    const bool installed = QFileInfo(QDir(programDir).filePath("../share/the-hushby")).isDir();
    if (info.isDir() && info.isWritable() && !installed)
        return programDir;
    return userDataDir();
}

void AppState::setPathsFromDataDir()
{
    const QDir dir(dataDir);
    AppDir = dataDir + '/';
    InfoFilePath = dir.filePath("Hushby.dta");
    SitterFilePath = dir.filePath("Hushby.brw");
    HelpFilePath = resourcePath("HUSHBY.HLP");
    WordsFilePath = dir.filePath("words.txt");
}

QString AppState::resourcePath(const QString &name) const
{
    const QStringList places = {
        dataDir,
        QCoreApplication::applicationDirPath(),
        QCoreApplication::applicationDirPath() + "/../share/the-hushby",
    };
    for (const QString &place : places) {
        const QString path = QDir(place).filePath(name);
        if (QFileInfo::exists(path))
            return QDir::cleanPath(path);
    }
    return QDir(dataDir).filePath(name);
}

bool AppState::ensureWordsFile()
{
    if (QFileInfo::exists(WordsFilePath) || QFileInfo(WordsFilePath).isSymLink())
        return true;
    const QString shipped = resourcePath("words.txt");
    return shipped != WordsFilePath && FileAccess::copyWhole(shipped, WordsFilePath);
}

void AppState::LoadSettings()
{
    settings.load();
}

void AppState::tellSaveFailed()
{
    if (services.prompter)
        services.prompter->message(QStringLiteral("Error saving file."), QStringLiteral("Save Error!"),
                                   Prompter::Icon::Critical);
}

void AppState::PlayWave(const QString &fileName)
{
    sound->PlayWave(resourcePath(fileName));
}

void AppState::SpeakText(const QString &text)
{
    sound->SpeakText(text);
}
