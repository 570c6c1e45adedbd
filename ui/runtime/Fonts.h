// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>

namespace runtime {

// The designed font of the forms. Where it is not installed it resolves,
// through a font substitution, to the proportional Gothic that stands in for
// it (IPA P Gothic on Debian).
inline const QString DesignedFontName = QStringLiteral("ＭＳ Ｐゴシック");

void installFontSubstitutions();

// The designed font at a size in points, weight 400, no styles.
QFont designedFont(double points);

} // namespace runtime
