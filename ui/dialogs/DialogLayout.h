// SPDX-License-Identifier: MIT
#pragma once

#include "DesignedProperties.h"
#include "Label.h"

class QWidget;

// Placing the dialogs' designed controls: a widget at its designed twips, and
// a caption label in the designed font, sized to its text.
namespace DialogLayout {

void place(QWidget *widget, const designed::Rect &r);
void placeCaption(runtime::Label &label, const QString &caption, const designed::Rect &r,
                  double points);

} // namespace DialogLayout
