// SPDX-License-Identifier: MIT
#pragma once

#include "Form.h"
#include "Label.h"

class QLabel;

namespace runtime {
class CommandButton;
}

// The version dialog: the product line, a copyright notice and the program
// icon, with one button. While it is open the sign stays visible but takes no
// input; ＯＫ (or closing the window) gives the sign its input back; Esc does
// nothing, since ＯＫ is neither its default nor its cancel button.
// Assistive tools see a dialog named by its caption, with both lines as
// static text. It holds no data of its own.
class Frm_Version : public runtime::Form
{
    Q_OBJECT

public:
    Frm_Version();

    void Cmd_Ok_Click();

    // For tests: the product line.
    QString productLine() const { return Lbl_title1.Caption(); }

protected:
    void Form_Load() override;
    void closeRequested() override;

private:
    QLabel *Img_Icon;
    runtime::Label Lbl_title1{this};
    runtime::Label Lbl_title2{this};
    runtime::CommandButton *Cmd_Ok;
};
