// SPDX-License-Identifier: MIT
#include "PopupMenu.h"

#include "Program.h"

#include <QCursor>
#include <QMenu>

namespace runtime {

namespace {
PopupMenu::Chooser &chooser()
{
    static PopupMenu::Chooser current;
    return current;
}
} // namespace

PopupMenu::PopupMenu(QString caption) : m_caption(std::move(caption)) {}

void PopupMenu::addItem(const QString &caption, std::function<void()> click)
{
    m_items.push_back({caption, std::move(click)});
}

QStringList PopupMenu::itemCaptions() const
{
    QStringList captions;
    for (const Item &item : m_items)
        captions << item.caption;
    return captions;
}

void PopupMenu::setChooser(Chooser replacement)
{
    chooser() = std::move(replacement);
}

void PopupMenu::popup(QWidget *owner) const
{
    popup(owner, QCursor::pos());
}

void PopupMenu::popup(QWidget *owner, QPoint corner) const
{
    if (hasEnded())
        return;
    int chosen = -1;
    if (chooser()) {
        chosen = chooser()(itemCaptions(), corner);
    } else {
        QMenu menu(m_caption, owner);
        std::vector<QAction *> actions;
        for (const Item &item : m_items)
            actions.push_back(item.caption == u"-" ? menu.addSeparator()
                                                   : menu.addAction(item.caption));
        QAction *picked = menu.exec(corner);
        for (std::size_t i = 0; i < actions.size(); ++i) {
            if (picked && actions[i] == picked)
                chosen = int(i);
        }
    }
    if (chosen < 0 || chosen >= int(m_items.size()) || m_items[std::size_t(chosen)].caption == u"-")
        return;
    if (const auto &click = m_items[std::size_t(chosen)].click)
        click();
}

} // namespace runtime
