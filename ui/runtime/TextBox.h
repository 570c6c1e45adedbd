// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

namespace runtime {

// A one-line text box that tells an input method where its caret really is.
//
// QLineEdit places its caret with the horizontal scroll worked out at its
// last paint. An edit that changes the scroll (the first keystroke of an input
// method replacing a long, scrolled, selected message; typing at the end of a
// text wider than the box) makes it report the caret shifted by the old
// scroll, and the repaint that corrects the scroll reports nothing: the input
// method opens its candidate window that far left of the caret, or at the
// screen's edge. This box paints itself first when asked for its caret after
// such an edit, so the first answer is already right. Where Qt's ibus module
// would send the caret to ibus in logical pixels, it answers in the pixels
// ibus expects (IbusCaret).
//
// It changes nothing else of QLineEdit: not what it shows, accepts or emits.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr) : QLineEdit(parent) {}

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    bool m_edited = false; // since the last paint
    bool m_painting = false;
};

} // namespace runtime
