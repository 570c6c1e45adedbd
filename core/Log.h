// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

// The program's log: one line per failure, on standard error as
// "velmora: what happened".
Q_DECLARE_LOGGING_CATEGORY(lcVelmora)
