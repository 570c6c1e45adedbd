// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace storage {

// Reading and saving one whole file, opened and closed within the call. A
// save writes the new bytes beside the file and puts them in its place only
// when everything was written, so a failed save leaves the previous file byte
// for byte as it was. It knows nothing of what the bytes mean.
class StoredFile
{
public:
    // The file's bytes; nothing (and `why`) when it cannot be read.
    static std::optional<QByteArray> load(const QString &path, QString *why = nullptr);

    // True only when the file holds `bytes`; `why` says what failed.
    static bool save(const QString &path, const QByteArray &bytes, QString *why = nullptr);
};

} // namespace storage
