// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

namespace runtime {

// A command button: Space, or Return and Enter while it has the focus, click
// it. It is never a default button, so Return elsewhere in its window does
// not. Its Click handler is connected to clicked() with onEvent().
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    CommandButton(const QString &caption, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace runtime
