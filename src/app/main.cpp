#include "app/accessibility.h"
#include "app/program.h"
#include "controls/look.h"
#include "core/app_state.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

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
    Look::installFontSubstitutes();
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

    Program program(dataDir, passwordDir);
    program.start();
    return app.exec();
}
