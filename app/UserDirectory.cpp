// SPDX-License-Identifier: MIT
#include "UserDirectory.h"

#include "CurDir.h"
#include "MessageFile.h"
#include "SettingsFile.h"
#include "StoredFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

using storage::MessageFile;
using storage::SettingsFile;

QString UserDirectory::path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmora");
}

QString UserDirectory::examples()
{
    QStringList candidates{QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/velmora")};
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << data + QStringLiteral("/velmora");
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate + u'/' + SettingsFile::FileName) &&
            QFileInfo::exists(candidate + u'/' + MessageFile::FileName))
            return QDir::cleanPath(candidate);
    }
    return {};
}

bool UserDirectory::prepare(QString *why)
{
    const QDir directory(path());
    const QString settings = directory.filePath(SettingsFile::FileName);
    const QString message = directory.filePath(MessageFile::FileName);
    if (QFileInfo::exists(settings) || QFileInfo::exists(message))
        return true;
    // The sign's own directory is the user's alone; the files in it take
    // their mode from the umask, as any new file does.
    const QByteArray encoded = QFile::encodeName(directory.path());
    if (!QDir().mkpath(QFileInfo(directory.path()).path()) ||
        (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)) {
        *why =
            storage::shownPath(directory.path()) + QStringLiteral(": cannot create the directory");
        return false;
    }
    const QString from = examples();
    if (from.isEmpty()) {
        *why = QStringLiteral("no example files are installed to start from");
        return false;
    }
    for (const QString &name : {SettingsFile::FileName, MessageFile::FileName}) {
        const QString target = directory.filePath(name);
        QFile example(from + u'/' + name);
        QString reason;
        if (!example.open(QIODevice::ReadOnly)) {
            *why = storage::shownPath(example.fileName()) +
                   QStringLiteral(": cannot read the example file");
            return false;
        }
        if (!storage::StoredFile::save(target, example.readAll(), &reason)) {
            *why = storage::shownPath(target) +
                   QStringLiteral(": cannot copy the example file there: ") + reason;
            return false;
        }
    }
    return true;
}
