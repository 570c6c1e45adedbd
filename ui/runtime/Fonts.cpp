// SPDX-License-Identifier: MIT
#include "Fonts.h"

#include <QStringList>

namespace runtime {

// Qt tries a family itself before its substitutes, so where the designed
// font is installed it is still the one used; asking the font database first
// would load every font on the system before the window could show.
void installFontSubstitutions()
{
    QFont::insertSubstitutions(DesignedFontName,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                                QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
}

QFont designedFont(double points)
{
    QFont font(DesignedFontName);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace runtime
