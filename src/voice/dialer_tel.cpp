#include "voice/dialer_tel.h"

#include "core/dialable_number.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

namespace {

const char *const kTelType = "x-scheme-handler/tel";

// group -> key -> value of a desktop-style key file. QSettings cannot be used: it reads "/" in a
// key ("x-scheme-handler/tel") as a group path and ";" as a separator.
using KeyFile = QHash<QString, QHash<QString, QString>>;

KeyFile readKeyFile(const QString &path)
{
    KeyFile groups;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    QTextStream in(&f);
    QString group;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        // The first occurrence of a key counts.
        if (!groups[group].contains(key))
            groups[group].insert(key, line.mid(eq + 1).trimmed());
    }
    return groups;
}

QStringList listValue(const QString &value)
{
    QStringList out;
    for (const QString &s : value.split(';', Qt::SkipEmptyParts))
        if (!s.trimmed().isEmpty())
            out << s.trimmed();
    return out;
}

QStringList pathList(const QString &value, const QStringList &fallback)
{
    QStringList out;
    for (const QString &s : value.split(':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(s))
            out << s;
    return out.isEmpty() ? fallback : out;
}

// The key file's string escapes (\s \n \t \r \\), applied before the Exec quoting rules.
QString unescapeValue(const QString &v)
{
    QString out;
    for (int i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const QChar n = v[++i];
            if (n == 's')
                out += ' ';
            else if (n == 'n')
                out += '\n';
            else if (n == 't')
                out += '\t';
            else if (n == 'r')
                out += '\r';
            else if (n == '\\')
                out += '\\';
            else {
                out += '\\';
                out += n;
            }
        } else {
            out += v[i];
        }
    }
    return out;
}

} // namespace

TelDialer::TelDialer(const QProcessEnvironment &env) : m_env(env)
{
}

QString TelDialer::telUri(const QString &number)
{
    // "#" would start a fragment; "+", "*" and "," are left readable for the dialer.
    return QStringLiteral("tel:") + QString::fromLatin1(QUrl::toPercentEncoding(DialableNumber::filter(number), "+*,"));
}

QString TelDialer::configHome() const
{
    const QString v = m_env.value("XDG_CONFIG_HOME");
    return QDir::isAbsolutePath(v) ? v : m_env.value("HOME") + "/.config";
}

QStringList TelDialer::configDirs() const
{
    return pathList(m_env.value("XDG_CONFIG_DIRS"), {"/etc/xdg"});
}

QString TelDialer::dataHome() const
{
    const QString v = m_env.value("XDG_DATA_HOME");
    return QDir::isAbsolutePath(v) ? v : m_env.value("HOME") + "/.local/share";
}

QStringList TelDialer::dataDirs() const
{
    return pathList(m_env.value("XDG_DATA_DIRS"), {"/usr/local/share", "/usr/share"});
}

QStringList TelDialer::applicationDirs() const
{
    QStringList dirs{dataHome() + "/applications"};
    for (const QString &d : dataDirs())
        dirs << d + "/applications";
    return dirs;
}

// A desktop id "vendor-app.desktop" may also live at vendor/app.desktop.
QString TelDialer::desktopFilePath(const QString &desktopId) const
{
    if (desktopId.contains('/') || !desktopId.endsWith(".desktop"))
        return {};
    for (const QString &dir : applicationDirs()) {
        const QString direct = dir + '/' + desktopId;
        if (QFileInfo(direct).isFile())
            return direct;
        if (!desktopId.contains('-'))
            continue;
        QDirIterator it(dir, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = QDir(dir).relativeFilePath(path);
            id.replace('/', '-');
            if (id == desktopId)
                return path;
        }
    }
    return {};
}

bool TelDialer::usable(const QString &desktopFile) const
{
    if (desktopFile.isEmpty())
        return false;
    const auto entry = readKeyFile(desktopFile).value("Desktop Entry");
    if (entry.value("Hidden") == "true" || entry.value("Exec").isEmpty())
        return false;
    if (entry.contains("Type") && entry.value("Type") != "Application")
        return false;
    const QString tryExec = unescapeValue(entry.value("TryExec"));
    if (!tryExec.isEmpty()) {
        const bool found = QDir::isAbsolutePath(tryExec)
            ? QFileInfo(tryExec).isExecutable()
            : !QStandardPaths::findExecutable(tryExec, pathList(m_env.value("PATH"), {})).isEmpty();
        if (!found)
            return false;
    }
    return true;
}

QString TelDialer::findHandler() const
{
    QStringList desktops;
    for (const QString &d : m_env.value("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts))
        desktops << d.toLower();

    QStringList listFiles;
    auto addListsIn = [&](const QString &dir) {
        for (const QString &d : desktops)
            listFiles << dir + '/' + d + "-mimeapps.list";
        listFiles << dir + "/mimeapps.list";
    };
    addListsIn(configHome());
    for (const QString &d : configDirs())
        addListsIn(d);
    for (const QString &d : applicationDirs())
        addListsIn(d);

    QVector<KeyFile> lists;
    for (const QString &path : listFiles)
        lists << readKeyFile(path);

    // An explicit default wins, the first installed one in order of precedence.
    for (const KeyFile &list : lists)
        for (const QString &id : listValue(list.value("Default Applications").value(kTelType))) {
            const QString path = desktopFilePath(id);
            if (usable(path))
                return path;
        }

    // Otherwise an added association, unless a list of higher or equal precedence removed it.
    QSet<QString> removed;
    for (const KeyFile &list : lists) {
        for (const QString &id : listValue(list.value("Removed Associations").value(kTelType)))
            removed.insert(id);
        for (const QString &id : listValue(list.value("Added Associations").value(kTelType))) {
            if (removed.contains(id))
                continue;
            const QString path = desktopFilePath(id);
            if (usable(path))
                return path;
        }
    }

    // Finally any application that declares the scheme itself.
    QSet<QString> seen;
    for (const QString &dir : applicationDirs()) {
        QDirIterator it(dir, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
        QStringList found;
        while (it.hasNext())
            found << it.next();
        found.sort(); // the file system's order is arbitrary
        for (const QString &path : found) {
            QString id = QDir(dir).relativeFilePath(path);
            id.replace('/', '-');
            if (seen.contains(id)) // shadowed by a directory of higher precedence
                continue;
            seen.insert(id);
            if (removed.contains(id))
                continue;
            const auto entry = readKeyFile(path).value("Desktop Entry");
            if (listValue(entry.value("MimeType")).contains(kTelType) && usable(path))
                return path;
        }
    }
    return {};
}

QStringList TelDialer::expandExec(const QString &exec, const QString &uri)
{
    const QString line = unescapeValue(exec);
    QStringList args;
    bool takesUri = false;
    QString cur;
    bool inArg = false, quoted = false;

    auto finish = [&]() {
        if (!inArg)
            return;
        if (quoted) {
            args << cur; // field codes are not expanded inside quotes
        } else {
            QString out;
            bool hadCode = false;
            for (int i = 0; i < cur.size(); ++i) {
                if (cur[i] != '%' || i + 1 >= cur.size()) {
                    out += cur[i];
                    continue;
                }
                const QChar code = cur[++i];
                if (code == '%') {
                    out += '%';
                } else if (code == 'u' || code == 'U') {
                    out += uri;
                    takesUri = true;
                } else {
                    hadCode = true; // %f %F %i %c %k and the deprecated ones: nothing to give
                }
            }
            if (!(hadCode && out.isEmpty()))
                args << out;
        }
        cur.clear();
        inArg = quoted = false;
    };

    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size()) {
                cur += line[++i];
            } else if (c == '"') {
                // The closing quote ends the quoted part; the argument ends at the next blank.
                quoted = false;
                args << cur;
                cur.clear();
                inArg = false;
                if (i + 1 < line.size() && !line[i + 1].isSpace())
                    return {};
            } else {
                cur += c;
            }
        } else if (c == ' ' || c == '\t') {
            finish();
        } else if (c == '"' && !inArg) {
            inArg = quoted = true;
        } else {
            cur += c;
            inArg = true;
        }
    }
    if (quoted)
        return {}; // an unclosed quote: the line cannot be trusted
    finish();
    if (args.isEmpty())
        return {};
    // A handler registered for the scheme must get the number even when its line forgot %u.
    if (!takesUri)
        args << uri;
    return args;
}

int TelDialer::requestMakeCall(const QString &number, const QString &, const QString &, const QString &)
{
    if (!DialableNumber::hasDigit(number))
        return -4;
    const QString handler = findHandler();
    if (handler.isEmpty())
        return -2;
    const auto entry = readKeyFile(handler).value("Desktop Entry");
    const QStringList args = expandExec(entry.value("Exec"), telUri(number));
    if (args.isEmpty())
        return -2;
    QProcess proc;
    proc.setProgram(args.first());
    proc.setArguments(args.mid(1));
    proc.setProcessEnvironment(m_env);
    const QString workDir = unescapeValue(entry.value("Path"));
    if (!workDir.isEmpty())
        proc.setWorkingDirectory(workDir);
    return proc.startDetached() ? 0 : -2;
}
