// SPDX-License-Identifier: MIT
// The sign's options file, velmora.conf beside the settings file.

#include "Bas_Comm.h"

#include "CurDir.h"
#include "FollowLog.h"
#include "OptionsFile.h"
#include "StoredFile.h"

#include <QFileInfo>

#include <optional>

namespace Bas_Comm {

namespace {

// velmora.conf as the program last read or wrote it (nothing: missing).
std::optional<QByteArray> knownOptions;
bool optionsRead = false;

} // namespace

QString optionsPath()
{
    return storage::joinPath(storage::CurDir(), storage::OptionsFile::FileName);
}

bool readOptions(SignOptions &options)
{
    const QString path = optionsPath();
    QString why;
    const auto bytes = storage::StoredFile::load(path, storage::OptionsFile::MaxBytes, {}, &why);
    if (optionsRead && bytes == knownOptions)
        return false;
    const bool missing = !bytes && !QFileInfo::exists(path);
    const auto read = bytes ? storage::OptionsFile::decode(*bytes, &why) : std::nullopt;
    knownOptions = bytes;
    optionsRead = true;
    const bool startAtLogin = options.startAtLogin;
    options = read.value_or(SignOptions{});
    options.startAtLogin = startAtLogin;
    if (!read && !missing)
        qCWarning(lcFollow, "ignoring the options file: %s: %s",
                  qUtf8Printable(storage::shownPath(path)), qUtf8Printable(why));
    return true;
}

bool writeOptions(const SignOptions &options, QString *why)
{
    const QString path = optionsPath();
    QString reason;
    const auto previous = storage::StoredFile::load(path, storage::OptionsFile::MaxBytes, {});
    const auto bytes =
        storage::OptionsFile::encode(options, previous.value_or(QByteArray()), &reason);
    if (!bytes || !storage::StoredFile::save(path, *bytes, &reason)) {
        *why = storage::shownPath(path) + QStringLiteral(": ") + reason;
        return false;
    }
    knownOptions = *bytes;
    optionsRead = true;
    return true;
}

} // namespace Bas_Comm
