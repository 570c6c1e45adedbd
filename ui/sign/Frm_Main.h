// SPDX-License-Identifier: MIT
#pragma once

#include "SignWindow.h"
#include "SmoothMotion.h"
#include "Timer.h"

// The sign: a thin window whose client area shows the background colour and
// the message label, moved left by the timer and laid out again on every
// resize. Releasing the right button over it opens the popup menu with the
// setup dialog, the version dialog and quit at the pointer; pressing the
// context-menu key or Shift+F10 while it has the keyboard opens it at the
// top-left corner of its client area. For assistive tools the message label
// holds the window's focus, so that a screen reader speaks the message when
// the window becomes active and again when it changes. Closing it by its
// close box quits, as the menu's quit command does.
//
// It keeps no state of its own: the message's position is the label's Left,
// and everything else is in SignSettings and the sign's options (smooth
// motion, which then ticks instead of the timer, and staying on top).
class Frm_Main : public Bas_Comm::SignWindow
{
    Q_OBJECT

public:
    Frm_Main();

    runtime::Timer Tim_Shift;
    // Drives the ticker instead of Tim_Shift while smooth motion is on.
    SmoothMotion Smooth_Motion;

    void Tim_Shift_Timer();
    void MenuSetup_Click();
    void MenuVersion_Click();
    void MenuEnd_Click();

    void applyOptions(const SignOptions &options) override;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    void closeRequested() override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void Lbl_Data_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void setDesignedProperties();
};
