// SPDX-License-Identifier: MIT
#include "Frm_Version.h"

#include "Bas_Comm.h"
#include "CommandButton.h"
#include "DialogLayout.h"
#include "Program.h"

#include <QLabel>

using namespace Bas_Comm;
namespace d = designed::frm_version;

Frm_Version::Frm_Version()
{
    setCaption(d::Caption);
    setWindowIcon(designed::programIcon());
    setBackColor(designed::frm_setup::BackColor);
    setClientSize(d::ClientWidth, d::ClientHeight);
    setFixedBorder();
    setAccessibleRole(QAccessible::Dialog);

    Img_Icon = new QLabel(this);
    Img_Icon->setAccessibleName(tr("プログラムのアイコン"));
    const QIcon icon = designed::programIcon();
    Img_Icon->setPixmap(icon.pixmap(icon.availableSizes().value(0, QSize(32, 32))));
    DialogLayout::place(Img_Icon, d::ImgIcon);

    DialogLayout::placeCaption(Lbl_title1, d::LblTitle1Caption, d::LblTitle1, d::LabelFontSize);
    DialogLayout::placeCaption(Lbl_title2, d::LblTitle2Caption, d::LblTitle2, d::LabelFontSize);

    Cmd_Ok = new runtime::CommandButton(d::CmdOkCaption, this);
    Cmd_Ok->setObjectName(QStringLiteral("Cmd_Ok"));
    DialogLayout::place(Cmd_Ok, d::CmdOk);
    runtime::onEvent(Cmd_Ok, &QPushButton::clicked, this, [this] { Cmd_Ok_Click(); });
    // ＯＫ is neither the default nor the cancel button: Return and Space
    // press it while it has the focus, and Esc does nothing.
    Cmd_Ok->setFocus();
}

void Frm_Version::Form_Load()
{
    const SignWindow *sign = signWindow();
    setTop(sign ? sign->Top() : 0);
    setLeft(sign ? sign->Left() : 0);
}

void Frm_Version::Cmd_Ok_Click()
{
    Unload();
    if (SignWindow *sign = signWindow()) {
        sign->setEnabled(true);
        sign->Show();
    }
}

void Frm_Version::closeRequested()
{
    Cmd_Ok_Click();
}
