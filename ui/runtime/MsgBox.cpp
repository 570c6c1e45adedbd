// SPDX-License-Identifier: MIT
#include "MsgBox.h"

#include "Program.h"

#include <QApplication>
#include <QMessageBox>

namespace runtime {

namespace {

MessageBoxPresenter &presenter()
{
    static MessageBoxPresenter current;
    return current;
}

QMessageBox::Icon iconFor(int buttons)
{
    switch (buttons & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void MsgBox(const QString &prompt, int buttons, const QString &title)
{
    if (hasEnded())
        return;
    if (presenter()) {
        presenter()(prompt, buttons, title);
        return;
    }
    QMessageBox box(iconFor(buttons), title, prompt, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void setMessageBoxPresenter(MessageBoxPresenter replacement)
{
    presenter() = std::move(replacement);
}

} // namespace runtime
