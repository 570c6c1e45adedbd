// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

namespace runtime {

// The modal message box: the prompt, a buttons value and the title, with
// `detail` in smaller text under the prompt when given. The program shows
// only the critical box (vbCritical: the critical icon and one OK button);
// any other buttons value shows the same box without an icon. Returns when
// the user has dismissed it. Does nothing after End().
void MsgBox(const QString &prompt, int buttons, const QString &title, const QString &detail = {});

// The buttons value of a box with the critical icon and one OK button.
inline constexpr int vbCritical = 16;

// Replaces how boxes are shown, so that tests can see the prompts without a
// modal loop. An empty function restores the real box.
using MessageBoxPresenter = std::function<void(const QString &prompt, int buttons,
                                               const QString &title, const QString &detail)>;
void setMessageBoxPresenter(MessageBoxPresenter presenter);

} // namespace runtime
