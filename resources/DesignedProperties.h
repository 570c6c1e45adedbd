#pragma once

// The designed properties of the three windows: what each form and control
// looks like when it is created, before any handler has run. Lengths are twips,
// colours 0x00BBGGRR or a system colour reference 0x800000nn.

#include <QIcon>
#include <QString>

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

} // namespace designed
