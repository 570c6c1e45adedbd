// SPDX-License-Identifier: MIT
#include "AppLog.h"

#include <QByteArrayView>

#include <cstdio>

Q_LOGGING_CATEGORY(lcApp, "velmora.app", QtInfoMsg)

namespace AppLog {

namespace {

QtMessageHandler previous = nullptr;

bool ours(const char *category)
{
    const QByteArrayView name(category);
    return name == "velmora" || name.startsWith("velmora.");
}

// The program's lines read the same whatever QT_MESSAGE_PATTERN says: the
// README and the scripts that read standard error know them by this prefix.
void output(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!ours(context.category)) {
        if (previous)
            previous(type, context, message);
        return;
    }
    std::fprintf(stderr, "velmora: %s\n", qPrintable(message));
    std::fflush(stderr);
}

} // namespace

void installOutput()
{
    previous = qInstallMessageHandler(output);
}

} // namespace AppLog
