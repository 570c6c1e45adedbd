// SPDX-License-Identifier: MIT
#include "DisplayPage.h"

#include "DialogLayout.h"

#include <QCheckBox>

namespace {

// Twips from the tab control's corner, one row under another like the
// colour page's rows.
constexpr designed::Rect SmoothRect{360, 600, 3000, 255};
constexpr designed::Rect OnTopRect{360, 960, 3000, 255};
constexpr designed::Rect LoginRect{360, 1320, 3000, 255};

QCheckBox *checkBox(QWidget *page, const char *name, const QString &text, const designed::Rect &r)
{
    auto *box = new QCheckBox(text, page);
    box->setObjectName(QString::fromLatin1(name));
    DialogLayout::place(box, r);
    return box;
}

} // namespace

DisplayPage::DisplayPage() : SetupPage(tr("表示"))
{
    Chk_Smooth = checkBox(this, "Chk_Smooth", tr("文字を滑らかに動かす"), SmoothRect);
    Chk_On_Top = checkBox(this, "Chk_On_Top", tr("常に手前に表示する"), OnTopRect);
    Chk_Login = checkBox(this, "Chk_Login", tr("ログイン時に起動する"), LoginRect);
}

void DisplayPage::loadOptions(const SignOptions &options)
{
    Chk_Smooth->setChecked(options.smoothMotion);
    Chk_On_Top->setChecked(options.stayOnTop);
    Chk_Login->setChecked(options.startAtLogin);
}

void DisplayPage::storeOptions(SignOptions &options) const
{
    options.smoothMotion = Chk_Smooth->isChecked();
    options.stayOnTop = Chk_On_Top->isChecked();
    options.startAtLogin = Chk_Login->isChecked();
}

QList<QWidget *> DisplayPage::inputControls() const
{
    return {Chk_Smooth, Chk_On_Top, Chk_Login};
}
