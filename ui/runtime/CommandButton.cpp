// SPDX-License-Identifier: MIT
#include "CommandButton.h"

#include <QKeyEvent>

namespace runtime {

CommandButton::CommandButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        animateClick();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace runtime
