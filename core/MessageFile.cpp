// SPDX-License-Identifier: MIT
#include "MessageFile.h"

#include "Cp932.h"
#include "ItemReader.h"
#include "ItemWriter.h"

namespace storage {

std::optional<QString> MessageFile::decode(const QByteArray &bytes, QString *why,
                                           TextEncoding::Kind *encoding)
{
    const qsizetype needed = neededLength(bytes, 0);
    const TextEncoding::Kind kind = TextEncoding::detect(
        needed < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(needed));
    if (encoding)
        *encoding = kind;
    ItemReader reader(bytes, kind);
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

bool MessageFile::isComplete(QByteArrayView bytes)
{
    const qsizetype end = neededLength(bytes, 0);
    if (end < 0)
        return false;
    QByteArrayView line = bytes.first(end - 1);
    if (line.startsWith(TextEncoding::ByteOrderMark))
        line = line.sliced(TextEncoding::ByteOrderMark.size());
    while (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t'))
        line = line.sliced(1);
    return !line.startsWith('"') || line.sliced(1).contains('"');
}

std::optional<QByteArray> MessageFile::encode(QStringView message, QString *why,
                                              TextEncoding::Kind preferred,
                                              TextEncoding::Kind *used)
{
    ItemWriter writer(preferred);
    TextEncoding::Kind kind = preferred;
    // Bytes that would be taken for another encoding (code page 932 that
    // happens to be valid UTF-8) are written in UTF-8 with the mark instead.
    if (!writer.writeString(message) ||
        (preferred == TextEncoding::Cp932 &&
         TextEncoding::detect(writer.bytes()) != TextEncoding::Cp932)) {
        writer = ItemWriter(TextEncoding::Utf8WithBom);
        kind = TextEncoding::Utf8WithBom;
        if (preferred == TextEncoding::Utf8WithBom || !writer.writeString(message)) {
            if (why)
                *why = QStringLiteral("the message holds text the file cannot keep");
            return std::nullopt;
        }
    }
    if (writer.bytes().size() > MaxBytes) {
        if (why)
            *why = QStringLiteral("the message is longer than the %1 bytes the program reads back")
                       .arg(MaxBytes);
        return std::nullopt;
    }
    if (used)
        *used = kind;
    return writer.bytes();
}

MessageFile::Storability MessageFile::storability(QStringView message, TextEncoding::Kind encoding)
{
    for (qsizetype i = 0; i < message.size(); ++i) {
        const QChar c = message[i];
        if (c == u'\r' || c == u'\n')
            return {Obstacle::LineBreak, i, {}};
        if (c == u'\0')
            return {Obstacle::Nul, i, {}};
        const bool paired = c.isHighSurrogate()
                                ? i + 1 < message.size() && message[i + 1].isLowSurrogate()
                            : c.isLowSurrogate() ? i > 0 && message[i - 1].isHighSurrogate()
                                                 : true;
        if (!paired)
            return {Obstacle::NoForm, i, {}};
    }
    if (!ItemWriter::quotesFit(message)) {
        // The character that keeps the quote from being stored: a comma, or
        // what the message starts with.
        const qsizetype comma = message.indexOf(u',');
        return {Obstacle::DoubleQuote, comma >= 0 ? comma : 0, {}};
    }
    // A code page 932 file keeps its encoding where it can hold the message;
    // the few characters it stores as another are shown as they come back.
    QString stored = message.toString();
    if (encoding == TextEncoding::Cp932) {
        if (auto kept = Cp932::roundTrip(message))
            stored = std::move(*kept);
    }
    // Quotes, line ends, a byte-order mark and each character's own bytes
    // around the message.
    if (stored.size() * 3 + 8 > MaxBytes && !encode(stored, nullptr, encoding))
        return {Obstacle::TooLong, -1, {}};
    return {Obstacle::None, -1, std::move(stored)};
}

bool MessageFile::isFinal(Obstacle obstacle)
{
    return obstacle != Obstacle::DoubleQuote && obstacle != Obstacle::None;
}

} // namespace storage
