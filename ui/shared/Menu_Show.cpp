// SPDX-License-Identifier: MIT
#include "Bas_Comm.h"

namespace Bas_Comm {

void Menu_Show()
{
    if (SignWindow *window = signWindow())
        window->Menu.popup(window);
}

} // namespace Bas_Comm
