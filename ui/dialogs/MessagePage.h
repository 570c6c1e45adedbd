// SPDX-License-Identifier: MIT
#pragma once

#include "Label.h"
#include "SetupPage.h"

class QLineEdit;
class MessageValidator;

// Page "文字": the message in a one-line text box that refuses what the
// message file can never keep, telling the user (beep and tooltip) why, and
// when a character will be stored as another; the same words become the box's
// description for assistive tools until the next edit. A double quote that
// the file cannot keep beside the rest of the text is accepted while typing
// and refused at ＯＫ, naming the characters in the way. The box is named by
// its caption for assistive tools and tells an input method where its caret
// is (runtime::TextBox).
class MessagePage : public SetupPage
{
    Q_OBJECT

public:
    MessagePage();

    void load(const storage::SignSettingsRecord &settings) override;
    void store(storage::SignSettingsRecord &settings) const override;
    QList<QWidget *> inputControls() const override;
    QString refusal() const override;

private:
    void showRefusal();
    void showNotice(const QString &text);
    void tellAssistiveTools(const QString &text);
    void clearNotice();

    runtime::Label Lbl_Title1{this};
    QLineEdit *Txt_Data;
    MessageValidator *m_validator;
    // Whether the notice in the box's description has outlived the edit
    // that raised it.
    bool m_noticeSettled = true;
};
