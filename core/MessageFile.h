// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace storage {

// The message file "Velmora.txt" as bytes: one string item, the message in
// double quotes, in code page 932, ending in CR LF. Pure conversions, and the
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

    // The first item of the file; nothing (and `why`) when there is none or
    // it is not code page 932.
    static std::optional<QString> decode(const QByteArray &bytes, QString *why = nullptr);

    // The file for `message`; nothing when the message would not read back
    // exactly as it is.
    static std::optional<QByteArray> encode(QStringView message, QString *why = nullptr);

    // What keeps a message from being stored, if anything.
    enum class Obstacle
    {
        None,
        // A double quote with what the file cannot keep beside one: a comma,
        // a quote at the start, a blank at either end.
        DoubleQuote,
        LineBreak,
        NoCp932Form,
        // Longer than the program reads back.
        TooLong,
    };
    struct Storability
    {
        Obstacle obstacle = Obstacle::None;
        // With no obstacle, the message as the file gives it back: a few
        // characters are stored as another (WAVE DASH U+301C reads back as
        // FULLWIDTH TILDE U+FF5E, YEN SIGN U+00A5 as the backslash).
        QString stored;
    };
    static Storability storability(QStringView message);
};

} // namespace storage
