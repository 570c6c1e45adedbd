#pragma once

#include "Form.h"
#include "Label.h"

#include <array>
#include <cstdint>
#include <memory>

class QLineEdit;
class QSlider;
class MessageValidator;

namespace runtime {
class CommandButton;
class TabControl;
} // namespace runtime

// The setup dialog: the message on page "文字", the speed on page "速度", the
// text and background colours on page "色". Its working values live in its
// controls and New_Speed until ＯＫ copies them into SignSettings, saves both
// files and lays the sign out again; キャンセル (or Esc, or closing the
// window) shows the sign again and changes nothing. A failed save keeps the
// dialog open. Every opening starts from the designed properties.
class Frm_Setup : public runtime::Form
{
public:
    Frm_Setup();
    ~Frm_Setup() override;

    runtime::TabControl *Tab_Setup;
    runtime::CommandButton *Cmd_Ok;
    runtime::CommandButton *Cmd_Cansel;
    QLineEdit *Txt_Data;
    QSlider *Sld_Speed;
    std::unique_ptr<runtime::Label> Lbl_Title1, Lbl_Title2, Lbl_Title3, Lbl_Title_Fore,
        Lbl_Title_Back, Lbl_Title_Fore_Color, Lbl_Title_Back_Color;
    std::array<std::unique_ptr<runtime::Label>, 8> Lbl_Fore_Color, Lbl_Back_Color;

    std::int16_t New_Speed = 0;

    void Lbl_Fore_Color_Click(std::int16_t index);
    void Lbl_Back_Color_Click(std::int16_t index);
    void Sld_Speed_Change();
    void Tab_Setup_Click(int previousTab);
    void Cmd_Ok_Click();
    void Cmd_Cansel_Click();

protected:
    void Form_Load() override;
    void closeRequested() override;

private:
    void createControls();
    void createMessagePage();
    void createSpeedPage();
    void createColourPage();
    void setTabOrder();
    void showRefusal();
    void showNotice(const QString &text);

    MessageValidator *m_validator;
};
