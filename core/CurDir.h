// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace storage {

// The current directory as a full path with "/" separators; only a root
// directory ends in a separator ("/").
QString CurDir();

// The separator that joins a directory and a file name on this platform.
inline constexpr char16_t PathSeparator = u'/';

// A directory, the separator and a file name, joined as they are: no check
// for a separator already at the end, no other normalisation.
QString joinPath(const QString &directory, const QString &fileName);

} // namespace storage
