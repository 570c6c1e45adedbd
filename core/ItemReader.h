// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include "TextEncoding.h"

#include <cstdint>
#include <optional>

namespace storage {

// Reads items, one after another, from the bytes of a sequential text file in
// code page 932 or UTF-8 (a byte-order mark at the start is passed over).
// Items are separated by a comma or a line end (CR LF, and also a lone LF or
// CR); spaces and tabs before an item are skipped. An integer item must be a
// well-formed decimal number ("-" allowed, no "+", no fraction), and blanks
// after it are skipped too. A string item in double quotes runs to the next
// double quote (or, unclosed, to the end of its line); an unquoted one runs
// to the next comma or line end, blanks before that included. Separators
// are plain ASCII bytes, which never occur inside a Shift-JIS double-byte
// character or a UTF-8 sequence, so the bytes are split before they are
// decoded.
//
// A failed read returns nothing and leaves a description in errorString().
class ItemReader
{
public:
    explicit ItemReader(QByteArray bytes, TextEncoding::Kind encoding = TextEncoding::Cp932);

    std::optional<std::int64_t> readInteger(std::int64_t min, std::int64_t max);
    std::optional<QString> readString();

    // Passes over one item, whatever it holds; false when the bytes end
    // before the separator that ends it, so that more bytes could change it.
    bool skipItem();
    // How many bytes the items read so far and their separators take.
    qsizetype position() const { return m_pos; }

    // The line the next item starts on, counted from 1.
    int line() const { return m_line; }

    // "line N: what was wrong" for the last failed read.
    QString errorString() const { return m_error; }

private:
    void skipBlanks();
    void skipSeparator();
    qsizetype findStop(char stop) const;
    QByteArray takeUnquoted();
    void passQuoted();
    void fail(int line, const QString &what);
    QString excerpt(const QByteArray &item) const;

    QByteArray m_bytes;
    TextEncoding::Kind m_encoding;
    qsizetype m_pos = 0;
    int m_line = 1;
    QString m_error;
};

} // namespace storage
