// SPDX-License-Identifier: MIT
#include "TextEncoding.h"

#include "Cp932.h"

#include <QStringDecoder>

namespace storage {

namespace {

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

TextEncoding::Kind TextEncoding::detect(QByteArrayView bytes)
{
    if (bytes.startsWith(ByteOrderMark))
        return Utf8WithBom;
    const bool multiByte =
        std::any_of(bytes.begin(), bytes.end(), [](char c) { return (uchar(c) & 0x80) != 0; });
    return multiByte && decodeUtf8(bytes) ? Utf8 : Cp932;
}

std::optional<QString> TextEncoding::decode(QByteArrayView bytes, Kind kind)
{
    return kind == Cp932 ? Cp932::decode(bytes) : decodeUtf8(bytes);
}

std::optional<QByteArray> TextEncoding::encode(QStringView text, Kind kind)
{
    if (kind == Cp932)
        return Cp932::encode(text);
    if (!text.isValidUtf16())
        return std::nullopt;
    return text.toUtf8();
}

} // namespace storage
