// SPDX-License-Identifier: MIT
#include "UserDirectory.h"

#include "MessageFile.h"
#include "SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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
    if (!QDir().mkpath(directory.path())) {
        *why = directory.path() + QStringLiteral(": cannot create the directory");
        return false;
    }
    const QString from = examples();
    if (from.isEmpty()) {
        *why = QStringLiteral("no example files are installed to start from");
        return false;
    }
    for (const QString &name : {SettingsFile::FileName, MessageFile::FileName}) {
        const QString target = directory.filePath(name);
        if (!QFile::copy(from + u'/' + name, target) ||
            !QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                               QFile::ReadOther)) {
            *why = target + QStringLiteral(": cannot copy the example file there");
            return false;
        }
    }
    return true;
}
