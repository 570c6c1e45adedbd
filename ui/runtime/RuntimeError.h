// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace runtime {

// An error raised by a runtime operation (a value that does not fit its
// integer type, a property the toolkit rejects). Handlers that trap errors
// catch this type; handlers that do not let it reach the event dispatcher.
class RuntimeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace runtime
