// SPDX-License-Identifier: MIT
#include "ItemWriter.h"

namespace storage {

ItemWriter::ItemWriter(TextEncoding::Kind encoding) : m_encoding(encoding)
{
    if (encoding == TextEncoding::Utf8WithBom)
        m_bytes = TextEncoding::ByteOrderMark.toByteArray();
}

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
    return !text.startsWith(u'"') && !text.contains(u',') && !blank(text.front());
}

bool ItemWriter::writeString(QStringView text)
{
    if (text.contains(u'\r') || text.contains(u'\n') || !quotesFit(text))
        return false;
    const auto encoded = TextEncoding::encode(text, m_encoding);
    if (!encoded || TextEncoding::decode(*encoded, m_encoding) != text)
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
