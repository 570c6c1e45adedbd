// SPDX-License-Identifier: MIT
#pragma once

// The designed properties of the three windows: what each form and control
// looks like when it is created, before any handler has run. Lengths are twips,
// colours 0x00BBGGRR or a system colour reference 0x800000nn. The texts are
// the designed Japanese, read through the installed translation (see
// TranslatableText); the "//:" lines are notes for translators.

#include "SystemColor.h"
#include "TranslatableText.h"

#include <QIcon>
#include <QString>

#include <array>
#include <cstdint>

namespace designed {

struct Rect
{
    float left, top, width, height;
};

// The program icon: 32 x 32 pixels, 16 colours, shared by every window.
QIcon programIcon();

namespace frm_main {
inline const QString Caption = QStringLiteral("Velmora");
inline constexpr std::int32_t BackColor = 0x000000;
inline constexpr float ClientWidth = 3120;
inline constexpr float ClientHeight = 375;

inline constexpr int TimerInterval = 100;

//: What the sign shows until its message file has been read.
inline constexpr TranslatableText LabelCaption{
    QT_TRANSLATE_NOOP("designed", "Velmoraのデータファイルがありません。")};
inline constexpr std::int32_t LabelBackColor = 0x000000;
inline constexpr std::int32_t LabelForeColor = 0x00FF00;
inline constexpr Rect LabelRect{0, 0, 3255, 375};
inline constexpr double LabelFontSize = 20.25;

//: The sign's menu: opens the setup dialog.
inline constexpr TranslatableText MenuSetup{QT_TRANSLATE_NOOP("designed", "設定")};
//: The sign's menu, and the caption of the dialog it opens.
inline constexpr TranslatableText MenuVersion{QT_TRANSLATE_NOOP("designed", "バージョン情報")};
//: The sign's menu: saves the window's place and quits.
inline constexpr TranslatableText MenuEnd{QT_TRANSLATE_NOOP("designed", "終了")};
inline const QString Separator = QStringLiteral("-");
} // namespace frm_main

namespace frm_setup {
//: The setup dialog's caption.
inline constexpr TranslatableText Caption{QT_TRANSLATE_NOOP("designed", "設定画面")};
inline constexpr float ClientWidth = 3885;
inline constexpr float ClientHeight = 2520;

inline constexpr Rect TabSetup{120, 240, 3615, 1695};
//: The setup dialog's tabs: the message, its speed, its colours. The three
//: share a strip 241 pixels wide.
inline constexpr TranslatableText TabCaptions[] = {
    TranslatableText{QT_TRANSLATE_NOOP("designed", "文字")},
    TranslatableText{QT_TRANSLATE_NOOP("designed", "速度")},
    TranslatableText{QT_TRANSLATE_NOOP("designed", "色")}};
// Colour of the dialogs' background and of their captions' text.
inline constexpr std::int32_t BackColor = SystemColor::ButtonFace;
inline constexpr std::int32_t CaptionColor = SystemColor::ButtonText;
inline constexpr Rect CmdOk{720, 2040, 1455, 375};
//: Both dialogs' button that applies (setup) or closes (version).
inline constexpr TranslatableText CmdOkCaption{QT_TRANSLATE_NOOP("designed", "ＯＫ")};
inline constexpr Rect CmdCansel{2280, 2040, 1455, 375};
inline constexpr TranslatableText CmdCanselCaption{QT_TRANSLATE_NOOP("designed", "キャンセル")};

// Page contents, placed relative to the tab control's top-left corner.
inline constexpr Rect LblTitle1{1320, 720, 900, 180};
//: The caption over the message box, which also names the box for screen readers.
inline constexpr TranslatableText LblTitle1Caption{QT_TRANSLATE_NOOP("designed", "表示文字列")};
inline constexpr Rect TxtData{240, 1080, 3135, 285};
inline constexpr double TxtDataFontSize = 9.75;

inline constexpr Rect LblTitle2{360, 720, 285, 180};
//: The slow end of the speed slider.
inline constexpr TranslatableText LblTitle2Caption{QT_TRANSLATE_NOOP("designed", "遅く")};
inline constexpr Rect LblTitle3{3000, 720, 285, 180};
//: The fast end of the speed slider; at most 40 pixels wide.
inline constexpr TranslatableText LblTitle3Caption{QT_TRANSLATE_NOOP("designed", "早く")};
inline constexpr Rect SldSpeed{240, 1080, 3135, 375};
inline constexpr int SpeedMin = 1;
inline constexpr int SpeedMax = 30000;

inline constexpr Rect LblTitleFore{360, 480, 540, 180};
//: The row of text colours. A caption wider than 44 pixels moves the colour
//: previews to the right.
inline constexpr TranslatableText LblTitleForeCaption{QT_TRANSLATE_NOOP("designed", "文字色")};
inline constexpr Rect LblTitleForeColor{1080, 480, 2055, 135};
inline constexpr Rect LblTitleBack{360, 1080, 540, 180};
//: The row of background colours. A caption wider than 44 pixels moves the
//: colour previews to the right.
inline constexpr TranslatableText LblTitleBackCaption{QT_TRANSLATE_NOOP("designed", "背景色")};
inline constexpr Rect LblTitleBackColor{1080, 1080, 2055, 135};
inline constexpr float ForeSwatchTop = 720;
inline constexpr float BackSwatchTop = 1320;
inline constexpr float SwatchLeft = 360;
inline constexpr float SwatchPitch = 360;
inline constexpr float SwatchSize = 255;
inline constexpr std::int32_t PreviewBackColor = SystemColor::WindowBackground;

// Both swatch rows, index 0 at the left. Swatch 0 is the system's window
// colour, kept as the reference itself.
inline constexpr std::array<std::int32_t, 8> Palette = {
    SystemColor::WindowBackground,
    0x0000FFFF,
    0x0000FF00,
    0x00FFFF00,
    0x00FF0000,
    0x00FF00FF,
    0x000000FF,
    0x00000000,
};

// The dialog's own font; the fitted caption sizes correspond to 9 points.
inline constexpr double DialogFontSize = 9;
} // namespace frm_setup

namespace frm_version {
inline constexpr TranslatableText Caption{QT_TRANSLATE_NOOP("designed", "バージョン情報")};
inline constexpr float ClientWidth = 3060;
inline constexpr float ClientHeight = 1815;
inline constexpr Rect ImgIcon{120, 120, 480, 480};
inline constexpr Rect LblTitle1{840, 360, 2100, 195};
inline constexpr TranslatableText LblTitle1Caption{
    QT_TRANSLATE_NOOP("designed", "Velmora Version 1.00")};
inline constexpr Rect LblTitle2{480, 840, 2280, 195};
inline constexpr TranslatableText LblTitle2Caption{
    QT_TRANSLATE_NOOP("designed", "© 2026 Velmora Project")};
inline constexpr double LabelFontSize = 9.75;
inline constexpr Rect CmdOk{840, 1320, 1455, 375};
inline constexpr TranslatableText CmdOkCaption{QT_TRANSLATE_NOOP("designed", "ＯＫ")};
} // namespace frm_version

} // namespace designed
