#include "ItemWriter.h"

#include "Cp932.h"

#include <QSaveFile>

namespace runtime {

void ItemWriter::writeInteger(std::int64_t value)
{
    m_bytes += QByteArray::number(qint64(value));
    m_bytes += "\r\n";
}

bool ItemWriter::writeString(QStringView text)
{
    const bool holdable = !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n');
    const auto encoded = holdable ? Cp932::encode(text) : std::nullopt;
    if (!encoded || Cp932::decode(*encoded) != text) {
        m_failed = true;
        return false;
    }
    m_bytes += '"';
    m_bytes += *encoded;
    m_bytes += "\"\r\n";
    return true;
}

bool ItemWriter::save(const QString &path) const
{
    if (m_failed)
        return false;
    QSaveFile file(path);
    // Unbuffered, so that a failed write (a full disk) is seen here and not
    // only in a flush that commit() might overlook.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(m_bytes) != m_bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace runtime
