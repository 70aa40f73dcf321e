#pragma once
#include "services/dialer.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Hands the number as a tel: URI to the desktop's registered handler of that scheme, found the
// way the desktop itself finds it (mimeapps.list, then the applications' own MimeType lists).
// The handler is started directly, without a shell, the URI being one argument.
class TelDialer : public Dialer
{
public:
    explicit TelDialer(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

    // 0 handler started, -2 no handler (or it could not be started), -4 no digit to dial.
    int requestMakeCall(const QString &number, const QString &appName, const QString &calledParty,
                        const QString &comment) override;

    // "tel:" followed by the dialable characters, percent-encoded where a URI needs it.
    static QString telUri(const QString &number);
    // Full path of the .desktop file that handles tel: URIs, or empty.
    QString findHandler() const;
    // The argument list of an Exec line with %u/%U given the URI; empty for a broken line.
    static QStringList expandExec(const QString &exec, const QString &uri);

private:
    QString configHome() const;
    QStringList configDirs() const;
    QString dataHome() const;
    QStringList dataDirs() const;
    QStringList applicationDirs() const;
    QString desktopFilePath(const QString &desktopId) const;
    bool usable(const QString &desktopFile) const;

    QProcessEnvironment m_env;
};
