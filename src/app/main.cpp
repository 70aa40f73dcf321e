#include "app/accessibility.h"
#include "app/command_line.h"
#include "app/program.h"
#include "controls/look.h"
#include "core/app_state.h"
#include "records/file_access.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine options = CommandLine::parse(arguments, HUSHBY_VERSION);
    if (options.exitNow) {
        std::fputs(qPrintable(options.output), options.exitCode == 0 ? stdout : stderr);
        return options.exitCode;
    }

    QApplication app(argc, argv);
    app.setApplicationName("The Hushby");
    app.setApplicationVersion(HUSHBY_VERSION);
    Look::installFontSubstitutes();
    installAccessibleWindowRoles();

    QString dataDir = !options.dataDir.isEmpty() ? options.dataDir
                                                 : AppState::defaultDataDir(QCoreApplication::applicationDirPath());
    dataDir = QFileInfo(dataDir).absoluteFilePath();
    if (!FileAccess::makeFolder(dataDir)) {
        std::fprintf(stderr, "hushby: cannot use the data folder %s\n", qPrintable(QDir::toNativeSeparators(dataDir)));
        return 1;
    }
    // A save cut short by a kill leaves its temporary file; nothing else will ever remove it.
    FileAccess::removeStaleSaves(dataDir, {QStringLiteral("Hushby.dta"), QStringLiteral("words.txt")});
    // The password folder is private to the user.
    const QString passwordDir = AppState::userDataDir();
    if (QDir().mkpath(passwordDir))
        QFile::setPermissions(passwordDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    Program program(dataDir, passwordDir);
    program.start();
    return app.exec();
}
