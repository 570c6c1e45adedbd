// SPDX-License-Identifier: MIT
#pragma once

#include "SignOptions.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace storage {

// The options file "velmora.conf" as bytes: UTF-8, Qt's INI format, group
// [sign] with the keys smooth_motion and stay_on_top, "true" or "false". Pure
// conversions through QSettings' own reader and writer, which run on a
// private copy of the bytes; reading and writing the file is StoredFile's.
// Keys and groups it does not know are kept on save.
class OptionsFile
{
public:
    static inline const QString FileName = QStringLiteral("velmora.conf");
    static constexpr qsizetype MaxBytes = 64 * 1024;

    // The options the bytes hold; nothing (and `why`) when they are not a
    // well-formed INI file or a known key holds neither "true" nor "false".
    // A key that is missing takes its default.
    static std::optional<SignOptions> decode(const QByteArray &bytes, QString *why = nullptr);

    // `previous` (the file as it is, or nothing) with the options set in it.
    static std::optional<QByteArray>
    encode(const SignOptions &options, const QByteArray &previous = {}, QString *why = nullptr);
};

} // namespace storage
