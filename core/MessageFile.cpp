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

std::optional<QByteArray> MessageFile::encode(QStringView message, QString *why)
{
    ItemWriter writer;
    if (!writer.writeString(message)) {
        if (why)
            *why = QStringLiteral("the message holds text the file cannot keep");
        return std::nullopt;
    }
    return writer.bytes();
}

MessageFile::Storability MessageFile::storability(QStringView message)
{
    if (message.contains(u'"'))
        return {Obstacle::DoubleQuote, {}};
    if (message.contains(u'\r') || message.contains(u'\n'))
        return {Obstacle::LineBreak, {}};
    auto stored = Cp932::roundTrip(message);
    if (!stored)
        return {Obstacle::NoCp932Form, {}};
    return {Obstacle::None, std::move(*stored)};
}

} // namespace storage
