// SPDX-License-Identifier: MIT
#include "ChangePoll.h"

namespace storage {

bool ChangePoll::due(const QList<FileStamp> &stamps, std::int64_t nowMs)
{
    const bool changed = !m_read || stamps != m_stamps;
    m_stamps = stamps;
    if (!changed && nowMs - m_lastRead < ForcedReadMs)
        return false;
    m_read = true;
    m_lastRead = nowMs;
    return true;
}

} // namespace storage
