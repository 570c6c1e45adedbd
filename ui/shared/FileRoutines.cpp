// SPDX-License-Identifier: MIT
// Ini_Read, Ini_Write, Data_Read and Data_Write: the settings file in the
// current directory and the message file in the data directory.

#include "Bas_Comm.h"

#include "CurDir.h"
#include "MessageFile.h"
#include "RuntimeError.h"
#include "SettingsFile.h"
#include "StoredFile.h"
#include "Twips.h"

#include <QStringBuilder>

namespace Bas_Comm {

namespace {

QString lastError;
// What each file held, as far as reading needs, when the program last read or
// wrote it: a change seen from outside that leaves this as it is, such as the
// echo of the program's own save, changes nothing.
QByteArray knownSettings;
QByteArray knownMessage;

QByteArray asRead(const QByteArray &bytes, qsizetype (*neededLength)(QByteArrayView, qsizetype))
{
    const qsizetype length = neededLength(bytes, 0);
    return length < 0 ? bytes : bytes.left(length);
}

// The path as a diagnostic shows it: a directory read from the settings file
// may be of any length, so only its first 80 characters are quoted.
QString shown(const QString &path)
{
    constexpr qsizetype Longest = 80;
    const qsizetype name = path.lastIndexOf(storage::PathSeparator);
    if (name <= Longest)
        return path;
    return path.left(Longest) % QStringLiteral("…") % path.mid(name);
}

bool failed(const QString &path, const QString &what)
{
    lastError = shown(path) % QStringLiteral(": ") % what;
    return false;
}

// Each file read as start-up reads it: bounded, and only as far as its items.
std::optional<QByteArray> loadSettings(const QString &path, QString *why)
{
    return storage::StoredFile::load(path, storage::SettingsFile::MaxBytes,
                                     storage::SettingsFile::neededLength, why);
}

std::optional<QByteArray> loadMessage(const QString &path, QString *why)
{
    return storage::StoredFile::load(path, storage::MessageFile::MaxBytes,
                                     storage::MessageFile::neededLength, why);
}

} // namespace

QString lastFileError()
{
    return lastError;
}

bool Ini_Read()
{
    const QString path = settingsPath();
    QString why;
    const auto bytes = loadSettings(path, &why);
    if (!bytes || !storage::SettingsFile::decode(*bytes, SignSettings, storage::CurDir(), &why))
        return failed(path, why);
    knownSettings = *bytes;
    return true;
}

bool Ini_Write()
{
    const QString path = settingsPath();
    const SignWindow *window = signWindow();
    if (!window)
        return failed(path, QStringLiteral("there is no sign window to take the geometry from"));

    // Everything is gathered before the file is touched; the record itself
    // keeps its geometry, the file gets the live window's.
    storage::SignSettingsRecord stored = SignSettings;
    try {
        stored.Top = runtime::toInt16(window->Top());
        stored.Left = runtime::toInt16(window->Left());
        stored.Height = runtime::toInt16(window->Height());
        stored.Width = runtime::toInt16(window->Width());
    } catch (const runtime::RuntimeError &) {
        return failed(path,
                      QStringLiteral("the window's position or size does not fit in 16 bits"));
    }
    QString why;
    const auto bytes = storage::SettingsFile::encode(stored, storage::CurDir(), &why);
    if (!bytes || !storage::StoredFile::save(path, *bytes, &why))
        return failed(path, why);
    knownSettings = asRead(*bytes, storage::SettingsFile::neededLength);
    return true;
}

bool Data_Read()
{
    const QString path = messagePath(SignSettings.DataDir);
    QString why;
    const auto bytes = loadMessage(path, &why);
    const auto message = bytes ? storage::MessageFile::decode(*bytes, &why) : std::nullopt;
    if (!message)
        return failed(path, why);
    SignSettings.DataText = *message;
    knownMessage = *bytes;
    return true;
}

bool Data_Write()
{
    const QString path = messagePath(SignSettings.DataDir);
    QString why;
    const auto bytes = storage::MessageFile::encode(SignSettings.DataText, &why);
    if (!bytes || !storage::StoredFile::save(path, *bytes, &why))
        return failed(path, why);
    knownMessage = asRead(*bytes, storage::MessageFile::neededLength);
    return true;
}

QString settingsPath()
{
    return storage::joinPath(storage::CurDir(), storage::SettingsFile::FileName);
}

QString messagePath(const QString &directory)
{
    return storage::joinPath(directory, storage::MessageFile::FileName);
}

std::optional<QByteArray> readSettings(QString *why)
{
    const QString path = settingsPath();
    auto bytes = loadSettings(path, why);
    if (!bytes && why)
        *why = shown(path) % QStringLiteral(": ") % *why;
    return bytes;
}

std::optional<QByteArray> readMessage(const QString &directory, QString *why)
{
    const QString path = messagePath(directory);
    auto bytes = loadMessage(path, why);
    if (!bytes && why)
        *why = shown(path) % QStringLiteral(": ") % *why;
    return bytes;
}

QByteArray knownSettingsBytes()
{
    return knownSettings;
}

QByteArray knownMessageBytes()
{
    return knownMessage;
}

void setKnownBytes(const QByteArray &settings, const QByteArray &message)
{
    knownSettings = settings;
    knownMessage = message;
}

} // namespace Bas_Comm
