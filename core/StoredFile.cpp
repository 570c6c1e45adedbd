// SPDX-License-Identifier: MIT
#include "StoredFile.h"

#include <QFile>
#include <QSaveFile>

namespace storage {

namespace {

void tell(QString *why, const QString &what)
{
    if (why)
        *why = what;
}

} // namespace

std::optional<QByteArray> StoredFile::load(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        tell(why, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        tell(why, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

bool StoredFile::save(const QString &path, const QByteArray &bytes, QString *why)
{
    QSaveFile file(path);
    // Unbuffered, so that a failed write (a full disk) is seen here and not
    // only in a flush that commit() might overlook.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        tell(why, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        tell(why, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        tell(why, file.errorString());
        return false;
    }
    return true;
}

} // namespace storage
