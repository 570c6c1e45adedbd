// SPDX-License-Identifier: MIT
#pragma once

#include "LabelHost.h"

#include <QWidget>

#include <vector>

class QTabBar;

namespace runtime {

// A tab control: a row of tabs along the top edge over a framed panel, and
// one page per tab. Every page covers the whole control, so that its labels
// and controls are placed relative to the control's top-left corner, as
// designed; the tab strip lies above the pages. Only the current page is
// shown. Click is emitted (with the previous tab), through the runtime's
// dispatch, after the current tab changed by mouse or keyboard. Anywhere in
// its window, Ctrl+Tab and Ctrl+Page Down turn to the next page,
// Ctrl+Shift+Tab and Ctrl+Page Up to the previous one, round from the last to
// the first; wherever the keyboard focus was in the window (the tabs, the page
// left, the buttons below), it moves to the first control of the new page that
// takes Tab, or to the tabs when the page has none, so that the next Tab
// always continues in the page now shown. It does not create the pages'
// contents.
class TabControl : public QWidget
{
    Q_OBJECT

public:
    explicit TabControl(QWidget *parent);

    // Adds `page` (which the control then owns) under a new tab.
    void addPage(LabelHost *page, const QString &caption);
    int pageCount() const { return int(m_pages.size()); }

    int Tab() const;
    void setTab(int index);
    QTabBar *strip() const { return m_strip; }
    // Turns `step` pages on (or back, if negative), as the keys do.
    void turnPage(int step);

signals:
    void Click(int previousTab);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showCurrentPage();

    QTabBar *m_strip;
    std::vector<LabelHost *> m_pages;
    int m_current = 0;
};

} // namespace runtime
