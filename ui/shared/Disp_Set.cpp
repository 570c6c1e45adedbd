// SPDX-License-Identifier: MIT
#include "Bas_Comm.h"

#include "Program.h"
#include "RuntimeError.h"
#include "Screen.h"
#include "Twips.h"

#include <QCoreApplication>

namespace Bas_Comm {

void Disp_Set()
{
    SignWindow *window = signWindow();
    try {
        if (!window)
            throw runtime::RuntimeError("no sign window");
        runtime::Label &label = window->Lbl_Data;

        SignSettings.Width = runtime::toInt16(window->Width());
        const std::int16_t height = runtime::toInt16(window->Height());
        SignSettings.Height = height == 0 ? 1 : height;

        // The text's point size is the client height in points, at least 8.
        const std::int16_t points = runtime::toInt16(window->ScaleHeight() / 20.0);
        label.setFontSize(points > 7 ? points : 8);
        label.setCaption(SignSettings.DataText);
        label.setWidth(runtime::screenWidth());
        label.setTop(0);
        label.setLeft(SignSettings.Width);
        label.setAutoSize(true);
        label.setForeColor(SignSettings.ForeColor);
        label.setBackColor(SignSettings.BackColor);
        window->setBackColor(SignSettings.BackColor);
    } catch (const runtime::RuntimeError &error) {
        const QString reason = QStringLiteral("the window's size cannot be laid out (%1)")
                                   .arg(QString::fromUtf8(error.what()));
        reportFailure(
            nullptr, QCoreApplication::translate("Bas_Comm", "文字列の表示に失敗しました"), reason);
        runtime::End();
    }
}

} // namespace Bas_Comm
