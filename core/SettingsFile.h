// SPDX-License-Identifier: MIT
#pragma once

#include "SignSettingsRecord.h"
#include "TextEncoding.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace storage {

// The settings file "Velmora.ini" as bytes: eight items, one a line, with CR
// LF line ends, in code page 932 or, where it cannot hold the directory,
// UTF-8 (see TextEncoding): top, left, width, height, speed, text
// colour, background colour and the data directory, where the sentinel
// "CurDir" stands for the current directory. Pure conversions between the
// record and those bytes; reading and writing the file is StoredFile's.
class SettingsFile
{
public:
    static inline const QString FileName = QStringLiteral("Velmora.ini");
    static inline const QString CurDirSentinel = QStringLiteral("CurDir");
    // The most of the file the program reads: far more than eight items need.
    static constexpr qsizetype MaxBytes = 64 * 1024;

    // How much of the file's first bytes reading needs: up to the end of the
    // eighth item, or -1 while it has not ended.
    static qsizetype neededLength(QByteArrayView bytes, qsizetype from = 0);

    // Whether the bytes look whole: the eighth item is there with a line end
    // after it. A file that does not is taken for one still being written.
    static bool isComplete(QByteArrayView bytes);

    // Reads the eight items into `record`, each field taking its value as
    // soon as its item has been read, so a failure leaves the fields before
    // it changed and the rest as they were. Only a complete read replaces the
    // sentinel by `currentDir` and a height of 0 by 1. On failure `why` says
    // which line and what was wrong.
    // `encoding` tells which encoding the file was read in.
    static bool decode(const QByteArray &bytes, SignSettingsRecord &record,
                       const QString &currentDir, QString *why = nullptr,
                       TextEncoding::Kind *encoding = nullptr);

    // The file for `record`, with "CurDir" on line 8 when DataDir is exactly
    // `currentDir`, in the `preferred` encoding where that can hold the
    // directory, else in UTF-8 with the byte-order mark. Nothing when the
    // directory cannot be stored so that it reads back the same.
    static std::optional<QByteArray> encode(const SignSettingsRecord &record,
                                            const QString &currentDir, QString *why = nullptr,
                                            TextEncoding::Kind preferred = TextEncoding::Cp932);
};

} // namespace storage
