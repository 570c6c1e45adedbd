// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

class QWidget;
class QMenu;
class QAction;

namespace runtime {

// An invisible top-level menu whose items pop up at the mouse pointer, or
// where the caller says (a menu opened from the keyboard opens at its
// window); its caption is never shown, but names the popup for assistive
// tools. A caption "-" is a separator, which cannot be chosen. popup()
// returns when the menu has closed; the chosen item's Click has run by then.
class PopupMenu
{
public:
    explicit PopupMenu(QString caption);

    void addItem(const QString &caption, std::function<void()> click = {});

    // At the mouse pointer.
    void popup(QWidget *owner) const;
    // With its top-left corner at `corner`, in screen pixels.
    void popup(QWidget *owner, QPoint corner) const;

    // For tests: what popup() would show, "-" for separators.
    QStringList itemCaptions() const;
    // Replaces how the menu is shown, so that tests can choose an item:
    // the function gets the captions and the screen point where the menu
    // would open, and returns the chosen index or -1.
    using Chooser = std::function<int(const QStringList &captions, QPoint at)>;
    static void setChooser(Chooser chooser);

private:
    struct Item
    {
        QString caption;
        std::function<void()> click;
    };
    QString m_caption;
    std::vector<Item> m_items;
};

} // namespace runtime
