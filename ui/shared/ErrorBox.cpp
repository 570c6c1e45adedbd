// SPDX-License-Identifier: MIT
#include "Bas_Comm.h"

#include "MsgBox.h"
#include "UiLog.h"

#include <QCoreApplication>

namespace Bas_Comm {

void ErrorBox(const QString &prompt, const QString &reason)
{
    runtime::MsgBox(prompt, runtime::vbCritical,
                    QCoreApplication::translate("Bas_Comm", "エラーメッセージ"), reason);
}

void reportFailure(const char *what, const QString &prompt, const QString &reason)
{
    // Logged first: the box waits for the user, and the program may be
    // killed while it is open.
    if (what)
        qCWarning(lcUi, "%s: %s", what, qUtf8Printable(reason));
    else
        qCWarning(lcUi, "%s", qUtf8Printable(reason));
    ErrorBox(prompt, reason);
}

} // namespace Bas_Comm
