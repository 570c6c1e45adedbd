// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>

namespace storage {

// What the system says of a file without reading it: enough to tell that it
// was changed or replaced. Two stamps are equal when nothing shows a change;
// a network file system's attribute cache may still hide one.
struct FileStamp
{
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileStamp &) const = default;

    // The stamp of the file at `path`, following links.
    static FileStamp of(const QString &path);
};

} // namespace storage
