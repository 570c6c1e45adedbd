// SPDX-License-Identifier: MIT
#pragma once

#include "Label.h"
#include "SetupPage.h"

class QLineEdit;
class MessageValidator;

// Page "文字": the message in a one-line text box that takes only what the
// message file can keep, telling the user (beep and tooltip) why anything else
// is refused and when a character will be stored as another. The box is named
// by its caption for assistive tools and tells an input method where its caret
// is (runtime::TextBox).
class MessagePage : public SetupPage
{
    Q_OBJECT

public:
    MessagePage();

    void load(const storage::SignSettingsRecord &settings) override;
    void store(storage::SignSettingsRecord &settings) const override;
    QList<QWidget *> inputControls() const override;

private:
    void showRefusal();
    void showNotice(const QString &text);

    runtime::Label Lbl_Title1{this};
    QLineEdit *Txt_Data;
    MessageValidator *m_validator;
};
