// SPDX-License-Identifier: MIT
#include "TabControl.h"

#include "Program.h"
#include "TabStrip.h"

#include <QApplication>
#include <QPainter>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace runtime {

TabControl::TabControl(QWidget *parent) : QWidget(parent), m_strip(new TabStrip(this))
{
    m_strip->setDrawBase(false);
    m_strip->setFocusPolicy(Qt::StrongFocus);
    m_strip->raise();
    showCurrentPage();
    connect(m_strip, &QTabBar::currentChanged, this, [this](int index) {
        const int previous = m_current;
        m_current = index;
        showCurrentPage();
        dispatch([this, previous] { emit Click(previous); });
    });
    const std::pair<QKeyCombination, int> turns[] = {
        {Qt::CTRL | Qt::Key_Tab, 1},
        {Qt::CTRL | Qt::Key_PageDown, 1},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
        {Qt::CTRL | Qt::Key_PageUp, -1},
    };
    for (const auto &[keys, step] : turns) {
        auto *shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { turnPage(step); });
    }
}

void TabControl::turnPage(int step)
{
    const int count = pageCount();
    if (count == 0)
        return;
    const QWidget *focus = QApplication::focusWidget();
    const bool focusInWindow = focus && focus->window() == window();
    setTab(((m_current + step) % count + count) % count);
    if (!focusInWindow)
        return;
    // The first control of the new page in the Tab order, as Tab would find it.
    const LabelHost *page = m_pages[std::size_t(m_current)];
    for (QWidget *w = m_strip->nextInFocusChain(); w != m_strip; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    m_strip->setFocus(Qt::TabFocusReason);
}

void TabControl::addPage(LabelHost *page, const QString &caption)
{
    page->setParent(this);
    page->setGeometry(rect());
    m_pages.push_back(page);
    // Adding the first tab makes it current, which shows its page.
    const QSignalBlocker quiet(m_strip);
    m_strip->addTab(caption);
    showCurrentPage();
}

int TabControl::Tab() const
{
    return m_strip->currentIndex();
}

void TabControl::setTab(int index)
{
    m_strip->setCurrentIndex(index);
}

void TabControl::showCurrentPage()
{
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setVisible(int(i) == m_current);
    m_strip->raise();
}

void TabControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_strip->setGeometry(0, 0, width(), m_strip->sizeHint().height());
    for (LabelHost *page : m_pages)
        page->setGeometry(rect());
}

void TabControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_strip->height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_strip->size();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

} // namespace runtime
