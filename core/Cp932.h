// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace storage {

// Strict conversion between text and code page 932 (Shift-JIS) through glibc's
// iconv. Nothing is replaced or dropped: a character without a code page 932
// form, or bytes that are not code page 932, give no result at all.
class Cp932
{
public:
    static std::optional<QByteArray> encode(QStringView text);
    static std::optional<QString> decode(QByteArrayView bytes);

    // The text as it comes back after being stored: a few characters encode to
    // bytes that decode as another character (WAVE DASH U+301C is stored as
    // 0x8160, which reads back as FULLWIDTH TILDE U+FF5E). Empty when the text
    // cannot be stored at all.
    static std::optional<QString> roundTrip(QStringView text);
};

} // namespace storage
