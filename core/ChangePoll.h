// SPDX-License-Identifier: MIT
#pragma once

#include "FileStamp.h"

#include <QList>

#include <cstdint>

namespace storage {

// When to read files that change notification cannot be trusted for (on a
// network or FUSE file system, where writes from another machine raise no
// event). Every poll looks at the files' stamps; they are read when a stamp
// differs from the last poll's, and at least every ForcedReadMs when they all
// look the same, since attribute caches may hide a change (a same-size
// rewrite within the same second, or a stale size). Pure: the caller gives
// the stamps and the time.
class ChangePoll
{
public:
    static constexpr std::int64_t IntervalMs = 2000;
    static constexpr std::int64_t ForcedReadMs = 10000;

    // Whether the files should be read now, given their stamps and the time
    // (ms on a monotonic clock). The first poll always reads.
    bool due(const QList<FileStamp> &stamps, std::int64_t nowMs);

private:
    QList<FileStamp> m_stamps;
    std::int64_t m_lastRead = 0;
    bool m_read = false;
};

} // namespace storage
