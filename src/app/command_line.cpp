#include "app/command_line.h"

#include <QCommandLineParser>

namespace {
// The toolkit's own options and whether each takes a value; they are left for it to read.
const QList<QPair<QString, bool>> &toolkitOptions()
{
    static const QList<QPair<QString, bool>> options = {
        {"-platform", true},      {"-platformpluginpath", true},
        {"-platformtheme", true}, {"-plugin", true},
        {"-display", true},       {"-style", true},
        {"-stylesheet", true},    {"-session", true},
        {"-geometry", true},      {"-qwindowgeometry", true},
        {"-qwindowtitle", true},  {"-qwindowicon", true},
        {"-reverse", false},      {"-widgetcount", false},
        {"-nograb", false},       {"-dograb", false},
        {"-sync", false},
    };
    return options;
}

QStringList withoutToolkitOptions(const QStringList &arguments)
{
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        bool toolkit = false;
        for (const auto &option : toolkitOptions())
            if (arguments[i] == option.first || arguments[i] == "-" + option.first) {
                toolkit = true;
                i += option.second ? 1 : 0;
                break;
            }
        if (!toolkit)
            kept << arguments[i];
    }
    return kept;
}
} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, const QString &version)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "The Hushby: today's information for your sitter, emergency numbers read out and dialed,\n"
        "voice commands, a sitter list and reminders.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption showVersion = parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     "Keep today's information, the sitter list and the word list in <dir> "
                                     "(default: beside the program when that folder is writable, else the "
                                     "per-user data folder).",
                                     "dir");
    parser.addOption(dataDir);
    const QCommandLineOption printPdf(QStringLiteral("print-pdf"),
                                      "Write today's information as a printable sheet to the PDF <file> and "
                                      "exit (no display needed).",
                                      "file");
    parser.addOption(printPdf);

    CommandLine result;
    if (!parser.parse(withoutToolkitOptions(arguments)) || !parser.positionalArguments().isEmpty()) {
        result.exitNow = true;
        result.exitCode = 2;
        const QString error = parser.errorText().isEmpty()
            ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().value(0))
            : parser.errorText();
        result.output = "hushby: " + error + "\n\n" + parser.helpText();
        result.output.replace(QLatin1String("<executable_name>"), QLatin1String("hushby"));
        return result;
    }
    if (parser.isSet(help) || parser.isSet("help-all")) {
        result.exitNow = true;
        result.output = parser.helpText();
    } else if (parser.isSet(showVersion)) {
        result.exitNow = true;
        result.output = "hushby " + version + "\n";
    }
    result.dataDir = parser.value(dataDir);
    result.printPdf = parser.value(printPdf);
    // Read before the application object exists, the parser cannot know the program's name.
    result.output.replace(QLatin1String("<executable_name>"), QLatin1String("hushby"));
    return result;
}
