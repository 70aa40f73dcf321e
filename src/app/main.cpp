#include "app/accessibility.h"
#include "app/command_line.h"
#include "app/display_platform.h"
#include "app/program.h"
#include "controls/look.h"
#include "core/app_state.h"
#include "core/info_sheet.h"
#include "records/file_access.h"
#include "records/info_file.h"
#include "windows/info_sheet_printer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <cstdio>
#include <vector>

namespace {
// Today's information as a PDF, for scripts: no window, no display, nothing written but the PDF.
int printSheet(const CommandLine &options, int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    app.setApplicationName("The Hushby");
    const QString dataDir = !options.dataDir.isEmpty()
        ? options.dataDir
        : AppState::defaultDataDir(QCoreApplication::applicationDirPath());
    InfoRecord record;
    const QString infoPath = QDir(dataDir).filePath("Hushby.dta");
    QString error;
    // Reading would create a missing file; a sheet of blanks needs no file.
    if (QFileInfo::exists(infoPath) && InfoFile::read(infoPath, 1, record, &error) == InfoFile::ReadResult::Error) {
        std::fprintf(stderr, "hushby: cannot read %s: %s\n", qPrintable(infoPath), qPrintable(error));
        return 1;
    }
    SettingsFlags family;
    SettingsStore().LoadSettings(family);
    const InfoSheet sheet = InfoSheet::from(record, family, QDate::currentDate());
    if (!InfoSheetPrinter::writePdf(sheet, options.printPdf, &error)) {
        std::fprintf(stderr, "hushby: cannot write %s: %s\n", qPrintable(options.printPdf), qPrintable(error));
        return 1;
    }
    return 0;
}
} // namespace

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

    if (!options.printPdf.isEmpty())
        return printSheet(options, argc, argv);

    // Chosen by argument, not by environment, so that a dialer the program starts keeps the
    // desktop's own platform.
    QByteArray platformName = displayPlatformFor(QProcessEnvironment::systemEnvironment());
    std::vector<char *> appArgv(argv, argv + argc);
    static char platformOption[] = "-platform";
    if (!platformName.isEmpty()) {
        appArgv.push_back(platformOption);
        appArgv.push_back(platformName.data());
    }
    int appArgc = int(appArgv.size());
    appArgv.push_back(nullptr);
    QApplication app(appArgc, appArgv.data());
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
