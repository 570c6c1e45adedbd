// SPDX-License-Identifier: MIT
#include "Bas_Comm.h"

#include "MsgBox.h"

namespace Bas_Comm {

void ErrorBox(const QString &prompt, const QString &reason)
{
    runtime::MsgBox(prompt, runtime::vbCritical, QStringLiteral("エラーメッセージ"), reason);
}

} // namespace Bas_Comm
