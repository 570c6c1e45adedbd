// SPDX-License-Identifier: MIT
// The sign's popup menu and its commands: what opens it, the version dialog
// that parks the sign disabled until it is closed, and quitting.

#include "DialogFixture.h"

#include <QCursor>
#include <QLabel>
#include <QPushButton>

namespace {

// How a test closes the version dialog.
enum Close
{
    ClickOk,
    EscThenReturn,
    CloseWindow
};

} // namespace

class TestPopupCommands : public QObject
{
    Q_OBJECT

    DialogFixture f;

private slots:
    void initTestCase() { f.setUpProgram(); }
    void init() { f.enterScratchDirectory(); }
    void cleanup() { f.tearDown(); }

    void whatOpensThePopup_data()
    {
        QTest::addColumn<bool>("onLabel");
        QTest::addColumn<int>("button"); // 0: a key instead
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("opens");

        QTest::newRow("right button, label") << true << int(Qt::RightButton) << 0 << 0 << true;
        QTest::newRow("right button, bare strip")
            << false << int(Qt::RightButton) << 0 << 0 << true;
        QTest::newRow("left button, label") << true << int(Qt::LeftButton) << 0 << 0 << false;
        QTest::newRow("left button, bare strip") << false << int(Qt::LeftButton) << 0 << 0 << false;
        QTest::newRow("middle button, label") << true << int(Qt::MiddleButton) << 0 << 0 << false;
        QTest::newRow("middle button, bare strip")
            << false << int(Qt::MiddleButton) << 0 << 0 << false;
        QTest::newRow("menu key") << false << 0 << int(Qt::Key_Menu) << 0 << true;
        QTest::newRow("Shift+F10")
            << false << 0 << int(Qt::Key_F10) << int(Qt::ShiftModifier) << true;
        QTest::newRow("F10 alone") << false << 0 << int(Qt::Key_F10) << 0 << false;
    }

    void whatOpensThePopup()
    {
        QFETCH(bool, onLabel);
        QFETCH(int, button);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, opens);
        StartFiles files;
        files.speed = 0; // the message stays where the test puts it
        files.message = "Hi";
        Frm_Main &sign = f.startSign(files);
        QVERIFY(QTest::qWaitForWindowActive(&sign));
        sign.Lbl_Data.setLeft(0);
        const QRect label = sign.Lbl_Data.pixelRect().toRect();
        const QPoint bare(sign.width() - 3, sign.height() / 2);
        // The pointer away from the sign's corner.
        QCursor::setPos(sign.mapToGlobal(QPoint(sign.width() + 40, sign.height() + 30)));
        QVERIFY(QCursor::pos() != sign.mapToGlobal(QPoint(0, 0)));
        QVERIFY(label.right() < bare.x());

        if (button)
            QTest::mouseClick(&sign, Qt::MouseButton(button), {}, onLabel ? label.center() : bare);
        else
            QTest::keyClick(&sign, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        // Once, not once per press and release.
        QCOMPARE(f.popupCaptions.size(), opens ? 1u : 0u);
        if (opens) {
            QCOMPARE(f.popupCaptions[0], MenuCaptions);
            // Why: from the keyboard it opened at the pointer, wherever that
            // was; there it opens at the sign's client corner, by the mouse
            // still at the pointer.
            QCOMPARE(f.popupPositions[0], button ? QCursor::pos() : sign.mapToGlobal(QPoint(0, 0)));
        }
        QVERIFY(sign.isVisible());
    }

    void versionDialogParksTheSign_data()
    {
        QTest::addColumn<QPoint>("signAt");
        QTest::addColumn<int>("how");
        QTest::newRow("moved on the screen, ＯＫ") << QPoint(70, 110) << int(ClickOk);
        QTest::newRow("partly off the screen, Esc then Return")
            << QPoint(-60, -12) << int(EscThenReturn);
        // Why: closed by the window manager, it must not leave the sign disabled.
        QTest::newRow("window closed") << QPoint(70, 110) << int(CloseWindow);
    }

    // The version dialog opens on the sign, which stays visible and scrolling
    // but takes no input until the dialog is closed.
    void versionDialogParksTheSign()
    {
        QFETCH(QPoint, signAt);
        QFETCH(int, how);
        StartFiles files;
        files.speed = 3000;
        Frm_Main &sign = f.startSign(files);
        sign.move(signAt);

        f.chooseFromPopup(sign, ChooseVersion);
        Frm_Version *version = runtime::FormInstance<Frm_Version>::loaded();
        QVERIFY(version);
        QVERIFY(QTest::qWaitForWindowActive(version));
        QCOMPARE(version->frameGeometry().topLeft(), signAt);
        QCOMPARE(version->productLine(), QStringLiteral("Velmora Version 1.00"));
        const auto *icon = version->findChild<QLabel *>();
        QVERIFY(icon);
        QVERIFY(!icon->pixmap().isNull());
        QVERIFY(sign.isVisible());
        QVERIFY(!sign.isEnabled());

        // A disabled sign opens no second popup, by mouse or keyboard.
        QTest::mouseClick(&sign, Qt::RightButton, {}, QPoint(5, 5));
        QTest::keyClick(&sign, Qt::Key_Menu);
        QCOMPARE(f.popupCaptions.size(), 1u);
        // Disabled, but still scrolling.
        const float before = sign.Lbl_Data.Left();
        QTRY_VERIFY(sign.Lbl_Data.Left() < before);

        if (how == ClickOk)
            QTest::mouseClick(f.control<QPushButton>(*version, QStringLiteral("Cmd_Ok")),
                              Qt::LeftButton);
        else if (how == EscThenReturn) {
            // Why: Esc used to close the dialog, though ＯＫ is neither its
            // default nor its cancel button; Return on the focused ＯＫ does.
            f.press(Qt::Key_Escape);
            QVERIFY(runtime::FormInstance<Frm_Version>::isLoaded());
            QVERIFY(!sign.isEnabled());
            f.press(Qt::Key_Return);
        } else
            version->close();

        QTRY_VERIFY(f.unloaded<Frm_Version>()); // Return clicks after a short press
        QVERIFY(sign.isEnabled());
        QVERIFY(sign.isVisible());
        f.popupCaptions.clear();
        QTest::mouseClick(&sign, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(f.popupCaptions.size(), 1u);

        // Each opening is a fresh dialog that disables the sign again.
        f.chooseFromPopup(sign, ChooseVersion);
        QVERIFY(runtime::FormInstance<Frm_Version>::isLoaded());
        QVERIFY(!sign.isEnabled());
    }

    void quitSavesTheLiveGeometryAndEnds_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("settings file writable") << true;
        // The failure is ignored: no box, and the program ends all the same.
        QTest::newRow("settings file unwritable") << false;
    }

    void quitSavesTheLiveGeometryAndEnds()
    {
        QFETCH(bool, writable);
        StartFiles files;
        files.fore = 0x00FF00;
        files.back = std::int32_t(0x80000005);
        Frm_Main &sign = f.startSign(files);
        if (!writable && !f.makeImmutable(f.settingsPath()))
            QSKIP("chattr +i is refused here, so the settings file cannot be made unwritable");
        const QByteArray settingsFile = f.readFile(f.settingsPath());
        const QByteArray messageFile = f.readFile(f.messagePath());
        sign.move(-8, 50);
        sign.resize(360, 40);
        const QRect frame = sign.frameGeometry();

        f.chooseFromPopup(sign, ChooseEnd);

        QVERIFY(runtime::hasEnded());
        QVERIFY(f.boxes.empty());
        QVERIFY(f.unloaded<Frm_Main>());
        const QByteArray expected =
            writable ? f.savedSettings(frame, files.speed, files.fore, files.back) : settingsFile;
        QCOMPARE(f.readFile(f.settingsPath()), expected);
        QCOMPARE(f.readFile(f.messagePath()), messageFile);
    }
};

QTEST_MAIN(TestPopupCommands)
#include "tst_popup_commands.moc"
