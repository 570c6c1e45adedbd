// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace storage {

// The encodings the two files may be in, and how a file's bytes tell which.
// Code page 932 is the files' own; UTF-8 is taken where a file says so or
// can be nothing else, and written where code page 932 cannot hold a text.
//
// A file is UTF-8 when it starts with the byte-order mark, or when it is
// valid UTF-8 holding at least one multi-byte sequence: real code page 932
// Japanese text almost never is, since most of its lead bytes are UTF-8
// continuation bytes. Anything else (plain ASCII included) is code page 932.
// The one ambiguity: a code page 932 file that happens to be valid UTF-8
// (some pairs of half-width katakana) reads as UTF-8.
class TextEncoding
{
public:
    enum Kind
    {
        Cp932,
        Utf8,
        Utf8WithBom,
    };

    static constexpr QByteArrayView ByteOrderMark{"\xEF\xBB\xBF"};

    // Which encoding `bytes`, the part of a file that reading needs, are in.
    static Kind detect(QByteArrayView bytes);

    // Strict conversions: nothing is replaced, and bytes or characters that
    // do not convert give nothing. No byte-order mark is read or written.
    static std::optional<QString> decode(QByteArrayView bytes, Kind kind);
    static std::optional<QByteArray> encode(QStringView text, Kind kind);
};

} // namespace storage
