// SPDX-License-Identifier: MIT
#include "Frm_Main.h"

#include "Bas_Comm.h"
#include "DesignedProperties.h"
#include "Fonts.h"
#include "FormInstance.h"
#include "Frm_Setup.h"
#include "Frm_Version.h"
#include "MouseCodes.h"
#include "Program.h"
#include "RuntimeError.h"
#include "Twips.h"
#include "UiLog.h"

#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

#include <cerrno>
#include <sys/stat.h>

using namespace Bas_Comm;

namespace {

// Whether `path` names nothing at all, as opposed to a file that is there
// but cannot be read.
bool isMissing(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT;
}

} // namespace

Frm_Main::Frm_Main()
    : Tim_Shift(this, designed::frm_main::TimerInterval, [this] { Tim_Shift_Timer(); }),
      Smooth_Motion(
          Lbl_Data, [this] { runtime::dispatch([this] { Tim_Shift_Timer(); }); },
          [] { return SignSettings.Speed; }, this)
{
    setDesignedProperties();
    Tim_Shift.setEnabled(true);
}

void Frm_Main::setDesignedProperties()
{
    namespace d = designed::frm_main;
    setCaption(d::Caption);
    setWindowIcon(designed::programIcon());
    setBackColor(d::BackColor);
    setClientSize(d::ClientWidth, d::ClientHeight);
    setFocusPolicy(Qt::StrongFocus);

    Lbl_Data.setCaption(d::LabelCaption);
    Lbl_Data.setBackColor(d::LabelBackColor);
    Lbl_Data.setForeColor(d::LabelForeColor);
    Lbl_Data.setFont(runtime::designedFont(d::LabelFontSize));
    Lbl_Data.setGeometry(d::LabelRect.left, d::LabelRect.top, d::LabelRect.width,
                         d::LabelRect.height);
    // A status display to assistive tools: a screen reader speaks its new
    // text when it changes, which it does not for static text.
    Lbl_Data.setAccessibleRole(QAccessible::StatusBar);
    Lbl_Data.setFocusStandIn(true);
    Lbl_Data.MouseUp = [this](std::int16_t button, std::int16_t shift, float x, float y) {
        Lbl_Data_MouseUp(button, shift, x, y);
    };

    Menu.addItem(d::MenuSetup, [this] { MenuSetup_Click(); });
    Menu.addItem(d::Separator);
    Menu.addItem(d::MenuVersion, [this] { MenuVersion_Click(); });
    Menu.addItem(d::Separator);
    Menu.addItem(d::MenuEnd, [this] { MenuEnd_Click(); });
}

void Frm_Main::Form_Load()
{
    QString problem;
    QString failedFile;
    try {
        if (!Ini_Read())
            failedFile = settingsPath();
        else if (!Data_Read())
            failedFile = messagePath(SignSettings.DataDir);
        else {
            setHeight(SignSettings.Height);
            setWidth(SignSettings.Width);
            setTop(SignSettings.Top);
            setLeft(SignSettings.Left);
            Disp_Set();
            // The options beyond the design; a bad options file is logged
            // and its defaults taken, never a reason not to start.
            readOptions(Options);
            applyOptions(Options);
            return;
        }
        problem = lastFileError();
    } catch (const runtime::RuntimeError &error) {
        problem = QString::fromUtf8(error.what());
    }
    if (!failedFile.isEmpty() && isMissing(failedFile)) {
        // Most likely started in the wrong directory: say how to start. The
        // log line stays English, the box speaks the user's language.
        qCWarning(lcUi,
                  "cannot start: %s (start your own sign with velmora --user, a sign in "
                  "another directory with velmora -C DIR; see man velmora)",
                  qUtf8Printable(problem));
        ErrorBox(tr("起動することができません"),
                 problem % u"\n\n" %
                     tr("自分の電光掲示板は「velmora --user」で、別のディレクトリの電光掲示板は"
                        "「velmora -C ディレクトリ」で起動します。詳しくは「man velmora」を"
                        "ご覧ください。"));
    } else {
        reportFailure("cannot start", tr("起動することができません"), problem);
    }
    runtime::End();
}

void Frm_Main::applyOptions(const SignOptions &options)
{
    if (options.smoothMotion != Smooth_Motion.isRunning()) {
        if (options.smoothMotion) {
            Tim_Shift.setEnabled(false);
            if (const QScreen *display = screen(); display && display->refreshRate() > 1)
                Smooth_Motion.setFrameInterval(std::int64_t(1e9 / display->refreshRate()));
            Smooth_Motion.start();
        } else {
            Smooth_Motion.stop();
            Tim_Shift.setEnabled(true);
        }
    }
    // The window system is told directly, so that the mapped window stays
    // where it is (QWidget::setWindowFlags would hide it).
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, options.stayOnTop);
    if (flags != windowFlags()) {
        overrideWindowFlags(flags);
        if (QWindow *window = windowHandle())
            window->setFlags(flags);
    }
}

void Frm_Main::Form_Resize()
{
    Disp_Set();
}

void Frm_Main::Tim_Shift_Timer()
{
    const std::int16_t sw = runtime::toInt16(ScaleWidth());
    // The negated label width is held in 64 bits, so that a message of any
    // length, in a window of any height, scrolls like any other.
    const std::int64_t nw = runtime::toInt64(Lbl_Data.Width() * -1.0);
    const double x = Lbl_Data.Left();
    Lbl_Data.setLeft(x - double(SignSettings.Speed) * 0.01);
    const double moved = Lbl_Data.Left();
    if (moved < double(nw))
        Lbl_Data.setLeft(sw);
}

void Frm_Main::Form_MouseUp(std::int16_t Button, std::int16_t, float, float)
{
    if (Button == runtime::vbRightButton)
        Menu_Show();
}

void Frm_Main::Lbl_Data_MouseUp(std::int16_t Button, std::int16_t, float, float)
{
    if (Button == runtime::vbRightButton)
        Menu_Show();
}

void Frm_Main::keyPressEvent(QKeyEvent *event)
{
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        SignWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    // From the keyboard the pointer may be anywhere on the screen: the menu
    // opens at the corner of the sign's client area instead.
    runtime::dispatch([this] { Menu.popup(this, mapToGlobal(QPoint(0, 0))); });
}

void Frm_Main::focusInEvent(QFocusEvent *event)
{
    SignWindow::focusInEvent(event);
    // Qt announces the window's own focus once this returns; the message
    // label's comes after it, so that it is what a screen reader presents.
    QMetaObject::invokeMethod(
        this, [this] { Lbl_Data.announceFocus(); }, Qt::QueuedConnection);
}

void Frm_Main::MenuSetup_Click()
{
    runtime::FormInstance<Frm_Setup>::get().Show();
    Hide();
}

void Frm_Main::MenuVersion_Click()
{
    runtime::FormInstance<Frm_Version>::get().Show();
    setEnabled(false);
}

void Frm_Main::MenuEnd_Click()
{
    // The user is not told (the program is ending), but the log says why.
    if (!Ini_Write())
        qCWarning(lcUi, "cannot save the settings: %s", qUtf8Printable(lastFileError()));
    Unload();
    runtime::End();
}

void Frm_Main::closeRequested()
{
    MenuEnd_Click();
}
