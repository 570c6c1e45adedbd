// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace storage {

// Builds the contents of a sequential text file in code page 932, one item and
// one CR LF per line. An integer is written in decimal; a string between
// double quotes, unescaped. A string that the reader would not give back
// unchanged (a double quote, a line break, a character without a code page
// 932 form or one stored as another) is refused and not written, so that a
// file that reads back differently is never produced. It touches no file.
class ItemWriter
{
public:
    void writeInteger(std::int64_t value);
    [[nodiscard]] bool writeString(QStringView text);

    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace storage
