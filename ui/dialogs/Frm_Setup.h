// SPDX-License-Identifier: MIT
#pragma once

#include "Form.h"

#include <vector>

class SetupPage;

namespace runtime {
class CommandButton;
class TabControl;
} // namespace runtime

// The setup dialog: a tab control with one page per group of settings
// (message, speed, colours) and the buttons ＯＫ and キャンセル. Each opening
// fills every page from SignSettings; ＯＫ has every page store into
// SignSettings, saves both files and lays the sign out again, and a failed
// save keeps the dialog open; キャンセル (or Esc, or closing the window)
// shows the sign again and changes nothing. The pages hold the working
// values; the dialog knows none of them. Assistive tools see a dialog named
// by its caption.
class Frm_Setup : public runtime::Form
{
    Q_OBJECT

public:
    Frm_Setup();

    void Tab_Setup_Click(int previousTab);
    void Cmd_Ok_Click();
    void Cmd_Cansel_Click();

    // For tests: the page of type T.
    template <typename T> T *page() const
    {
        for (SetupPage *p : m_pages)
            if (auto *found = qobject_cast<T *>(p))
                return found;
        return nullptr;
    }

protected:
    void Form_Load() override;
    void closeRequested() override;

private:
    void addPage(SetupPage *page);
    void followCurrentPage();
    // After the two designed files: the options file where an option in it
    // changed, and the autostart entry; then the options take effect.
    bool storeOptions(QString *why);

    runtime::TabControl *Tab_Setup;
    runtime::CommandButton *Cmd_Ok;
    runtime::CommandButton *Cmd_Cansel;
    std::vector<SetupPage *> m_pages;
};
