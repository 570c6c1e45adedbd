// SPDX-License-Identifier: MIT
#include "TextBox.h"

#include "IbusCaret.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace runtime {

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const bool asksForCaret = query & (Qt::ImCursorRectangle | Qt::ImAnchorRectangle);
    if (asksForCaret && m_edited && !m_painting && isVisible())
        const_cast<TextBox *>(this)->repaint();
    if (query == Qt::ImCursorRectangle && IbusCaret::inUse())
        return IbusCaret::answer(this, QLineEdit::inputMethodQuery(query).toRect());
    return QLineEdit::inputMethodQuery(query);
}

void TextBox::paintEvent(QPaintEvent *event)
{
    m_painting = true;
    QLineEdit::paintEvent(event);
    m_painting = false;
    m_edited = false;
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    m_edited = true;
    QLineEdit::keyPressEvent(event);
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    m_edited = true;
    QLineEdit::inputMethodEvent(event);
}

} // namespace runtime
