// SPDX-License-Identifier: MIT
#pragma once

#include "SetupPage.h"

class QCheckBox;

// Page "表示": how the sign shows itself, beyond the designed settings:
// smooth motion, staying above other windows, starting at login. Three check
// boxes filled from the sign's options and copied back into them; it reads
// and writes no file itself.
class DisplayPage : public SetupPage
{
    Q_OBJECT

public:
    DisplayPage();

    void load(const storage::SignSettingsRecord &) override {}
    void store(storage::SignSettingsRecord &) const override {}
    void loadOptions(const SignOptions &options) override;
    void storeOptions(SignOptions &options) const override;
    QList<QWidget *> inputControls() const override;

private:
    QCheckBox *Chk_Smooth;
    QCheckBox *Chk_On_Top;
    QCheckBox *Chk_Login;
};
