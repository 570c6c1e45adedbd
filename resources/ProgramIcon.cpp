// SPDX-License-Identifier: MIT
#include "DesignedProperties.h"

#include <QImage>
#include <QPixmap>

namespace designed {

QIcon programIcon()
{
    // The designed 32-pixel picture comes first, as the icon's natural size.
    // The renderings installed for the desktop follow, and the picture with
    // each pixel tripled, which that set lacks: a scaled screen or a window
    // manager then takes a picture drawn for the size it needs (64 pixels at
    // scale 2, 96 at 3) instead of smoothing the 32-pixel one.
    const QString designedPicture = QStringLiteral(":/velmora/velmora.xpm");
    QIcon icon(designedPicture);
    for (int size : {16, 24, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/velmora/icons/velmora-%1.png").arg(size), QSize(size, size));
    const QImage picture(designedPicture);
    icon.addPixmap(QPixmap::fromImage(
        picture.scaled(picture.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    return icon;
}

} // namespace designed
