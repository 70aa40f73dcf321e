#pragma once
#include "core/settings.h"
#include "records/info_record.h"
#include "records/settings_store.h"

#include <QString>
#include <memory>

class SpeechOutput;
class SoundPlayer;
class EventPump;
class Prompter;
class PointerMover;
class Clock;
class Dialer;
class KeySender;
class Recognizer;
class SoundServices;
class InfoLine;

// The outside services; null means the service is missing and its steps are skipped.
struct Services {
    SpeechOutput *speech = nullptr;
    SoundPlayer *sound = nullptr;
    EventPump *events = nullptr;
    Prompter *prompter = nullptr;
    PointerMover *pointer = nullptr;
    Clock *clock = nullptr;
    Dialer *dialer = nullptr;
    KeySender *keys = nullptr;
    Recognizer *recognizer = nullptr;
};

// The program-wide state shared by the windows. One instance, owned by main() (or a test).
class AppState
{
public:
    AppState(const Services &services, const QString &dataDir, const QString &settingsPath, const QString &passwordDir);
    ~AppState();

    // Where the data files live; see defaultDataDir().
    static QString defaultDataDir(const QString &programDir);
    // The per-user data location, also the folder of the password file.
    static QString userDataDir();

    // Sets AppDir and the file paths from the data directory.
    void setPathsFromDataDir();
    // A shipped resource: the data directory first, then beside the program, then the share folder.
    QString resourcePath(const QString &name) const;

    // The user's own copy of the shipped word list, made on first use so it can be edited.
    // False when there is no copy and none could be made whole.
    bool ensureWordsFile();

    void LoadSettings();
    void PlayWave(const QString &fileName); // a file name relative to AppDir
    // Tells the person that a save they asked for failed.
    void tellSaveFailed();
    void SpeakText(const QString &text);

    Services services;
    SettingsStore store;
    ::SettingsFlags SettingsFlags;
    Settings settings{store, SettingsFlags};
    InfoRecord TodayInfo;
    std::unique_ptr<SoundServices> sound;
    std::unique_ptr<InfoLine> infoLine; // the main window's LblInfo text

    QString dataDir;
    QString passwordDir;
    QString AppDir;
    QString InfoFilePath;
    QString SitterFilePath;
    QString HelpFilePath;
    QString WordsFilePath;
    QString PasswordFilePath;
    int InfoRecordNo = 1;
    bool WizardOpen = false;
    int WizardPage = 0;
    bool FirstRun = false;
    bool AboutMode = false;
    bool SplashPending = false;
    bool TopWindowOn = false;
    bool ListClosing = false;
    bool FindNextRequested = false;
    // Start-stop timing: the last timed absence, read by the sitter list.
    bool TimingRunning = false;
    qint16 TimedHours = 0;
    qint16 TimedMinutes = 0;
};
