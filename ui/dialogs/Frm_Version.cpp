#include "Frm_Version.h"

#include "Bas_Comm.h"
#include "CommandButton.h"
#include "DesignedProperties.h"
#include "Fonts.h"
#include "Twips.h"

#include <QLabel>
#include <QShortcut>

using namespace Bas_Comm;
namespace d = designed::frm_version;

namespace {

void placeLabel(runtime::Label &label, const QString &caption, const designed::Rect &r)
{
    label.setFont(runtime::designedFont(d::LabelFontSize));
    label.setForeColor(std::int32_t(0x80000012));
    label.setOpaque(false);
    label.setCaption(caption);
    label.setGeometry(r.left, r.top, r.width, r.height);
    label.setAutoSize(true);
}

} // namespace

Frm_Version::Frm_Version()
{
    setCaption(d::Caption);
    setWindowIcon(designed::programIcon());
    setBackColor(std::int32_t(0x8000000F));
    setClientSize(d::ClientWidth, d::ClientHeight);
    setFixedBorder(true);

    Img_Icon = new QLabel(this);
    const QIcon icon = designed::programIcon();
    Img_Icon->setPixmap(icon.pixmap(icon.availableSizes().value(0, QSize(32, 32))));
    Img_Icon->setGeometry(
        runtime::pixelRect(d::ImgIcon.left, d::ImgIcon.top, d::ImgIcon.width, d::ImgIcon.height));

    placeLabel(Lbl_title1, d::LblTitle1Caption, d::LblTitle1);
    placeLabel(Lbl_title2, d::LblTitle2Caption, d::LblTitle2);

    Cmd_Ok = new runtime::CommandButton(d::CmdOkCaption, this);
    Cmd_Ok->setGeometry(
        runtime::pixelRect(d::CmdOk.left, d::CmdOk.top, d::CmdOk.width, d::CmdOk.height));
    Cmd_Ok->Click = [this] { Cmd_Ok_Click(); };
    Cmd_Ok->setFocus();

    // Esc closes the dialog as its only button does.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, Cmd_Ok, &QPushButton::click);
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
