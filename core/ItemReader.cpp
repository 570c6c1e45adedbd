// SPDX-License-Identifier: MIT
#include "ItemReader.h"

#include <cstring>

namespace storage {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimmedRight(QByteArray item)
{
    while (!item.isEmpty() && isBlank(item.back()))
        item.chop(1);
    return item;
}

} // namespace

ItemReader::ItemReader(QByteArray bytes, TextEncoding::Kind encoding)
    : m_bytes(std::move(bytes)), m_encoding(encoding)
{
    if (m_bytes.startsWith(TextEncoding::ByteOrderMark))
        m_pos = TextEncoding::ByteOrderMark.size();
}

// An item as a diagnostic quotes it: at most its first 80 characters.
QString ItemReader::excerpt(const QByteArray &item) const
{
    constexpr qsizetype Longest = 80;
    const QString text = TextEncoding::decode(item.left(Longest), m_encoding)
                             .value_or(QString::fromLatin1(item.left(Longest)));
    return item.size() > Longest ? text + QStringLiteral("…") : text;
}

void ItemReader::skipBlanks()
{
    while (m_pos < m_bytes.size() && isBlank(m_bytes[m_pos]))
        ++m_pos;
}

void ItemReader::skipSeparator()
{
    if (m_pos >= m_bytes.size())
        return;
    const char c = m_bytes[m_pos++];
    if (c == '\r' && m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
        ++m_pos;
    if (c == '\r' || c == '\n')
        ++m_line;
}

// Where `stop` or a line end first comes at or after the position, or the
// end. memchr over the bytes, each search ending where an earlier stop was
// found: a message line can be megabytes long.
qsizetype ItemReader::findStop(char stop) const
{
    const char *const begin = m_bytes.constData();
    const char *const from = begin + m_pos;
    const char *first = begin + m_bytes.size();
    for (const char c : {stop, '\r', '\n'}) {
        if (const void *hit = std::memchr(from, c, std::size_t(first - from)))
            first = static_cast<const char *>(hit);
    }
    return first - begin;
}

QByteArray ItemReader::takeUnquoted()
{
    const qsizetype start = m_pos;
    m_pos = findStop(',');
    return m_bytes.mid(start, m_pos - start);
}

void ItemReader::passQuoted()
{
    ++m_pos;
    m_pos = findStop('"');
}

bool ItemReader::skipItem()
{
    skipBlanks();
    if (m_pos < m_bytes.size() && m_bytes[m_pos] == '"')
        passQuoted();
    m_pos = findStop(',');
    if (m_pos >= m_bytes.size())
        return false;
    skipSeparator();
    return true;
}

void ItemReader::fail(int line, const QString &what)
{
    m_error = QStringLiteral("line %1: %2").arg(line).arg(what);
}

std::optional<std::int64_t> ItemReader::readInteger(std::int64_t min, std::int64_t max)
{
    skipBlanks();
    if (m_pos >= m_bytes.size()) {
        fail(m_line, QStringLiteral("the file ends before this item"));
        return std::nullopt;
    }
    const QByteArray item = trimmedRight(takeUnquoted());
    const int line = m_line;
    skipSeparator();

    const bool negative = item.startsWith('-');
    const QByteArray digits = negative ? item.mid(1) : item;
    bool wellFormed = !digits.isEmpty();
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            wellFormed = false;
            break;
        }
        // Past 11 significant digits the value is out of every range we read.
        if (value < 100'000'000'000)
            value = value * 10 + (c - '0');
    }
    if (!wellFormed) {
        fail(line, item.isEmpty()
                       ? QStringLiteral("an empty item where a number was expected")
                       : QStringLiteral("\"%1\" is not a whole decimal number").arg(excerpt(item)));
        return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < min || value > max) {
        fail(line, QStringLiteral("%1 is outside %2 to %3").arg(excerpt(item)).arg(min).arg(max));
        return std::nullopt;
    }
    return value;
}

std::optional<QString> ItemReader::readString()
{
    skipBlanks();
    if (m_pos >= m_bytes.size()) {
        fail(m_line, QStringLiteral("the file ends before this item"));
        return std::nullopt;
    }
    const int line = m_line;
    QByteArray item;
    if (m_bytes[m_pos] == '"') {
        const qsizetype start = m_pos + 1;
        passQuoted();
        item = m_bytes.mid(start, m_pos - start);
        // Whatever follows the closing quote up to the separator is not part of
        // the item.
        m_pos = findStop(',');
    } else {
        item = takeUnquoted();
    }
    skipSeparator();

    auto text = TextEncoding::decode(item, m_encoding);
    if (!text) {
        fail(line, m_encoding == TextEncoding::Cp932
                       ? QStringLiteral("the text is not valid Shift-JIS (code page 932)")
                       : QStringLiteral("the text is not valid UTF-8"));
        return std::nullopt;
    }
    return text;
}

} // namespace storage
