// SPDX-License-Identifier: MIT
#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace runtime {

void installFontSubstitutions()
{
    if (QFontDatabase::families().contains(DesignedFontName))
        return;
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
