// SPDX-License-Identifier: MIT
#include "Bas_Comm.h"

#include "MsgBox.h"

namespace Bas_Comm {

void ErrorBox(const QString &prompt)
{
    runtime::MsgBox(prompt, runtime::vbCritical, QStringLiteral("エラーメッセージ"));
}

} // namespace Bas_Comm
