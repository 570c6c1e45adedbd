// SPDX-License-Identifier: MIT
#include "UiLog.h"

Q_LOGGING_CATEGORY(lcUi, "velmora.ui", QtInfoMsg)
