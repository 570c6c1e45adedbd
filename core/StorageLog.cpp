// SPDX-License-Identifier: MIT
#include "StorageLog.h"

Q_LOGGING_CATEGORY(lcStorage, "velmora.storage", QtInfoMsg)
