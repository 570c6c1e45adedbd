// SPDX-License-Identifier: MIT
#include "ItemWriter.h"

#include "Cp932.h"

namespace storage {

void ItemWriter::writeInteger(std::int64_t value)
{
    m_bytes += QByteArray::number(qint64(value));
    m_bytes += "\r\n";
}

bool ItemWriter::quotesFit(QStringView text)
{
    if (!text.contains(u'"'))
        return true;
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    return !text.startsWith(u'"') && !text.contains(u',') && !blank(text.front()) &&
           !blank(text.back());
}

bool ItemWriter::writeString(QStringView text)
{
    if (text.contains(u'\r') || text.contains(u'\n') || !quotesFit(text))
        return false;
    const auto encoded = Cp932::encode(text);
    if (!encoded || Cp932::decode(*encoded) != text)
        return false;
    const bool quoted = !text.contains(u'"');
    if (quoted)
        m_bytes += '"';
    m_bytes += *encoded;
    if (quoted)
        m_bytes += '"';
    m_bytes += "\r\n";
    return true;
}

} // namespace storage
