// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

// The windows' log, "velmora.ui": the forms runtime, the sign's shared
// routines, the dialogs and the sign itself. One line per failure.
Q_DECLARE_LOGGING_CATEGORY(lcUi)
