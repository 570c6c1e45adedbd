// SPDX-License-Identifier: MIT
#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace runtime {

namespace {

// The system colour indexes 0 to 24 and the palette entries that stand in for
// them here.
struct SchemeEntry
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<SchemeEntry, 25> systemColors{{
    {QPalette::Active, QPalette::Button},            // 0 scroll bars
    {QPalette::Active, QPalette::Window},            // 1 desktop
    {QPalette::Active, QPalette::Highlight},         // 2 active title bar
    {QPalette::Inactive, QPalette::Highlight},       // 3 inactive title bar
    {QPalette::Active, QPalette::Window},            // 4 menu bar
    {QPalette::Active, QPalette::Base},              // 5 window background
    {QPalette::Active, QPalette::Shadow},            // 6 window frame
    {QPalette::Active, QPalette::WindowText},        // 7 menu text
    {QPalette::Active, QPalette::Text},              // 8 window text
    {QPalette::Active, QPalette::HighlightedText},   // 9 title bar text
    {QPalette::Active, QPalette::Button},            // 10 active border
    {QPalette::Inactive, QPalette::Button},          // 11 inactive border
    {QPalette::Active, QPalette::Dark},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlighted text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Mid},               // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive title bar text
    {QPalette::Active, QPalette::Light},             // 20 3-D highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 tooltip background
}};

} // namespace

QColor resolveColor(std::int32_t value)
{
    const auto bits = std::uint32_t(value);
    if (bits & 0x80000000u) {
        const std::uint32_t index = bits & 0x7FFFFFFFu;
        if (index >= systemColors.size())
            return Qt::black;
        const SchemeEntry &entry = systemColors[index];
        return QGuiApplication::palette().color(entry.group, entry.role);
    }
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

} // namespace runtime
