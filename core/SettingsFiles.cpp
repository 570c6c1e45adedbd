// Ini_Read, Ini_Write, Data_Read and Data_Write: the settings file in the
// current directory and the message file in the data directory.

#include "Bas_Comm.h"

#include "CurDir.h"
#include "ItemReader.h"
#include "ItemWriter.h"
#include "RuntimeError.h"
#include "Twips.h"

#include <QFile>
#include <QStringBuilder>

#include <limits>
#include <optional>

namespace Bas_Comm {

namespace {

QString lastError;

// A directory, the platform's separator and a file name, joined as they are:
// no check for a separator already at the end, no other normalisation.
QString joinPath(const QString &directory, const QString &fileName)
{
    return directory % runtime::PathSeparator % fileName;
}

QString settingsPath()
{
    return joinPath(runtime::CurDir(), SettingsFileName);
}

QString messagePath()
{
    return joinPath(SignSettings.DataDir, MessageFileName);
}

bool failed(const QString &path, const QString &what)
{
    lastError = path % QStringLiteral(": ") % what;
    return false;
}

// The whole file, opened and closed within this call; nothing when it cannot
// be read.
std::optional<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed(path, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        failed(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

template <typename Int> bool readInto(runtime::ItemReader &reader, Int &field)
{
    const auto value =
        reader.readInteger(std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
    if (!value)
        return false;
    field = Int(*value);
    return true;
}

} // namespace

QString lastFileError()
{
    return lastError;
}

bool Ini_Read()
{
    const QString path = settingsPath();
    const auto bytes = readWholeFile(path);
    if (!bytes)
        return false;

    // Each field takes its value as soon as its item has been read.
    runtime::ItemReader reader(*bytes);
    auto &s = SignSettings;
    const bool numbers = readInto(reader, s.Top) && readInto(reader, s.Left) &&
                         readInto(reader, s.Width) && readInto(reader, s.Height) &&
                         readInto(reader, s.Speed) && readInto(reader, s.ForeColor) &&
                         readInto(reader, s.BackColor);
    if (!numbers)
        return failed(path, reader.errorString());
    const auto directory = reader.readString();
    if (!directory)
        return failed(path, reader.errorString());
    s.DataDir = *directory;

    if (s.DataDir == CurDirSentinel)
        s.DataDir = runtime::CurDir();
    if (s.Height == 0)
        s.Height = 1;
    return true;
}

bool Ini_Write()
{
    const QString path = settingsPath();
    const SignWindow *window = signWindow();
    if (!window)
        return failed(path, QStringLiteral("there is no sign window to take the geometry from"));

    // Everything is gathered before the file is touched.
    const QString directory =
        runtime::CurDir() == SignSettings.DataDir ? CurDirSentinel : SignSettings.DataDir;
    std::int16_t top, left, height, width;
    try {
        top = runtime::toInt16(window->Top());
        left = runtime::toInt16(window->Left());
        height = runtime::toInt16(window->Height());
        width = runtime::toInt16(window->Width());
    } catch (const runtime::RuntimeError &) {
        return failed(path,
                      QStringLiteral("the window's position or size does not fit in 16 bits"));
    }

    runtime::ItemWriter writer;
    for (std::int64_t value :
         {std::int64_t(top), std::int64_t(left), std::int64_t(width), std::int64_t(height),
          std::int64_t(SignSettings.Speed), std::int64_t(SignSettings.ForeColor),
          std::int64_t(SignSettings.BackColor)})
        writer.writeInteger(value);
    if (!writer.writeString(directory))
        return failed(path, QStringLiteral("the data directory cannot be stored in the file"));
    if (!writer.save(path))
        return failed(path, QStringLiteral("the file could not be written"));
    return true;
}

bool Data_Read()
{
    const QString path = messagePath();
    const auto bytes = readWholeFile(path);
    if (!bytes)
        return false;
    runtime::ItemReader reader(*bytes);
    const auto message = reader.readString();
    if (!message)
        return failed(path, reader.errorString());
    SignSettings.DataText = *message;
    return true;
}

bool Data_Write()
{
    const QString path = messagePath();
    runtime::ItemWriter writer;
    if (!writer.writeString(SignSettings.DataText))
        return failed(path, QStringLiteral("the message holds text the file cannot keep"));
    if (!writer.save(path))
        return failed(path, QStringLiteral("the file could not be written"));
    return true;
}

} // namespace Bas_Comm
