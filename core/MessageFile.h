// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include "TextEncoding.h"

#include <optional>

namespace storage {

// The message file "Velmora.txt" as bytes: one string item, the message in
// double quotes, ending in CR LF, in code page 932 or, for a message code
// page 932 cannot hold, UTF-8 (see TextEncoding). Pure conversions, and the
// rule of which messages the file can keep; reading and writing the file is
// StoredFile's.
class MessageFile
{
public:
    static inline const QString FileName = QStringLiteral("Velmora.txt");
    // The most of the file the program reads: the message's line.
    static constexpr qsizetype MaxBytes = 16 * 1024 * 1024;

    // How much of the file's first bytes reading needs: its first line.
    static qsizetype neededLength(QByteArrayView bytes, qsizetype from);

    // Whether what reading needs of the file (its first line) looks whole: it
    // ends in a line end and its item is not a quote still open. A file that
    // does not is taken for one still being written.
    static bool isComplete(QByteArrayView bytes);

    // The first item of the file; nothing (and `why`) when there is none or
    // it is not in the encoding its first line shows. `encoding` tells which
    // that was.
    static std::optional<QString> decode(const QByteArray &bytes, QString *why = nullptr,
                                         TextEncoding::Kind *encoding = nullptr);

    // The file for `message`, in the `preferred` encoding (that of the file
    // it replaces) where that holds the message, else in UTF-8 with the
    // byte-order mark; `used` tells which. Nothing when the message would not
    // read back exactly as it is.
    static std::optional<QByteArray> encode(QStringView message, QString *why = nullptr,
                                            TextEncoding::Kind preferred = TextEncoding::Cp932,
                                            TextEncoding::Kind *used = nullptr);

    // What keeps a message from being stored, if anything.
    enum class Obstacle
    {
        None,
        // A double quote with what the file cannot keep beside one: a comma,
        // a quote at the start, a blank before it.
        DoubleQuote,
        LineBreak,
        Nul,
        // Half of a surrogate pair: no encoding has a form for it.
        NoForm,
        // Longer than the program reads back.
        TooLong,
    };
    struct Storability
    {
        Obstacle obstacle = Obstacle::None;
        // Where the character that stands in the way is, when one does.
        qsizetype at = -1;
        // With no obstacle, the message as the file gives it back: in a code
        // page 932 file a few characters are stored as another (WAVE DASH
        // U+301C reads back as FULLWIDTH TILDE U+FF5E, YEN SIGN U+00A5 as the
        // backslash).
        QString stored;
    };
    // For a message file now in the `encoding` given.
    static Storability storability(QStringView message,
                                   TextEncoding::Kind encoding = TextEncoding::Cp932);

    // Whether `obstacle` can go away as more is typed (a quote that only the
    // text so far keeps from being stored), or never can.
    static bool isFinal(Obstacle obstacle);
};

} // namespace storage
