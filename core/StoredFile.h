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
// save() works from the file's directory, opened once, so that a path that
// changes meanwhile cannot redirect it. It refuses a file the user may not
// write, a node that is not a regular file, and a link another user planted
// in a shared sticky directory; a link the user owns is followed to the file
// it names. Normally it writes aside: the bytes go to a temporary file of a
// name no other save uses (".<name>.saving-XXXXXXXX"), created exclusively,
// without following links and mode 0600 until it is given the target's mode,
// owner and group (a new file: 0666 less the umask); it is synced, renamed
// over the target, and the directory is synced. Each save holds a lock on its
// temporary file until the rename is done, so any number of saves may run at
// once: each puts its own complete bytes in place, the last rename wins. A
// temporary file a killed save left behind is removed by a later save once
// it is the user's, unlocked and a minute old (locks do not reach across the
// machines that share a network folder; the age does).
//
// Where a new file could not take the target's place without changing its
// identity (the directory is not writable, the file has other hard links, or
// its owner or group cannot be given to a new file), the file is rewritten in
// place instead: the new bytes are written over it, the rest cut off, and it
// is synced; on any failure the previous bytes are put back.
//
// Either way a failed save leaves the previous file byte for byte as it was,
// and success means the bytes are on disk; the one exception is a directory
// that cannot be synced after the rename, where the new file is in place but
// not known to be on disk, and the save reports failure.
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
    //
    // With `unsettled`, a read is also refused, and `*unsettled` set, when the
    // file changed while it was read (its size or time differ before and
    // after) or gave fewer bytes than its size said: it is being written, or a
    // network file system's cache was stale, and a later read may succeed.
    static std::optional<QByteArray> load(const QString &path, qsizetype maxBytes,
                                          const NeededLength &needed = {}, QString *why = nullptr,
                                          bool *unsettled = nullptr);

    // True only when the file holds `bytes` on disk; `why` says what failed.
    static bool save(const QString &path, const QByteArray &bytes, QString *why = nullptr);

    // Whether `entry`, a name in a directory, is a temporary file that a save
    // of the file `fileName` in that directory writes aside.
    static bool isTemporaryOf(QByteArrayView entry, QByteArrayView fileName);

    // How old an unlocked temporary file must be before a save removes it.
    static constexpr int StaleSeconds = 60;
};

} // namespace storage
