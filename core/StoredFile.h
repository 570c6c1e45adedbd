// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace storage {

// Reading and saving one whole file, opened and closed within the call, with
// nothing left open and nothing reported done that is not on disk. It knows
// nothing of what the bytes mean.
//
// load() opens without blocking, takes only regular files, and reads no more
// than the caller needs, up to a cap.
//
// save() normally writes aside: the bytes go to a temporary file beside the
// target (the target's name with a "." before and ".saving" after it), which
// is synced, given the target's mode, owner and group, and renamed over the
// target; then the directory is synced. A temporary file left by a killed
// save is removed by the next save of the same file. Where a new file could
// not take the target's place without changing its identity (the directory is
// not writable, the file has other hard links, or its owner or group cannot be
// given to a new file), the file is rewritten in place instead: the new bytes
// are written over it and synced, and on any failure the previous bytes are
// put back. Either way a failed save leaves the previous file byte for byte as
// it was, and success means the bytes are on disk; the one exception is a
// directory that cannot be synced after the rename, where the new file is in
// place but not known to be on disk, and the save reports failure.
class StoredFile
{
public:
    // Given the bytes read so far, how many of them the caller needs, or -1
    // while it needs more. `from` is where the bytes new since the last call
    // begin.
    using NeededLength = std::function<qsizetype(QByteArrayView bytes, qsizetype from)>;

    // The file's bytes (only the needed ones when `needed` is given); nothing,
    // and `why`, when it cannot be read, is not a regular file, or needs more
    // than `maxBytes`.
    static std::optional<QByteArray> load(const QString &path, qsizetype maxBytes,
                                          const NeededLength &needed = {}, QString *why = nullptr);

    // True only when the file holds `bytes` on disk; `why` says what failed.
    static bool save(const QString &path, const QByteArray &bytes, QString *why = nullptr);

    // The temporary file a save of `path` writes aside.
    static QString temporaryPath(const QString &path);
};

} // namespace storage
