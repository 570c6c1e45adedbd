// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include "TextEncoding.h"

#include <cstdint>

namespace storage {

// Builds the contents of a sequential text file in code page 932 or UTF-8,
// one item and one CR LF per line (UTF-8 with a byte-order mark first, if
// asked for). An integer is written in decimal; a string between double
// quotes, unescaped. A string holding a double quote cannot stand between
// quotes, so it is written without them when it reads back the same that way
// (no comma, no quote at its start, no blank before it; blanks at its end
// belong to an unquoted item). A string that the reader would not give back
// unchanged (a line break, a character the encoding has no form for or
// stores as another, a quote where the unquoted form cannot hold it) is
// refused and not written, so that a file that reads back differently is
// never produced. It touches no file.
class ItemWriter
{
public:
    explicit ItemWriter(TextEncoding::Kind encoding = TextEncoding::Cp932);

    void writeInteger(std::int64_t value);
    [[nodiscard]] bool writeString(QStringView text);

    // Whether writeString() can store `text` as far as its double quotes go:
    // true without quotes, or when the unquoted form reads back the same.
    static bool quotesFit(QStringView text);

    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    TextEncoding::Kind m_encoding;
};

} // namespace storage
