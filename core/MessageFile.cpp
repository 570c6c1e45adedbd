// SPDX-License-Identifier: MIT
#include "MessageFile.h"

#include "Cp932.h"
#include "ItemReader.h"
#include "ItemWriter.h"

namespace storage {

std::optional<QString> MessageFile::decode(const QByteArray &bytes, QString *why)
{
    ItemReader reader(bytes);
    auto message = reader.readString();
    if (!message && why)
        *why = reader.errorString();
    return message;
}

qsizetype MessageFile::neededLength(QByteArrayView bytes, qsizetype from)
{
    for (qsizetype i = from; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n')
            return i + 1;
    }
    return -1;
}

std::optional<QByteArray> MessageFile::encode(QStringView message, QString *why)
{
    ItemWriter writer;
    if (!writer.writeString(message)) {
        if (why)
            *why = QStringLiteral("the message holds text the file cannot keep");
        return std::nullopt;
    }
    if (writer.bytes().size() > MaxBytes) {
        if (why)
            *why = QStringLiteral("the message is longer than the %1 bytes the program reads back")
                       .arg(MaxBytes);
        return std::nullopt;
    }
    return writer.bytes();
}

MessageFile::Storability MessageFile::storability(QStringView message)
{
    if (message.contains(u'\r') || message.contains(u'\n'))
        return {Obstacle::LineBreak, {}};
    if (!ItemWriter::quotesFit(message))
        return {Obstacle::DoubleQuote, {}};
    auto stored = Cp932::roundTrip(message);
    if (!stored)
        return {Obstacle::NoCp932Form, {}};
    // Quotes, line ends and each character's own bytes around the message.
    if (stored->size() + 4 > MaxBytes / 2 && !encode(*stored))
        return {Obstacle::TooLong, {}};
    return {Obstacle::None, std::move(*stored)};
}

} // namespace storage
