#pragma once
#include <QFile>
#include <QString>

// File access shared by the program's own files: family data stays private, a save either
// reaches the disk whole or leaves the old file, and nothing but a regular file is opened.
namespace FileAccess {

// Owner read and write only.
constexpr QFileDevice::Permissions PrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions PrivateFolder = PrivateFile | QFileDevice::ExeOwner;

// Opens `file` (named, not open) when its name leads to a regular file. A named pipe, device or
// folder is refused without waiting on it. A mode that writes creates a missing file, private. `error`
// says why it failed.
bool openRegular(QFile &file, QIODevice::OpenMode mode, QString *error = nullptr);

// Writes `bytes` to `path` through a temporary file, makes sure every byte reached the disk, and
// only then replaces the old file. On any failure the old file is kept and false returned.
// A new file is made private; an existing one keeps its mode.
// Makes `path` as an empty private file unless something is there already.
bool createPrivate(const QString &path);

bool saveWhole(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Copies `from` to `to` through saveWhole(): a copy cut short leaves no file behind.
bool copyWhole(const QString &from, const QString &to, QString *error = nullptr);

// Makes the folder (and any missing parents); a folder made here is private to the user.
bool makeFolder(const QString &path);

// Removes temporary files a killed save left behind in `folder`: names "<name>.XXXXXX" for each
// of `names`, untouched for `minAgeSecs`. Returns how many went.
int removeStaleSaves(const QString &folder, const QStringList &names, int minAgeSecs = 10);

} // namespace FileAccess
