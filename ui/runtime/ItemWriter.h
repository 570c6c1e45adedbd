#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace runtime {

// Builds the contents of a sequential text file in code page 932, one item and
// one CR LF per line, and saves it whole. An integer is written in decimal; a
// string between double quotes, unescaped. A string that the reader would not
// give back unchanged (a double quote, a line break, a character without a code
// page 932 form or one stored as another) is refused, and the writer then
// refuses to save: a file that reads back differently is never written.
//
// save() writes beside the target and replaces it only when everything was
// written, so a failed save leaves the previous file byte for byte as it was.
class ItemWriter
{
public:
    void writeInteger(std::int64_t value);
    bool writeString(QStringView text);

    QByteArray bytes() const { return m_bytes; }
    bool save(const QString &path) const;

private:
    QByteArray m_bytes;
    bool m_failed = false;
};

} // namespace runtime
