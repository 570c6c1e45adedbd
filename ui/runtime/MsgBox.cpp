// SPDX-License-Identifier: MIT
#include "MsgBox.h"

#include "Program.h"

#include <QApplication>
#include <QGridLayout>
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
    return (buttons & 0x70) == vbCritical ? QMessageBox::Critical : QMessageBox::NoIcon;
}

} // namespace

void MsgBox(const QString &prompt, int buttons, const QString &title, const QString &detail)
{
    if (hasEnded())
        return;
    if (presenter()) {
        presenter()(prompt, buttons, title, detail);
        return;
    }
    QMessageBox box(iconFor(buttons), title, prompt, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty()) {
        // A path has no spaces to break at: a zero-width space after each
        // separator lets a long one wrap instead of widening the box.
        box.setInformativeText(QString(detail).replace(u'/', QStringLiteral("/\u200B")));
        // Wide enough that a reason reads as a line or two, not a column.
        if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
            grid->addItem(new QSpacerItem(420, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                          grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void setMessageBoxPresenter(MessageBoxPresenter replacement)
{
    presenter() = std::move(replacement);
}

} // namespace runtime
