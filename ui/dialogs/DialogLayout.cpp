// SPDX-License-Identifier: MIT
#include "DialogLayout.h"

#include "Fonts.h"
#include "Twips.h"

#include <QWidget>

namespace DialogLayout {

void place(QWidget *widget, const designed::Rect &r)
{
    widget->setGeometry(runtime::pixelRect(r.left, r.top, r.width, r.height));
}

void placeCaption(runtime::Label &label, const QString &caption, const designed::Rect &r,
                  double points)
{
    label.setFont(runtime::designedFont(points));
    label.setForeColor(SystemColor::ButtonText);
    label.setOpaque(false);
    label.setCaption(caption);
    label.setGeometry(r.left, r.top, r.width, r.height);
    label.setAutoSize(true);
}

} // namespace DialogLayout
