#include "app/accessibility.h"
#include "app/app_state.h"
#include "app/fonts.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app/system_services.h"
#include "services/dialer.h"
#include "voice/dialer_factory.h"
#include "voice/flite_speech.h"
#include "voice/qt_event_pump.h"
#include "voice/qt_sound_player.h"
#include "voice/sphinx_recognizer.h"
#include "voice/xtest_key_sender.h"
#include "windows/personal_info_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace {

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        "The Hushby: today's information for your sitter, emergency numbers read out and dialed,\n"
        "voice commands, a sitter list and reminders.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({"data-dir",
                      "Keep today's information, the sitter list and the word list in <dir> "
                      "(default: beside the program when that folder is writable, else the "
                      "per-user data folder).",
                      "dir"});
}

bool wantsOnlyText(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h" || a == "-?" || a == "--help-all" || a == "--version" || a == "-v")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // --help and --version answer without a display.
    if (wantsOnlyText(argc, argv)) {
        QCoreApplication app(argc, argv);
        app.setApplicationName("hushby");
        app.setApplicationVersion(HUSHBY_VERSION);
        QCommandLineParser parser;
        describeOptions(parser);
        parser.process(app);
        return 0;
    }

    QApplication app(argc, argv);
    app.setApplicationName("The Hushby");
    app.setApplicationVersion(HUSHBY_VERSION);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);
    installFontSubstitutes();
    installAccessibleWindowRoles();

    QString dataDir = parser.isSet("data-dir") ? parser.value("data-dir")
                                               : AppState::defaultDataDir(QCoreApplication::applicationDirPath());
    dataDir = QFileInfo(dataDir).absoluteFilePath();
    if (!QDir().mkpath(dataDir) || !QFileInfo(dataDir).isDir()) {
        std::fprintf(stderr, "hushby: cannot use the data folder %s\n", qPrintable(QDir::toNativeSeparators(dataDir)));
        return 1;
    }
    // The password folder is private to the user.
    const QString passwordDir = AppState::userDataDir();
    if (QDir().mkpath(passwordDir))
        QFile::setPermissions(passwordDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    auto speech = std::make_unique<FliteSpeech>();
    auto sound = std::make_unique<QtSoundPlayer>();
    QtEventPump events;
    QtPrompter prompter;
    QtPointerMover pointer;
    SystemClock clock;
    const std::unique_ptr<Dialer> dialer = DialerFactory::create(SettingsStore(SettingsStore::defaultPath()));
    XTestKeySender keys;
    SphinxRecognizer recognizer;
    Services services;
    services.speech = speech.get();
    services.sound = sound.get();
    services.events = &events;
    services.prompter = &prompter;
    services.pointer = &pointer;
    services.clock = &clock;
    services.dialer = dialer.get();
    services.keys = &keys;
    services.recognizer = &recognizer;

    AppState state(services, dataDir, SettingsStore::defaultPath(), passwordDir);
    Startup startup(state);
    startup.onMainWindowCreated = [&prompter](MainWindow &main) { prompter.setOwner(&main); };
    startup.run();
    return app.exec();
}
