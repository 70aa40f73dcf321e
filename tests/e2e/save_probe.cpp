// Saves through the program's own writers into a folder, for full_disk.sh. Usage:
//   save_probe info|settings|words FOLDER
// Exit 0 when the save reports success, 1 when it reports failure.
#include "records/file_access.h"
#include "records/info_file.h"
#include "records/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: save_probe info|settings|words FOLDER\n", stderr);
        return 2;
    }
    const QDir dir(args.at(2));
    const QString what = args.at(1);
    bool ok = false;
    QString error;
    if (what == QLatin1String("info")) {
        InfoRecord rec;
        rec.RecordNo = 1;
        rec.setField(InfoRecord::WeAreAt, QStringLiteral("new place"));
        ok = InfoFile::write(dir.filePath(QStringLiteral("Hushby.dta")), 1, rec, &error);
    } else if (what == QLatin1String("settings")) {
        ok = SettingsStore(dir.filePath(QStringLiteral("The Hushby.ini")))
                 .SaveSetting(QStringLiteral("Name"), QString(4000, QLatin1Char('n')));
    } else if (what == QLatin1String("words")) {
        ok = FileAccess::copyWhole(dir.filePath(QStringLiteral("shipped.txt")),
                                   dir.filePath(QStringLiteral("words.txt")), &error);
    }
    std::printf("%s: %s %s\n", qPrintable(what), ok ? "saved" : "failed", qPrintable(error));
    return ok ? 0 : 1;
}
