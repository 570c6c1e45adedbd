// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

class QString;
class QVersionNumber;
class QWidget;

namespace runtime {

// The caret rectangle a text box gives Qt's ibus input context, so that ibus
// opens its candidate window at the caret on a scaled screen.
//
// ibus places its candidate window in the screen's device pixels. The ibus
// plugin of Qt 6.4 takes the caret rectangle in the focus window's logical
// pixels, adds the window's logical position and sends that to ibus without
// scaling it: with a device pixel ratio s other than 1 (QT_SCALE_FACTOR,
// Xft.dpi) the candidate window opens at 1/s of the caret's distance from the
// screen's corner, often over the dialog's other controls.
//
// When this process uses that plugin, answer() returns, for a caret rectangle
// in a widget's pixels, the rectangle which the plugin's own mapping (window
// offset and window position added, nothing scaled) turns into the caret's
// device rectangle on the screen: the pixels the caret covers, counted from
// where the X server has the window (not from its logical position, which is
// rounded), so the numbers ibus receives are exact at any scale.
//
// It changes nothing at scale 1, for any other input method (fcitx5's Qt
// module scales by itself, compose does not use the caret), on Wayland, or
// with a Qt newer than 6.4, whose plugin was not measured and may scale by
// itself. It is not a general mapping to device pixels: other readers of the
// caret rectangle get the same bent answer, which is why it is used only
// where the ibus plugin is what reads it.
class IbusCaret
{
public:
    // Whether Qt's input method module `imModule` (QT_IM_MODULE), on platform
    // `platform`, from Qt `qt`, sends logical pixels to ibus.
    static bool sendsLogicalPixels(const QString &imModule, const QString &platform,
                                   const QVersionNumber &qt);
    // The same for this process, decided once.
    static bool inUse();
    static QRect answer(const QWidget *widget, const QRect &caret);
};

} // namespace runtime
