// SPDX-License-Identifier: MIT
#include "ItemWriter.h"

#include "Cp932.h"

namespace storage {

void ItemWriter::writeInteger(std::int64_t value)
{
    m_bytes += QByteArray::number(qint64(value));
    m_bytes += "\r\n";
}

bool ItemWriter::writeString(QStringView text)
{
    const bool holdable = !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n');
    const auto encoded = holdable ? Cp932::encode(text) : std::nullopt;
    if (!encoded || Cp932::decode(*encoded) != text)
        return false;
    m_bytes += '"';
    m_bytes += *encoded;
    m_bytes += "\"\r\n";
    return true;
}

} // namespace storage
