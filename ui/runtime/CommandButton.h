#pragma once

#include <QPushButton>

#include <functional>

namespace runtime {

// A push button whose Click handler runs through the event dispatcher. Space,
// or Return and Enter while it has the focus, click it; it is never a default
// button, so Return elsewhere in its window does not.
class CommandButton : public QPushButton
{
public:
    CommandButton(const QString &caption, QWidget *parent);

    std::function<void()> Click;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace runtime
