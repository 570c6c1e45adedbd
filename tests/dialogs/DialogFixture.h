// SPDX-License-Identifier: MIT
#pragma once

// The tests of the popup commands and the two dialogs: start-up files, the
// sign loaded and shown as the program starts it, the popup menu answered by
// the test, and files made unwritable on demand.

#include "Frm_Setup.h"
#include "Frm_Version.h"
#include "GoldenFiles.h"
#include "PopupMenu.h"
#include "ScratchSignFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

// The WCAG contrast ratio of two colours (1 to 21), worked out here rather
// than by the program, so that a focus mark is measured independently.
inline double contrastRatio(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb rgb) {
        const auto linear = [](int c) {
            const double v = c / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) +
               0.0722 * linear(qBlue(rgb));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What the start-up files hold unless a test says otherwise. The geometry is
// in whole pixels at 96 dpi (15 twips to the pixel).
struct StartFiles
{
    int top = 300, left = 600, width = 4500, height = 375;
    int speed = 1500;
    std::int32_t fore = 0x123456; // neither is in the dialog's palette
    std::int32_t back = 0x654321;
    QByteArray message = "\x96\x7b\x93\xfa\x8b\x78\x8b\xc6"; // 本日休業 in code page 932

    QByteArray settingsBytes() const
    {
        return golden::Settings{.top = top,
                                .left = left,
                                .width = width,
                                .height = height,
                                .speed = speed,
                                .fore = fore,
                                .back = back}
            .bytes();
    }
};

inline const QString MessageText = QStringLiteral("本日休業");
inline const QStringList MenuCaptions{QStringLiteral("設定"), QStringLiteral("-"),
                                      QStringLiteral("バージョン情報"), QStringLiteral("-"),
                                      QStringLiteral("終了")};
enum MenuItem
{
    ChooseSetup = 0,
    ChooseVersion = 2,
    ChooseEnd = 4
};

class DialogFixture : public ScratchSignFixture
{
public:
    // From initTestCase: the popup is answered by the test.
    void setUpProgram()
    {
        ScratchSignFixture::setUpProgram();
        runtime::PopupMenu::setChooser([this](const QStringList &captions, QPoint at) {
            popupCaptions.push_back(captions);
            popupPositions.push_back(at);
            return menuChoice;
        });
    }

    void enterScratchDirectory()
    {
        ScratchSignFixture::enterScratchDirectory();
        popupCaptions.clear();
        popupPositions.clear();
        menuChoice = -1;
    }

    // Both dialogs unloaded and immutable files freed before the sign goes.
    void tearDown()
    {
        if (auto *setup = runtime::FormInstance<Frm_Setup>::loaded())
            setup->Unload();
        if (auto *version = runtime::FormInstance<Frm_Version>::loaded())
            version->Unload();
        for (const QString &file : std::exchange(m_immutable, {}))
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), file});
        ScratchSignFixture::tearDown();
    }

    // The settings file as the program saves it for a sign whose outer frame
    // is `frame` (pixels), in the current directory.
    static QByteArray savedSettings(const QRect &frame, int speed, std::int32_t fore,
                                    std::int32_t back)
    {
        return golden::Settings{.top = twips(frame.top()),
                                .left = twips(frame.left()),
                                .width = twips(frame.width()),
                                .height = twips(frame.height()),
                                .speed = speed,
                                .fore = fore,
                                .back = back}
            .bytes();
    }

    // The files are written with a line after the last item, which the
    // program ignores when reading and drops when it saves: a file that still
    // holds it has not been rewritten.
    static QByteArray withUnreadTail(const QByteArray &bytes) { return bytes + "unread\r\n"; }

    // Both files, then the sign loaded and shown as the program starts it.
    Frm_Main &startSign(const StartFiles &s = {})
    {
        writeFile(settingsPath(), withUnreadTail(s.settingsBytes()));
        writeFile(messagePath(), withUnreadTail(golden::message(s.message)));
        Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
        sign.Show();
        return sign;
    }

    // Right button released over the sign, the menu answered with `item`.
    void chooseFromPopup(Frm_Main &sign, int item)
    {
        menuChoice = item;
        QTest::mouseClick(&sign, Qt::RightButton, {}, QPoint(5, sign.height() / 2));
        menuChoice = -1;
    }

    Frm_Setup *openSetup(Frm_Main &sign)
    {
        chooseFromPopup(sign, ChooseSetup);
        Frm_Setup *setup = runtime::FormInstance<Frm_Setup>::loaded();
        if (setup && !QTest::qWaitForWindowActive(setup))
            return nullptr;
        return setup;
    }

    // Whether the dialog of type T is gone once deferred deletions have run.
    template <typename T> static bool unloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !runtime::FormInstance<T>::isLoaded();
    }

    // The control of `form` named `name`. A missing one means the dialog was
    // built differently from what the tests know, not that a check failed.
    template <typename T> static T *control(const QWidget &form, const QString &name)
    {
        T *found = form.findChild<T *>(name);
        if (!found)
            qFatal("%s has no %s named %s", form.metaObject()->className(),
                   T::staticMetaObject.className(), qPrintable(name));
        return found;
    }

    // Makes `file` unwritable even for root. False when chattr is refused
    // (not root, or a file system without the flag): the caller skips.
    bool makeImmutable(const QString &file)
    {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), file}) != 0)
            return false;
        m_immutable.push_back(file);
        return true;
    }

    // A length in pixels as the twips the files hold, from the screen's DPI.
    static int twips(int pixels)
    {
        return int(
            std::lround(pixels * 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInch()));
    }

    // Sends a key to whatever has the keyboard focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus, "no widget has the keyboard focus");
        QTest::keyClick(focus, key, modifiers);
    }

    std::vector<QStringList> popupCaptions;
    std::vector<QPoint> popupPositions; // where each popup would have opened
    int menuChoice = -1;

private:
    QStringList m_immutable;
};
