// SPDX-License-Identifier: MIT
#pragma once

#include "LabelHost.h"

#include <QMargins>
#include <QSize>

#include <cstdint>

#include <functional>
#include <optional>

namespace runtime {

// A top-level window with the geometry of the design's forms: Top, Left,
// Width and Height are the outer frame (title bar and borders included) in
// single-precision twips, as the window manager reports it; ScaleWidth and
// ScaleHeight are the client area. Under X11 the frame is known only once the
// window is mapped, so an outer size set before that is applied to the client
// area again when the frame becomes known.
//
// Load() runs Form_Load; Form_Resize follows every change of the client size
// or of the window state (minimised, normal, maximised) except those made
// inside Form_Load. A close requested by the user (close box, Alt+F4, window
// menu) is refused and, while the form is enabled, reported to
// closeRequested(), so that each form decides what that means; Unload()
// closes for real.
//
// Top, Left, Width and Height read back what they were last set to while the
// window stands there: on a scaled screen Qt rounds between logical and device
// pixels separately for the client area and for the frame, so a window that
// has not moved can read one logical pixel off (see roundingSlack).
//
// A form is never larger than 32767 twips either way, the largest size its
// integer fields can hold. Assistive tools see it as a window named by its
// caption unless it says it is a dialog; from the moment it is shown, the
// control with the keyboard focus shows it, as after a Tab.
class Form : public LabelHost
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr);

    void Load();

    void setCaption(const QString &caption) { setWindowTitle(caption); }

    float Top() const;
    void setTop(float twips);
    float Left() const;
    void setLeft(float twips);
    float Width() const;
    void setWidth(float twips);
    float Height() const;
    void setHeight(float twips);

    float ScaleWidth() const;
    float ScaleHeight() const;

    // Sets the client area, for forms designed by their client size.
    void setClientSize(float widthTwips, float heightTwips);
    // A fixed border: the user cannot resize the form at its current size.
    void setFixedBorder();

    void Show();
    void Hide() { hide(); }
    void Unload();

    // Called by the slot that holds a form's single instance.
    void setUnloadHook(std::function<void()> hook) { m_unloadHook = std::move(hook); }

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_MouseUp(std::int16_t, std::int16_t, float, float) {}
    virtual void closeRequested() {}

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hostMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                     QPointF twips) override;

private:
    QMargins frameMargins() const;
    bool frameKnown() const;
    int roundingSlack() const;
    int placedOr(std::optional<int> placed, int actual) const;
    bool sameSize(QSize a, QSize b) const;
    void applyOuterSize();
    void updateMaximumSize();

    bool m_loading = false;
    bool m_unloading = false;
    mutable QMargins m_knownMargins;
    std::optional<QSize> m_wantedOuter; // in pixels, until the frame is known
    QSize m_appliedClient;              // the client size last asked for
    QSize m_laidOutClient;              // the client size Form_Resize last saw
    // The outer position and size, in pixels, that setTop, setLeft, setWidth
    // and setHeight last asked for.
    std::optional<int> m_placedTop, m_placedLeft, m_placedWidth, m_placedHeight;
    std::function<void()> m_unloadHook;
};

} // namespace runtime
