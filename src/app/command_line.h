#pragma once
#include <QString>
#include <QStringList>

// The program's options, read before any window exists so that a mistyped option is answered
// with the usage, with or without a display.
struct CommandLine {
    // Set when the program is to end at once with this code after printing `output` (to standard
    // output for 0, standard error otherwise).
    bool exitNow = false;
    int exitCode = 0;
    QString output;
    QString dataDir;
    // Write today's information as a PDF sheet to this file and end, without a window.
    QString printPdf;

    // arguments as given, the program's name first.
    static CommandLine parse(const QStringList &arguments, const QString &version);
};
