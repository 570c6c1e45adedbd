#pragma once

#include <QString>

namespace runtime {

// The current directory as a full path with "/" separators; only a root
// directory ends in a separator ("/").
QString CurDir();

// The separator that joins a directory and a file name on this platform.
inline constexpr char16_t PathSeparator = u'/';

} // namespace runtime
