// SPDX-License-Identifier: MIT
#include "SignWindow.h"

namespace Bas_Comm {

namespace {
SignWindow *current = nullptr;
}

SignWindow::SignWindow() : Menu(tr("メニュー"))
{
    current = this;
}

SignWindow::~SignWindow()
{
    if (current == this)
        current = nullptr;
}

SignWindow *signWindow()
{
    return current;
}

} // namespace Bas_Comm
