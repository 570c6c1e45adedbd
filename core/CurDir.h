// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace storage {

// The current directory as a full path with "/" separators; only a root
// directory ends in a separator ("/"). Once the directory has been removed
// the system no longer knows its path: the last path it had is kept, so that
// nothing is ever joined to an empty directory.
QString CurDir();

// The separator that joins a directory and a file name on this platform.
inline constexpr char16_t PathSeparator = u'/';

// A directory, the separator and a file name, joined as they are: no check
// for a separator already at the end, no other normalisation.
QString joinPath(const QString &directory, const QString &fileName);

// A path as a diagnostic shows it: a directory read from the settings file
// may be of any length, so only its first 80 characters are quoted, with the
// file name after them.
QString shownPath(const QString &path);

} // namespace storage
