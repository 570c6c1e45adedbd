// SPDX-License-Identifier: MIT
#pragma once

// The designed properties of the three windows: what each form and control
// looks like when it is created, before any handler has run. Lengths are twips,
// colours 0x00BBGGRR or a system colour reference 0x800000nn.

#include "SystemColor.h"

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

inline const QString LabelCaption = QStringLiteral("Velmoraのデータファイルがありません。");
inline constexpr std::int32_t LabelBackColor = 0x000000;
inline constexpr std::int32_t LabelForeColor = 0x00FF00;
inline constexpr Rect LabelRect{0, 0, 3255, 375};
inline constexpr double LabelFontSize = 20.25;

inline const QString MenuSetup = QStringLiteral("設定");
inline const QString MenuVersion = QStringLiteral("バージョン情報");
inline const QString MenuEnd = QStringLiteral("終了");
inline const QString Separator = QStringLiteral("-");
} // namespace frm_main

namespace frm_setup {
inline const QString Caption = QStringLiteral("設定画面");
inline constexpr float ClientWidth = 3885;
inline constexpr float ClientHeight = 2520;

inline constexpr Rect TabSetup{120, 240, 3615, 1695};
inline const QString TabCaptions[] = {QStringLiteral("文字"), QStringLiteral("速度"),
                                      QStringLiteral("色")};
// Colour of the dialogs' background and of their captions' text.
inline constexpr std::int32_t BackColor = SystemColor::ButtonFace;
inline constexpr std::int32_t CaptionColor = SystemColor::ButtonText;
inline constexpr Rect CmdOk{720, 2040, 1455, 375};
inline const QString CmdOkCaption = QStringLiteral("ＯＫ");
inline constexpr Rect CmdCansel{2280, 2040, 1455, 375};
inline const QString CmdCanselCaption = QStringLiteral("キャンセル");

// Page contents, placed relative to the tab control's top-left corner.
inline constexpr Rect LblTitle1{1320, 720, 900, 180};
inline const QString LblTitle1Caption = QStringLiteral("表示文字列");
inline constexpr Rect TxtData{240, 1080, 3135, 285};
inline constexpr double TxtDataFontSize = 9.75;

inline constexpr Rect LblTitle2{360, 720, 285, 180};
inline const QString LblTitle2Caption = QStringLiteral("遅く");
inline constexpr Rect LblTitle3{3000, 720, 285, 180};
inline const QString LblTitle3Caption = QStringLiteral("早く");
inline constexpr Rect SldSpeed{240, 1080, 3135, 375};
inline constexpr int SpeedMin = 1;
inline constexpr int SpeedMax = 30000;

inline constexpr Rect LblTitleFore{360, 480, 540, 180};
inline const QString LblTitleForeCaption = QStringLiteral("文字色");
inline constexpr Rect LblTitleForeColor{1080, 480, 2055, 135};
inline constexpr Rect LblTitleBack{360, 1080, 540, 180};
inline const QString LblTitleBackCaption = QStringLiteral("背景色");
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
inline const QString Caption = QStringLiteral("バージョン情報");
inline constexpr float ClientWidth = 3060;
inline constexpr float ClientHeight = 1815;
inline constexpr Rect ImgIcon{120, 120, 480, 480};
inline constexpr Rect LblTitle1{840, 360, 2100, 195};
inline const QString LblTitle1Caption = QStringLiteral("Velmora Version 1.00");
inline constexpr Rect LblTitle2{480, 840, 2280, 195};
inline const QString LblTitle2Caption = QStringLiteral("© 2026 Velmora Project");
inline constexpr double LabelFontSize = 9.75;
inline constexpr Rect CmdOk{840, 1320, 1455, 375};
inline const QString CmdOkCaption = QStringLiteral("ＯＫ");
} // namespace frm_version

} // namespace designed
