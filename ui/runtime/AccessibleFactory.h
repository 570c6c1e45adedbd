// SPDX-License-Identifier: MIT
#pragma once

namespace runtime {

// Installs, once per process, the factory that gives the runtime's own
// widgets (label hosts and label rows) the interfaces assistive tools see
// them through. Every other object keeps Qt's own interface.
void installAccessibleFactory();

} // namespace runtime
