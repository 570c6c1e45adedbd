// SPDX-License-Identifier: MIT
#pragma once

#include "Form.h"
#include "Label.h"
#include "PopupMenu.h"
#include "SignOptions.h"

namespace Bas_Comm {

// The sign window as the shared routines see it: a form with the message
// label Lbl_Data and the popup menu Menu. The window itself (its designed
// properties and handlers) is Frm_Main; it registers itself here while it
// exists so that the layout, the popup and the settings file can reach it.
class SignWindow : public runtime::Form
{
    Q_OBJECT

public:
    SignWindow();
    ~SignWindow() override;

    runtime::Label Lbl_Data{this};

    // Puts the options into effect (smooth motion, staying on top).
    virtual void applyOptions(const SignOptions &) {}
    // Its caption names the menu for screen readers.
    runtime::PopupMenu Menu;
};

// The sign window while it exists, else nullptr.
SignWindow *signWindow();

} // namespace Bas_Comm
