// SPDX-License-Identifier: MIT
#include "SettingsFile.h"

#include "ItemReader.h"
#include "ItemWriter.h"

#include <limits>

namespace storage {

namespace {

template <typename Int> bool readInto(ItemReader &reader, Int &field)
{
    const auto value =
        reader.readInteger(std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
    if (!value)
        return false;
    field = Int(*value);
    return true;
}

bool fail(QString *why, const QString &what)
{
    if (why)
        *why = what;
    return false;
}

} // namespace

qsizetype SettingsFile::neededLength(QByteArrayView bytes, qsizetype)
{
    ItemReader reader(bytes.toByteArray());
    for (int item = 0; item < 8; ++item) {
        if (!reader.skipItem())
            return -1;
    }
    return reader.position();
}

bool SettingsFile::isComplete(QByteArrayView bytes)
{
    const qsizetype end = neededLength(bytes);
    return end > 0 && (bytes[end - 1] == '\r' || bytes[end - 1] == '\n');
}

bool SettingsFile::decode(const QByteArray &bytes, SignSettingsRecord &record,
                          const QString &currentDir, QString *why, TextEncoding::Kind *encoding)
{
    const qsizetype needed = neededLength(bytes);
    const TextEncoding::Kind kind = TextEncoding::detect(
        needed < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(needed));
    if (encoding)
        *encoding = kind;
    ItemReader reader(bytes, kind);
    auto &r = record;
    const bool numbers = readInto(reader, r.Top) && readInto(reader, r.Left) &&
                         readInto(reader, r.Width) && readInto(reader, r.Height) &&
                         readInto(reader, r.Speed) && readInto(reader, r.ForeColor) &&
                         readInto(reader, r.BackColor);
    if (!numbers)
        return fail(why, reader.errorString());
    const int directoryLine = reader.line();
    const auto directory = reader.readString();
    if (!directory)
        return fail(why, reader.errorString());
    // No path can hold a NUL: the system would cut it there and name another
    // file.
    if (directory->contains(QChar(0)))
        return fail(why, QStringLiteral("line %1: the directory holds a NUL character, which no "
                                        "path can hold")
                             .arg(directoryLine));
    r.DataDir = *directory;

    if (r.DataDir == CurDirSentinel)
        r.DataDir = currentDir;
    if (r.Height == 0)
        r.Height = 1;
    return true;
}

std::optional<QByteArray> SettingsFile::encode(const SignSettingsRecord &record,
                                               const QString &currentDir, QString *why,
                                               TextEncoding::Kind preferred)
{
    const QString directory = record.DataDir == currentDir ? CurDirSentinel : record.DataDir;
    if (directory.contains(QChar(0))) {
        fail(why, QStringLiteral("the data directory holds a NUL character, which no path can"));
        return std::nullopt;
    }
    for (const TextEncoding::Kind kind : {preferred, TextEncoding::Utf8WithBom}) {
        ItemWriter writer(kind);
        for (std::int64_t value :
             {std::int64_t(record.Top), std::int64_t(record.Left), std::int64_t(record.Width),
              std::int64_t(record.Height), std::int64_t(record.Speed),
              std::int64_t(record.ForeColor), std::int64_t(record.BackColor)})
            writer.writeInteger(value);
        // Bytes that would be taken for another encoding (code page 932 that
        // happens to be valid UTF-8) are written in UTF-8 with the mark.
        if (writer.writeString(directory) &&
            (kind != TextEncoding::Cp932 ||
             TextEncoding::detect(writer.bytes()) == TextEncoding::Cp932))
            return writer.bytes();
    }
    fail(why, QStringLiteral("the data directory cannot be stored in the file"));
    return std::nullopt;
}

} // namespace storage
