// SPDX-License-Identifier: MIT
// The setup dialog, opened from the sign's popup menu: where it opens and what
// it shows, the keyboard (Tab, turning pages, the swatch rows), leaving it
// without saving, the swatches (also at high scales), the text box and what an
// input method is told of its caret, ＯＫ with the two files it rewrites or
// fails to rewrite, and each page on its own.

#include "Autostart.h"
#include "Colors.h"
#include "ColourPage.h"
#include "CommandButton.h"
#include "DialogFixture.h"
#include "DisplayPage.h"
#include "LabelRow.h"
#include "MessagePage.h"
#include "OptionsFile.h"
#include "SpeedPage.h"
#include "TabControl.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFileInfo>
#include <QInputMethod>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSlider>
#include <QTabBar>
#include <QToolTip>
#include <QWindow>

#include <optional>

using Bas_Comm::SignSettings;

namespace {

const QString SaveFailed = QStringLiteral("設定の更新に失敗しました");
const QString ErrorTitle = QStringLiteral("エラーメッセージ");
constexpr std::int32_t WindowColour = std::int32_t(0x80000005);
const QString Notice = QStringLiteral("お知らせ");
const QByteArray NoticeCp932 = "\x82\xa8\x92\x6d\x82\xe7\x82\xb9";

// An open setup dialog's controls, found by name, and the pages that hold
// the working speed and colours.
struct SetupDialog
{
    explicit SetupDialog(Frm_Setup &setup)
        : form(&setup), Tab_Setup(DialogFixture::control<runtime::TabControl>(
                            setup, QStringLiteral("Tab_Setup"))),
          Txt_Data(DialogFixture::control<QLineEdit>(setup, QStringLiteral("Txt_Data"))),
          Sld_Speed(DialogFixture::control<QSlider>(setup, QStringLiteral("Sld_Speed"))),
          Cmd_Ok(DialogFixture::control<runtime::CommandButton>(setup, QStringLiteral("Cmd_Ok"))),
          Cmd_Cansel(
              DialogFixture::control<runtime::CommandButton>(setup, QStringLiteral("Cmd_Cansel"))),
          speed(setup.page<SpeedPage>()), colours(setup.page<ColourPage>()),
          Chk_Smooth(DialogFixture::control<QCheckBox>(setup, QStringLiteral("Chk_Smooth"))),
          Chk_On_Top(DialogFixture::control<QCheckBox>(setup, QStringLiteral("Chk_On_Top"))),
          Chk_Login(DialogFixture::control<QCheckBox>(setup, QStringLiteral("Chk_Login")))
    {
        if (!speed || !colours)
            qFatal("Frm_Setup has lost its speed or colour page");
        foreRow = colours->foreRow();
        backRow = colours->backRow();
    }

    Frm_Setup *form;
    runtime::TabControl *Tab_Setup;
    QLineEdit *Txt_Data;
    QSlider *Sld_Speed;
    runtime::CommandButton *Cmd_Ok;
    runtime::CommandButton *Cmd_Cansel;
    SpeedPage *speed;
    ColourPage *colours;
    runtime::LabelRow *foreRow;
    runtime::LabelRow *backRow;
    QCheckBox *Chk_Smooth;
    QCheckBox *Chk_On_Top;
    QCheckBox *Chk_Login;
};

// The dialog's keyboard stops, named for the data tables.
enum Stop
{
    Strip,
    Text,
    Slider,
    ForeRow,
    BackRow,
    Smooth,
    OnTop,
    Login,
    Ok,
    Cancel,
    Elsewhere
};
// What makes a save fail.
enum Failing
{
    SettingsFile,
    MessageFile,
    SignPosition
};
// How a test leaves the dialog without saving.
enum Leave
{
    ClickCancel,
    PressEsc,
    CloseWindow
};

// Two records that differ in every field: one loaded into a page, the other
// standing for whatever the record held before the page stored into it.
const storage::SignSettingsRecord Loaded{.Speed = 4321,
                                         .Width = 4500,
                                         .Height = 375,
                                         .Top = 300,
                                         .Left = 600,
                                         .DataDir = QStringLiteral("/srv/sign"),
                                         .DataText = MessageText,
                                         .ForeColor = WindowColour,
                                         .BackColor = 0x123456};
const storage::SignSettingsRecord Stale{.Speed = 90,
                                        .Width = 3000,
                                        .Height = 240,
                                        .Top = 15,
                                        .Left = 30,
                                        .DataDir = QStringLiteral("/tmp"),
                                        .DataText = QStringLiteral("old"),
                                        .ForeColor = 0x0000FF,
                                        .BackColor = 0x00FF00};

} // namespace

namespace storage {

// How QCOMPARE shows a record.
char *toString(const SignSettingsRecord &r)
{
    return QTest::toString(QStringLiteral("speed %1, frame %2 %3 %4 %5, dir \"%6\", text \"%7\", "
                                          "colours %8 %9")
                               .arg(r.Speed)
                               .arg(r.Top)
                               .arg(r.Left)
                               .arg(r.Width)
                               .arg(r.Height)
                               .arg(r.DataDir, r.DataText)
                               .arg(r.ForeColor, 0, 16)
                               .arg(r.BackColor, 0, 16));
}

} // namespace storage

class TestSetupDialog : public QObject
{
    Q_OBJECT

    DialogFixture f;

    // The dialog opened from the sign's popup, once it has the keyboard.
    std::optional<SetupDialog> openSetup(Frm_Main &sign)
    {
        Frm_Setup *setup = f.openSetup(sign);
        if (!setup)
            return std::nullopt;
        return SetupDialog(*setup);
    }

    static int stopOf(const SetupDialog &setup, const QWidget *widget)
    {
        const QWidget *stops[] = {setup.Tab_Setup->strip(),
                                  setup.Txt_Data,
                                  setup.Sld_Speed,
                                  setup.foreRow,
                                  setup.backRow,
                                  setup.Chk_Smooth,
                                  setup.Chk_On_Top,
                                  setup.Chk_Login,
                                  setup.Cmd_Ok,
                                  setup.Cmd_Cansel};
        for (int i = 0; i < int(std::size(stops)); ++i) {
            if (stops[i] == widget)
                return i;
        }
        return Elsewhere;
    }

    // What every opening shows: page 文字, the focus on the tab strip, and the
    // message, speed and colours of the record.
    static void verifyOpenedFromRecord(const SetupDialog &setup)
    {
        QCOMPARE(setup.Tab_Setup->Tab(), 0);
        QVERIFY(setup.Txt_Data->isVisible());
        QCOMPARE(QApplication::focusWidget(), setup.Tab_Setup->strip());
        QCOMPARE(setup.Txt_Data->text(), SignSettings.DataText);
        QCOMPARE(setup.Sld_Speed->value(), int(SignSettings.Speed));
        QCOMPARE(setup.speed->New_Speed, SignSettings.Speed);
        QCOMPARE(setup.colours->forePreview().BackColor(), SignSettings.ForeColor);
        QCOMPARE(setup.colours->backPreview().BackColor(), SignSettings.BackColor);
    }

    // A swatch clicked as the user does: on page 色, at the swatch's centre.
    static void clickSwatch(const SetupDialog &setup, const runtime::Label &swatch)
    {
        setup.Tab_Setup->setTab(2);
        QTest::mouseClick(setup.colours, Qt::LeftButton, {}, swatch.pixelRect().center().toPoint());
    }

private slots:
    void initTestCase() { f.setUpProgram(); }
    void init() { f.enterScratchDirectory(); }
    void cleanup() { f.tearDown(); }

    void opensOnTheSign_data()
    {
        QTest::addColumn<QPoint>("signAt");
        // The record still holds the start-up position (40, 20 pixels): the
        // dialog must follow the window, not the record.
        QTest::newRow("moved on the screen") << QPoint(70, 110);
        QTest::newRow("partly off the screen") << QPoint(-60, -12);
    }

    void opensOnTheSign()
    {
        QFETCH(QPoint, signAt);
        StartFiles files;
        files.speed = 3000;
        files.back = WindowColour;
        Frm_Main &sign = f.startSign(files);
        sign.move(signAt);

        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        QCOMPARE(setup->form->frameGeometry().topLeft(), signAt);
        QVERIFY(setup->form->isVisible());
        QVERIFY(!sign.isVisible());
        QCOMPARE(SignSettings.DataText, MessageText);
        verifyOpenedFromRecord(*setup);

        // The hidden sign keeps scrolling on its own timer.
        const float before = sign.Lbl_Data.Left();
        QTRY_VERIFY(sign.Lbl_Data.Left() < before);
    }

    void tabOrder_data()
    {
        QTest::addColumn<QList<int>>("pageKeys"); // pressed on the tab strip first
        QTest::addColumn<int>("page");
        QTest::addColumn<QList<int>>("cycle"); // where each Tab press lands

        QTest::newRow("文字") << QList<int>{} << 0 << QList<int>{Text, Ok, Cancel, Strip};
        QTest::newRow("速度") << QList<int>{Qt::Key_Right} << 1
                              << QList<int>{Slider, Ok, Cancel, Strip};
        QTest::newRow("色") << QList<int>{Qt::Key_Right, Qt::Key_Right} << 2
                            << QList<int>{ForeRow, BackRow, Ok, Cancel, Strip};
        QTest::newRow("表示") << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right} << 3
                              << QList<int>{Smooth, OnTop, Login, Ok, Cancel, Strip};
        QTest::newRow("文字 again after 速度")
            << QList<int>{Qt::Key_Right, Qt::Key_Left} << 0 << QList<int>{Text, Ok, Cancel, Strip};
    }

    void tabOrder()
    {
        QFETCH(QList<int>, pageKeys);
        QFETCH(int, page);
        QFETCH(QList<int>, cycle);
        Frm_Main &sign = f.startSign();
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        QCOMPARE(QApplication::focusWidget(), setup->Tab_Setup->strip());

        for (int key : pageKeys)
            f.press(Qt::Key(key));
        QCOMPARE(setup->Tab_Setup->Tab(), page);
        QList<int> visited;
        for (qsizetype i = 0; i < cycle.size(); ++i) {
            f.press(Qt::Key_Tab);
            visited << stopOf(*setup, QApplication::focusWidget());
        }
        QCOMPARE(visited, cycle);
    }

    void keysTurnPages_data()
    {
        QTest::addColumn<int>("page");   // current when the key is pressed
        QTest::addColumn<int>("from");   // the stop with the focus
        QTest::addColumn<int>("keys");   // key and modifiers
        QTest::addColumn<int>("turned"); // the page after
        QTest::addColumn<int>("to");     // the stop after

        const int ctrl = int(Qt::ControlModifier), shift = int(Qt::ShiftModifier);
        // Why: from the tabs the focus stayed on them, and the next Tab went
        // past the page to ＯＫ.
        QTest::newRow("Ctrl+Tab on the strip")
            << 0 << int(Strip) << (ctrl | Qt::Key_Tab) << 1 << int(Slider);
        QTest::newRow("Ctrl+Tab in the text box")
            << 0 << int(Text) << (ctrl | Qt::Key_Tab) << 1 << int(Slider);
        QTest::newRow("Ctrl+PgDown in the text box")
            << 0 << int(Text) << (ctrl | Qt::Key_PageDown) << 1 << int(Slider);
        // Why: the slider takes Page Up for itself; with Ctrl it must turn the page.
        QTest::newRow("Ctrl+PgUp on the slider")
            << 1 << int(Slider) << (ctrl | Qt::Key_PageUp) << 0 << int(Text);
        QTest::newRow("Ctrl+Shift+Tab on the slider")
            << 1 << int(Slider) << (ctrl | shift | Qt::Key_Tab) << 0 << int(Text);
        QTest::newRow("Ctrl+Tab from 色 to 表示")
            << 2 << int(BackRow) << (ctrl | Qt::Key_Tab) << 3 << int(Smooth);
        QTest::newRow("Ctrl+Tab round from 表示 to 文字")
            << 3 << int(Login) << (ctrl | Qt::Key_Tab) << 0 << int(Text);
        QTest::newRow("Ctrl+Shift+Tab round from 文字 to 表示")
            << 0 << int(Text) << (ctrl | shift | Qt::Key_Tab) << 3 << int(Smooth);
        QTest::newRow("Ctrl+PgDown on ＯＫ")
            << 1 << int(Ok) << (ctrl | Qt::Key_PageDown) << 2 << int(ForeRow);
    }

    void keysTurnPages()
    {
        QFETCH(int, page);
        QFETCH(int, from);
        QFETCH(int, keys);
        QFETCH(int, turned);
        QFETCH(int, to);
        Frm_Main &sign = f.startSign();
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        setup->Tab_Setup->setTab(page);
        for (int tabs = 0; stopOf(*setup, QApplication::focusWidget()) != from; ++tabs) {
            QVERIFY2(tabs < 10, "the starting stop is not in the Tab order");
            f.press(Qt::Key_Tab);
        }

        const QKeyCombination combination = QKeyCombination::fromCombined(keys);
        f.press(combination.key(), combination.keyboardModifiers());

        QCOMPARE(setup->Tab_Setup->Tab(), turned);
        QCOMPARE(stopOf(*setup, QApplication::focusWidget()), to);
    }

    void focusRingsStandOut_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("stop");
        // Why: the style marks a focused tab with a faint tint (about 1.5:1)
        // and a focused check box with a thin pale frame.
        QTest::newRow("tab strip") << 0 << int(Strip);
        QTest::newRow("check box") << 3 << int(Smooth);
    }

    // The focus mark, the pixels that change when the control takes the
    // keyboard focus, includes an edge two pixels deep that stands out at
    // least 3:1 against the window colour.
    void focusRingsStandOut()
    {
        QFETCH(int, page);
        QFETCH(int, stop);
        Frm_Main &sign = f.startSign();
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        setup->Tab_Setup->setTab(page);
        QWidget *control =
            stop == Strip ? static_cast<QWidget *>(setup->Tab_Setup->strip()) : setup->Chk_Smooth;
        // The dialog opens with the focus on the strip; the box is next.
        if (stop == Strip)
            f.press(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != control);
        const QImage plain = control->grab().toImage();
        f.press(Qt::Key_Tab, stop == Strip ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget(), control);
        const QImage focused = control->grab().toImage();

        const QRgb window = control->palette().color(QPalette::Window).rgb();
        const auto strong = [&](int x, int y) {
            return focused.pixel(x, y) != plain.pixel(x, y) &&
                   contrastRatio(focused.pixel(x, y), window) >= 3.0;
        };
        QRect mark;
        for (int y = 0; y < focused.height(); ++y)
            for (int x = 0; x < focused.width(); ++x)
                if (strong(x, y))
                    mark |= QRect(x, y, 1, 1);
        QVERIFY2(!mark.isEmpty(), "no focus mark stands out 3:1");
        const int x = mark.center().x();
        QVERIFY2(strong(x, mark.top()) && strong(x, mark.top() + 1),
                 "the focus mark's edge is less than two pixels deep");
    }

    void swatchRowByKeyboard_data()
    {
        QTest::addColumn<bool>("textRow");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("picked"); // -1: none, the preview keeps the loaded colour

        // The text colour loads as green (swatch 2), the background as a
        // colour no swatch shows, so its mark starts at the left end.
        QTest::newRow("text: Right twice, Space")
            << true << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Space} << 4;
        QTest::newRow("text: Left, Return")
            << true << QList<int>{Qt::Key_Left, Qt::Key_Return} << 1;
        QTest::newRow("text: arrows alone pick nothing")
            << true << QList<int>{Qt::Key_Right, Qt::Key_Left, Qt::Key_Left} << -1;
        QTest::newRow("background: Enter at the left end")
            << false << QList<int>{Qt::Key_Left, Qt::Key_Enter} << 0;
        QTest::newRow("background: End, Space")
            << false << QList<int>{Qt::Key_End, Qt::Key_Space} << 7;
        QTest::newRow("background: past the right end, Home, Right, Space")
            << false
            << QList<int>{Qt::Key_End, Qt::Key_Right, Qt::Key_Home, Qt::Key_Right, Qt::Key_Space}
            << 1;
    }

    void swatchRowByKeyboard()
    {
        QFETCH(bool, textRow);
        QFETCH(QList<int>, keys);
        QFETCH(int, picked);
        StartFiles files;
        files.fore = 0x00FF00;
        Frm_Main &sign = f.startSign(files);
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        const ColourPage &page = *setup->colours;
        setup->Tab_Setup->setTab(2);
        runtime::LabelRow *row = textRow ? setup->foreRow : setup->backRow;
        while (QApplication::focusWidget() != row) {
            QVERIFY(stopOf(*setup, QApplication::focusWidget()) != Ok);
            f.press(Qt::Key_Tab);
        }

        for (int key : keys)
            f.press(Qt::Key(key));

        const runtime::Label &own = textRow ? page.forePreview() : page.backPreview();
        const runtime::Label &other = textRow ? page.backPreview() : page.forePreview();
        const std::int32_t loaded = textRow ? files.fore : files.back;
        // As a click on that swatch does: its colour in its own preview only.
        QCOMPARE(own.BackColor(),
                 picked < 0
                     ? loaded
                     : (textRow ? page.foreSwatch(picked) : page.backSwatch(picked)).BackColor());
        QCOMPARE(other.BackColor(), textRow ? files.back : files.fore);
        QCOMPARE(QApplication::focusWidget(), row);
        // What a screen reader hears as selected is the previewed swatch.
        QList<int> selected;
        for (int i = 0; i < row->count(); ++i) {
            if (row->itemInterface(i)->state().selected)
                selected << i;
        }
        const int shown = textRow && picked < 0 ? 2 : picked;
        QCOMPARE(selected, shown < 0 ? QList<int>{} : QList<int>{shown});
    }

    // Why: the mark must show only while a row has the keyboard; without it
    // the page looks exactly as designed.
    void swatchMarkOnlyWithTheKeyboard()
    {
        Frm_Main &sign = f.startSign();
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        setup->Tab_Setup->setTab(2);
        const QImage designed = setup->colours->grab().toImage();

        f.press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), setup->foreRow);
        f.press(Qt::Key_Right);
        const QImage marked = setup->colours->grab().toImage();
        // Only the pixels round the marked swatch change.
        const QRect swatch = setup->colours->foreSwatch(1).pixelArea();
        QRect changed;
        for (int y = 0; y < designed.height(); ++y) {
            for (int x = 0; x < designed.width(); ++x) {
                if (designed.pixel(x, y) != marked.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY2(!changed.isEmpty(), "no mark on the swatch with the keyboard");
        QVERIFY2(swatch.adjusted(-4, -4, 4, 4).contains(changed) && !swatch.contains(changed),
                 qPrintable(QStringLiteral("changed %1,%2 %3x%4")
                                .arg(changed.x())
                                .arg(changed.y())
                                .arg(changed.width())
                                .arg(changed.height())));

        f.press(Qt::Key_Tab);
        f.press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), setup->Cmd_Ok);
        QCOMPARE(setup->colours->grab().toImage(), designed);
    }

    void swatchBordersOnDevicePixels_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("1") << 1.0;
        QTest::newRow("1.25") << 1.25;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("1.75") << 1.75;
        QTest::newRow("2") << 2.0;
        QTest::newRow("3") << 3.0;
    }

    // Why: the border was drawn one logical pixel in from the edge, so at
    // fractional and double scale a stripe of the fill showed outside it.
    void swatchBordersOnDevicePixels()
    {
        QFETCH(double, scale);
        ColourPage page;
        page.resize(241, 113);
        QImage image((QSizeF(page.size()) * scale).toSize() + QSize(2, 2), QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::magenta);
        page.render(&image);

        for (int i = 0; i < 8; ++i) {
            for (const runtime::Label *swatch : {&page.foreSwatch(i), &page.backSwatch(i)}) {
                const QColor fill = runtime::resolveColor(swatch->BackColor());
                const QRectF logical = swatch->pixelRect();
                // The fill's device pixels, found from the middle outwards.
                const QPoint middle = (logical.center() * scale).toPoint();
                QRect found(middle, QSize(1, 1));
                const auto isFill = [&](int x, int y) { return image.pixelColor(x, y) == fill; };
                while (isFill(found.left() - 1, middle.y()))
                    found.setLeft(found.left() - 1);
                while (isFill(found.right() + 1, middle.y()))
                    found.setRight(found.right() + 1);
                while (isFill(middle.x(), found.top() - 1))
                    found.setTop(found.top() - 1);
                while (isFill(middle.x(), found.bottom() + 1))
                    found.setBottom(found.bottom() + 1);
                // A one-pixel ring of border round it, and the swatch as wide
                // as the scale makes it, give or take a pixel.
                const QColor border = image.pixelColor(found.left() - 1, middle.y());
                QVERIFY(border != fill);
                for (const QPoint &p :
                     {QPoint(found.right() + 1, middle.y()), QPoint(middle.x(), found.top() - 1),
                      QPoint(middle.x(), found.bottom() + 1), found.topLeft() - QPoint(1, 1),
                      found.bottomRight() + QPoint(1, 1)})
                    QCOMPARE(image.pixelColor(p), border);
                // Outside the ring, neither border nor fill.
                for (const QPoint &p : {QPoint(found.right() + 2, middle.y()),
                                        QPoint(middle.x(), found.bottom() + 2)}) {
                    QVERIFY(image.pixelColor(p) != border);
                    QVERIFY(image.pixelColor(p) != fill);
                }
                QVERIFY(std::abs(found.width() + 2 - logical.width() * scale) <= 1.0);
            }
        }
    }

    void inputMethodToldTheCaret_data()
    {
        QTest::addColumn<int>("reach");  // how the focus comes to the text box
        QTest::addColumn<int>("length"); // of the message, in "M"s
        QTest::newRow("Tab from the strip") << 0 << 4;
        QTest::newRow("Ctrl+PgUp from the slider") << 1 << 4;
        QTest::newRow("a click") << 2 << 4;
        QTest::newRow("dialog moved after the focus came") << 3 << 4;
        // Why: Tab selects a message wider than the box, scrolled to its end;
        // the first character of a composition replaces it, and the caret was
        // reported with the old scroll, hundreds of pixels left of the box.
        QTest::newRow("Tab, over a message wider than the box") << 0 << 60;
        QTest::newRow("Ctrl+PgUp, over a message wider than the box") << 1 << 60;
    }

    // What an input method places its candidate window by: the cursor
    // rectangle the focus object reports, through the input method's item
    // transform, mapped to the screen by the focus window; each time it is
    // told, and after the box has painted what was typed.
    void inputMethodToldTheCaret()
    {
        QFETCH(int, reach);
        QFETCH(int, length);
        StartFiles files;
        files.message = QByteArray(length, 'M');
        Frm_Main &sign = f.startSign(files);
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        QLineEdit *box = setup->Txt_Data;
        if (reach == 1) {
            setup->Tab_Setup->setTab(1);
            f.press(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), setup->Sld_Speed);
            f.press(Qt::Key_PageUp, Qt::ControlModifier);
        } else if (reach == 2) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
        } else {
            f.press(Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), box);
        if (reach == 3)
            setup->form->move(setup->form->pos() + QPoint(37, 23));
        QVERIFY(QTest::qWaitForWindowExposed(setup->form));
        QCoreApplication::processEvents();

        // Where the input method is told the caret is, in the box's pixels.
        QList<QRect> told;
        QWindow *window = QGuiApplication::focusWindow();
        QVERIFY(window);
        const auto tell = [&] {
            const QRect r = QGuiApplication::inputMethod()->cursorRectangle().toRect();
            told << QRect(box->mapFromGlobal(window->mapToGlobal(r.topLeft())), r.size());
        };
        const QMetaObject::Connection listening = connect(
            QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged, box, tell);
        // A composition as an input method sends it: preedit, then commit.
        for (const QString &preedit : {QStringLiteral("に"), QStringLiteral("にほ")}) {
            QInputMethodEvent event(preedit, {{QInputMethodEvent::Cursor, int(preedit.size()), 1}});
            QCoreApplication::sendEvent(box, &event);
        }
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本"));
        QCoreApplication::sendEvent(box, &commit);
        QCoreApplication::processEvents();
        disconnect(listening);

        QVERIFY(!told.isEmpty());
        // Never outside the box, and last where the caret now stands.
        for (const QRect &r : std::as_const(told))
            QVERIFY2(box->rect().contains(r.center()),
                     qPrintable(QStringLiteral("told x %1 y %2").arg(r.x()).arg(r.y())));
        QCOMPARE(told.last(), box->inputMethodQuery(Qt::ImCursorRectangle).toRect());
        QVERIFY(box->text().endsWith(QStringLiteral("日本")));
    }

    void leavingWithoutOkChangesNothing_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("tabs"); // Tab presses from the strip before leaving
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("leave");

        QTest::newRow("キャンセル clicked") << 2 << 0 << int(Strip) << int(ClickCancel);
        QTest::newRow("Esc on the tab strip") << 1 << 0 << int(Strip) << int(PressEsc);
        QTest::newRow("Esc in the text box") << 0 << 1 << int(Text) << int(PressEsc);
        QTest::newRow("Esc on the slider") << 1 << 1 << int(Slider) << int(PressEsc);
        QTest::newRow("Esc on ＯＫ") << 2 << 3 << int(Ok) << int(PressEsc);
        // Why: a dialog closed by the window manager would otherwise leave no
        // visible window at all.
        QTest::newRow("window closed") << 0 << 0 << int(Strip) << int(CloseWindow);
    }

    void leavingWithoutOkChangesNothing()
    {
        QFETCH(int, page);
        QFETCH(int, tabs);
        QFETCH(int, focus);
        QFETCH(int, leave);
        Frm_Main &sign = f.startSign();
        const QRect signFrame = sign.frameGeometry();
        const QByteArray settingsFile = f.readFile(f.settingsPath());
        const QByteArray messageFile = f.readFile(f.messagePath());
        const auto record = SignSettings;

        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        QTest::keyClicks(setup->Txt_Data, QStringLiteral(" edited"));
        setup->Sld_Speed->setValue(12000);
        QCOMPARE(setup->speed->New_Speed, 12000);
        clickSwatch(*setup, setup->colours->foreSwatch(2));
        clickSwatch(*setup, setup->colours->backSwatch(6));
        QCOMPARE(setup->colours->forePreview().BackColor(), 0x00FF00);

        setup->Tab_Setup->setTab(page);
        setup->Tab_Setup->strip()->setFocus();
        for (int i = 0; i < tabs; ++i)
            f.press(Qt::Key_Tab);
        QCOMPARE(stopOf(*setup, QApplication::focusWidget()), focus);
        // Why: the dialog has no default button, so Return and Enter confirm
        // nothing (and leave the text as it is) unless ＯＫ has the focus.
        if (focus != Ok) {
            f.press(Qt::Key_Return);
            f.press(Qt::Key_Enter, Qt::KeypadModifier);
            QVERIFY(setup->form->isVisible());
            QVERIFY(!sign.isVisible());
            QCOMPARE(setup->Txt_Data->text(), MessageText + QStringLiteral(" edited"));
        }
        if (leave == ClickCancel)
            QTest::mouseClick(setup->Cmd_Cansel, Qt::LeftButton);
        else if (leave == PressEsc)
            f.press(Qt::Key_Escape);
        else
            setup->form->close();

        QVERIFY(f.unloaded<Frm_Setup>());
        QVERIFY(sign.isVisible());
        QCOMPARE(sign.frameGeometry(), signFrame);
        QCOMPARE(SignSettings, record);
        QCOMPARE(f.readFile(f.settingsPath()), settingsFile);
        QCOMPARE(f.readFile(f.messagePath()), messageFile);
        QVERIFY(f.boxes.empty());
        // Still the old pace: 1500 hundredths of a twip a tick.
        sign.Lbl_Data.setLeft(0);
        sign.Tim_Shift.fire();
        QCOMPARE(sign.Lbl_Data.Left(), -15.f);

        // Nothing of the abandoned edit (page, text, slider, colours) comes back.
        setup = openSetup(sign);
        QVERIFY(setup);
        verifyOpenedFromRecord(*setup);
    }

    void swatchSetsOnlyItsOwnPreview_data()
    {
        QTest::addColumn<bool>("textRow");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("colour");

        QTest::newRow("text 0: the window colour reference") << true << 0 << WindowColour;
        QTest::newRow("text 1: yellow") << true << 1 << 0x00FFFF;
        QTest::newRow("text 7: black") << true << 7 << 0x000000;
        QTest::newRow("background 0: the window colour reference") << false << 0 << WindowColour;
        QTest::newRow("background 4: blue") << false << 4 << 0xFF0000;
        QTest::newRow("background 6: red") << false << 6 << 0x0000FF;
    }

    void swatchSetsOnlyItsOwnPreview()
    {
        QFETCH(bool, textRow);
        QFETCH(int, index);
        QFETCH(int, colour);
        const StartFiles files;
        Frm_Main &sign = f.startSign(files);
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);

        const ColourPage &page = *setup->colours;
        clickSwatch(*setup, textRow ? page.foreSwatch(index) : page.backSwatch(index));

        const runtime::Label &own = textRow ? page.forePreview() : page.backPreview();
        const runtime::Label &other = textRow ? page.backPreview() : page.forePreview();
        QCOMPARE(own.BackColor(), colour);
        QCOMPARE(other.BackColor(), textRow ? files.back : files.fore);
        QCOMPARE(SignSettings.ForeColor, files.fore);
        QCOMPARE(SignSettings.BackColor, files.back);
        QCOMPARE(sign.Lbl_Data.ForeColor(), files.fore);
        QCOMPARE(sign.Lbl_Data.BackColor(), files.back);
    }

    // Why: ＯＫ has every page store into the one record in turn, so a page
    // that stored a field it does not show would undo another page's edit,
    // and one that dropped its own would lose the user's.
    void pageStoresWhatItLoaded_data()
    {
        QTest::addColumn<std::shared_ptr<SetupPage>>("page");
        QTest::addColumn<storage::SignSettingsRecord>("expected");

        const auto staleWith = [](auto ownFields) {
            storage::SignSettingsRecord record = Stale;
            ownFields(record);
            return record;
        };
        QTest::newRow("文字") << std::shared_ptr<SetupPage>(new MessagePage)
                              << staleWith([](auto &r) { r.DataText = Loaded.DataText; });
        QTest::newRow("速度") << std::shared_ptr<SetupPage>(new SpeedPage)
                              << staleWith([](auto &r) { r.Speed = Loaded.Speed; });
        QTest::newRow("色") << std::shared_ptr<SetupPage>(new ColourPage) << staleWith([](auto &r) {
            r.ForeColor = Loaded.ForeColor;
            r.BackColor = Loaded.BackColor;
        });
        QTest::newRow("表示") << std::shared_ptr<SetupPage>(new DisplayPage) << Stale;
    }

    void pageStoresWhatItLoaded()
    {
        QFETCH(std::shared_ptr<SetupPage>, page);
        QFETCH(storage::SignSettingsRecord, expected);
        page->load(Loaded);
        storage::SignSettingsRecord stored = Stale;
        page->store(stored);
        QCOMPARE(stored, expected);
        // Only the display page holds options.
        const bool holdsOptions = qobject_cast<DisplayPage *>(page.get()) != nullptr;
        for (const SignOptions &options :
             {SignOptions{true, false, true}, SignOptions{false, true, false}}) {
            page->loadOptions(options);
            SignOptions back;
            page->storeOptions(back);
            QCOMPARE(back, holdsOptions ? options : SignOptions());
        }
    }

    // Why: the options file must appear only when an option in it is
    // changed, keep what else it holds, and start at login is the desktop's
    // autostart entry, written and removed with the box.
    void okStoresTheOptions()
    {
        const QString config = f.path(QStringLiteral("config"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        const auto restore = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        Frm_Main &sign = f.startSign();
        const QString options = f.path(QStringLiteral("velmora.conf"));

        // ＯＫ with nothing changed: no options file, no entry.
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        QTest::mouseClick(setup->Cmd_Ok, Qt::LeftButton);
        QVERIFY(f.unloaded<Frm_Setup>());
        QVERIFY(!QFileInfo::exists(options));
        QVERIFY(!Autostart::isEnabled());

        f.writeFile(options, "[window]\nkept=1\n");
        setup = openSetup(sign);
        QVERIFY(setup);
        setup->Chk_On_Top->setChecked(true);
        setup->Chk_Login->setChecked(true);
        QTest::mouseClick(setup->Cmd_Ok, Qt::LeftButton);
        QVERIFY(f.unloaded<Frm_Setup>());
        const QByteArray written = f.readFile(options);
        QCOMPARE(storage::OptionsFile::decode(written),
                 std::optional(SignOptions{false, true, false}));
        QVERIFY2(written.contains("kept=1"), written.constData());
        QVERIFY(sign.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(Autostart::isEnabled());
        QVERIFY2(f.readFile(Autostart::entryPath()).contains(" -C "), "runs this sign's directory");

        // The next opening shows them; clearing them undoes both.
        setup = openSetup(sign);
        QVERIFY(setup);
        QVERIFY(setup->Chk_On_Top->isChecked() && setup->Chk_Login->isChecked());
        QVERIFY(!setup->Chk_Smooth->isChecked());
        setup->Chk_On_Top->setChecked(false);
        setup->Chk_Login->setChecked(false);
        QTest::mouseClick(setup->Cmd_Ok, Qt::LeftButton);
        QVERIFY(!sign.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!Autostart::isEnabled());
        QCOMPARE(storage::OptionsFile::decode(f.readFile(options)), std::optional(SignOptions{}));
    }

    void textBoxTakesOnlyWhatCanBeStored_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("typed"); // else pasted
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("told"); // part of the tooltip; empty: none

        const QString start = QStringLiteral("ab");
        const QString refused = QStringLiteral("入力できません");
        // Only what can never be stored is refused as it is typed; a double
        // quote beside a comma is judged at ＯＫ, since more typing may yet
        // make the text storable.
        QTest::newRow("double quote typed")
            << QStringLiteral("\"c") << true << QStringLiteral("ab\"c") << QString();
        QTest::newRow("double quote with a comma pasted")
            << QStringLiteral("c\"d,") << false << QStringLiteral("abc\"d,") << QString();
        // Why: the blank after a closing quote was refused as it was typed.
        QTest::newRow("blank after a closing quote typed")
            << QStringLiteral(" \"hi\" there") << true << QStringLiteral("ab \"hi\" there")
            << QString();
        QTest::newRow("line break pasted") << QStringLiteral("c\nd") << false << start << refused;
        QTest::newRow("carriage return pasted")
            << QStringLiteral("c\rd") << false << start << refused;
        QTest::newRow("NUL pasted") << QStringLiteral("c") + QChar(0) << false << start << refused;
        // Why: characters code page 932 has no form for vanished as they were
        // typed; the file now takes them in UTF-8.
        QTest::newRow("emoji") << QStringLiteral("c\U0001F600") << false
                               << QStringLiteral("abc\U0001F600") << QString();
        QTest::newRow("e acute, hangul, arabic")
            << QStringLiteral("caf\u00E9 안녕 سلام") << false
            << QStringLiteral("abcaf\u00E9 안녕 سلام") << QString();
        QTest::newRow("plain text typed")
            << QStringLiteral("c d,e") << true << QStringLiteral("abc d,e") << QString();
        QTest::newRow("kana, half-width kana, circled digit")
            << QStringLiteral("あｱ①") << false << QStringLiteral("abあｱ①") << QString();
        // Code page 932 keeps WAVE DASH as FULLWIDTH TILDE and YEN SIGN as the
        // backslash; the box shows what the message file will give back, and
        // says so, since the change is visible.
        QTest::newRow("wave dash")
            << QStringLiteral("\u301C") << false << QStringLiteral("ab\uFF5E")
            << QStringLiteral("「\u301C」は「\uFF5E」");
        QTest::newRow("yen sign") << QStringLiteral("\u00A5") << true << QStringLiteral("ab\\")
                                  << QStringLiteral("「\u00A5」は「\\」");
    }

    void textBoxTakesOnlyWhatCanBeStored()
    {
        QFETCH(QString, input);
        QFETCH(bool, typed);
        QFETCH(QString, shown);
        QFETCH(QString, told);
        Frm_Main &sign = f.startSign();
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        setup->Txt_Data->setText(QStringLiteral("ab"));
        QToolTip::hideText();

        if (typed)
            QTest::keyClicks(setup->Txt_Data, input);
        else
            setup->Txt_Data->insert(input);
        QCOMPARE(setup->Txt_Data->text(), shown);
        if (told.isEmpty())
            QVERIFY(!QToolTip::isVisible());
        else
            QVERIFY2(QToolTip::text().contains(told), qPrintable(QToolTip::text()));
    }

    void speedOutsideTheSlider_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("sliderAt");

        QTest::newRow("above the right end") << 32000 << 30000;
        QTest::newRow("just above the right end") << 30001 << 30000;
        QTest::newRow("zero") << 0 << 1;
        QTest::newRow("negative") << -5 << 1;
    }

    // Why: only a hand-edited file holds such a speed; ＯＫ without touching
    // the slider must keep it rather than the slider's clamped position.
    void speedOutsideTheSlider()
    {
        QFETCH(int, speed);
        QFETCH(int, sliderAt);
        StartFiles files;
        files.speed = speed;
        Frm_Main &sign = f.startSign(files);
        const QRect signFrame = sign.frameGeometry();
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        QCOMPARE(setup->Sld_Speed->value(), sliderAt);
        QCOMPARE(setup->speed->New_Speed, speed);

        QTest::mouseClick(setup->Cmd_Ok, Qt::LeftButton);
        QVERIFY(f.unloaded<Frm_Setup>());
        QCOMPARE(SignSettings.Speed, speed);
        QCOMPARE(f.readFile(f.settingsPath()),
                 f.savedSettings(signFrame, speed, files.fore, files.back));
    }

    void okSavesAndLaysOutTheSign_data()
    {
        QTest::addColumn<QString>("pasted"); // replaces the message; null: untouched
        QTest::addColumn<int>("sliderKey");  // 0: slider untouched
        QTest::addColumn<int>("foreSwatch"); // -1: untouched
        QTest::addColumn<int>("backSwatch");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("textCp932");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("fore");
        QTest::addColumn<int>("back");

        const StartFiles s;
        QTest::newRow("nothing changed, both files rewritten")
            << QString() << 0 << -1 << -1 << MessageText << s.message << s.speed << s.fore
            << s.back;
        // The reference itself is stored, as a negative number.
        QTest::newRow("all changed, text colour from swatch 0")
            << Notice << int(Qt::Key_End) << 0 << 4 << Notice << NoticeCp932 << 30000
            << WindowColour << 0xFF0000;
        QTest::newRow("background from swatch 0, slowest")
            << QStringLiteral("Hello, world") << int(Qt::Key_Home) << 2 << 0
            << QStringLiteral("Hello, world") << QByteArray("Hello, world") << 1 << 0x00FF00
            << WindowColour;
        QTest::newRow("empty message") << QStringLiteral("") << 0 << 7 << 1 << QString()
                                       << QByteArray() << s.speed << 0 << 0x00FFFF;
        QTest::newRow("wave dash stored as it is shown")
            << QStringLiteral("A\u301CB") << 0 << -1 << -1 << QStringLiteral("A\uFF5EB")
            << QByteArray("A\x81\x60"
                          "B")
            << s.speed << s.fore << s.back;
        // Longer than a line edit takes by default.
        QTest::newRow("40000 characters")
            << QString(40000, u'x') << 0 << -1 << -1 << QString(40000, u'x')
            << QByteArray(40000, 'x') << s.speed << s.fore << s.back;
    }

    void okSavesAndLaysOutTheSign()
    {
        QFETCH(QString, pasted);
        QFETCH(int, sliderKey);
        QFETCH(int, foreSwatch);
        QFETCH(int, backSwatch);
        QFETCH(QString, text);
        QFETCH(QByteArray, textCp932);
        QFETCH(int, speed);
        QFETCH(int, fore);
        QFETCH(int, back);

        Frm_Main &sign = f.startSign();
        // The settings file takes the window's position at the time of the
        // save, not the one read at start-up.
        sign.move(90, 45);
        const QRect signFrame = sign.frameGeometry();
        // No tick may move the message between ＯＫ and the checks.
        sign.Tim_Shift.setEnabled(false);
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);

        if (!pasted.isNull()) {
            setup->Txt_Data->selectAll();
            setup->Txt_Data->insert(pasted);
        }
        if (sliderKey) {
            f.press(Qt::Key_Right);
            f.press(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), setup->Sld_Speed);
            f.press(Qt::Key(sliderKey));
        }
        if (foreSwatch >= 0)
            clickSwatch(*setup, setup->colours->foreSwatch(foreSwatch));
        if (backSwatch >= 0)
            clickSwatch(*setup, setup->colours->backSwatch(backSwatch));
        QTest::mouseClick(setup->Cmd_Ok, Qt::LeftButton);

        QVERIFY(f.boxes.empty());
        QCOMPARE(SignSettings.DataText, text);
        QCOMPARE(SignSettings.Speed, speed);
        QCOMPARE(SignSettings.ForeColor, fore);
        QCOMPARE(SignSettings.BackColor, back);
        QCOMPARE(f.readFile(f.settingsPath()), f.savedSettings(signFrame, speed, fore, back));
        QCOMPARE(f.readFile(f.messagePath()), golden::message(textCp932));
        // Laid out again, the new message starting at the right edge.
        QVERIFY(sign.isVisible());
        QCOMPARE(sign.frameGeometry(), signFrame);
        QCOMPARE(sign.Lbl_Data.Caption(), text);
        QCOMPARE(sign.Lbl_Data.Left(), sign.Width());
        QCOMPARE(sign.Lbl_Data.ForeColor(), fore);
        QCOMPARE(sign.Lbl_Data.BackColor(), back);
        QCOMPARE(sign.BackColor(), back);
        QVERIFY(f.unloaded<Frm_Setup>());
    }

    // Why: a text that neither form of the file can hold must not be half
    // saved; ＯＫ keeps the dialog open and names what is in the way.
    void okWithAQuoteAndACommaNamesThem()
    {
        Frm_Main &sign = f.startSign();
        const QByteArray settingsFile = f.readFile(f.settingsPath());
        const QByteArray messageFile = f.readFile(f.messagePath());
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        setup->Txt_Data->setText(QStringLiteral("Say \"hi\", then"));
        setup->Tab_Setup->setTab(2);

        QTest::mouseClick(setup->Cmd_Ok, Qt::LeftButton);

        QCOMPARE(f.boxes.size(), 1u);
        QCOMPARE(f.boxes[0].prompt, SaveFailed);
        QVERIFY2(f.boxes[0].detail.contains(u'"') && f.boxes[0].detail.contains(u','),
                 qPrintable(f.boxes[0].detail));
        QCOMPARE(f.readFile(f.settingsPath()), settingsFile);
        QCOMPARE(f.readFile(f.messagePath()), messageFile);
        QCOMPARE(SignSettings.DataText, MessageText);
        QVERIFY(!f.unloaded<Frm_Setup>());
        QCOMPARE(setup->Tab_Setup->Tab(), 0); // the message's page is shown
    }

    void okWithAFileUnwritable_data()
    {
        QTest::addColumn<int>("failing");
        QTest::newRow("settings file unwritable") << int(SettingsFile);
        QTest::newRow("message file unwritable") << int(MessageFile);
        // 2200 pixels are 33000 twips, more than the file's numbers hold.
        QTest::newRow("sign too far right to be saved") << int(SignPosition);
    }

    void okWithAFileUnwritable()
    {
        QFETCH(int, failing);
        Frm_Main &sign = f.startSign();
        if (failing == SignPosition)
            sign.move(2200, 10);
        else if (!f.makeImmutable(failing == SettingsFile ? f.settingsPath() : f.messagePath()))
            QSKIP("chattr +i is refused here, so a file cannot be made unwritable");
        const QRect signFrame = sign.frameGeometry();
        const QByteArray settingsFile = f.readFile(f.settingsPath());
        const QByteArray messageFile = f.readFile(f.messagePath());
        std::optional<SetupDialog> setup = openSetup(sign);
        QVERIFY(setup);
        setup->Txt_Data->selectAll();
        setup->Txt_Data->insert(Notice);
        setup->Sld_Speed->setValue(6000);
        clickSwatch(*setup, setup->colours->foreSwatch(2));

        const QString file = failing == MessageFile ? f.messagePath() : f.settingsPath();
        // The log names the file as the box does.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^cannot save the settings: ") +
                                                QRegularExpression::escape(file)));

        QTest::mouseClick(setup->Cmd_Ok, Qt::LeftButton);

        QCOMPARE(f.boxes.size(), 1u);
        QCOMPARE(f.boxes[0].prompt, SaveFailed);
        QCOMPARE(f.boxes[0].buttons, 16);
        QCOMPARE(f.boxes[0].title, ErrorTitle);
        // Why: the box used to say only that the save failed; it names the
        // file and what the system said.
        const QString reason = failing == SignPosition ? QStringLiteral("16 bits")
                                                       : QStringLiteral("Operation not permitted");
        QVERIFY2(f.boxes[0].detail.startsWith(file) && f.boxes[0].detail.contains(reason),
                 qPrintable(f.boxes[0].detail));
        // The settings file is written first: when only the message file
        // fails, it already holds the new speed and colour.
        QCOMPARE(f.readFile(f.settingsPath()),
                 failing == MessageFile
                     ? f.savedSettings(signFrame, 6000, 0x00FF00, StartFiles{}.back)
                     : settingsFile);
        QCOMPARE(f.readFile(f.messagePath()), messageFile);
        QVERIFY(!f.unloaded<Frm_Setup>());
        QVERIFY(setup->form->isVisible());
        QVERIFY(!sign.isVisible());
        QCOMPARE(setup->Txt_Data->text(), Notice);
        // The record took the new values before the save was tried.
        QCOMPARE(SignSettings.DataText, Notice);
        QCOMPARE(SignSettings.Speed, 6000);
        QCOMPARE(SignSettings.ForeColor, 0x00FF00);
        QCOMPARE(SignSettings.BackColor, StartFiles{}.back);

        // Cancel: the old text and colours stay on the sign until its next
        // layout, but the new speed is already in effect.
        QTest::mouseClick(setup->Cmd_Cansel, Qt::LeftButton);
        QVERIFY(f.unloaded<Frm_Setup>());
        QVERIFY(sign.isVisible());
        QCOMPARE(sign.Lbl_Data.Caption(), MessageText);
        QCOMPARE(sign.Lbl_Data.ForeColor(), StartFiles{}.fore);
        sign.Lbl_Data.setLeft(0);
        sign.Tim_Shift.fire();
        QCOMPARE(sign.Lbl_Data.Left(), -60.f);

        // The next opening shows the values of the failed attempt.
        setup = openSetup(sign);
        QVERIFY(setup);
        QCOMPARE(setup->Txt_Data->text(), Notice);
        verifyOpenedFromRecord(*setup);
    }
};

QTEST_MAIN(TestSetupDialog)
#include "tst_setup_dialog.moc"
