// SPDX-License-Identifier: MIT
// What a screen reader finds in the setup dialog: the chosen colour in words,
// a refused character's reason on the text box; and the colour row's focus
// mark, which must be seen. The events that tell a screen reader of changes
// need the platform's bridge, which the offscreen platform lacks:
// test_accessibility watches them on AT-SPI.

#include "ColourPage.h"
#include "DialogFixture.h"
#include "LabelRow.h"
#include "TabControl.h"

#include <QAccessible>
#include <QLineEdit>

class TestSpoken : public QObject
{
    Q_OBJECT

    DialogFixture f;

    // The colour page of a new setup dialog, its text colour row focused.
    ColourPage *colourPageWithFocusOn(Frm_Main &sign)
    {
        Frm_Setup *setup = f.openSetup(sign);
        if (!setup)
            return nullptr;
        auto *page = setup->page<ColourPage>();
        DialogFixture::control<runtime::TabControl>(*setup, QStringLiteral("Tab_Setup"))->setTab(2);
        runtime::LabelRow *row = page->foreRow();
        for (int i = 0; i < 10 && QApplication::focusWidget() != row; ++i)
            f.press(Qt::Key_Tab);
        return QApplication::focusWidget() == row ? page : nullptr;
    }

private slots:
    void initTestCase() { f.setUpProgram(); }
    void init() { f.enterScratchDirectory(); }
    void cleanup() { f.tearDown(); }

    // Why: nothing told a screen reader which colour was chosen: the
    // previews were hidden and the chosen item said no more than the others.
    void colourRowSaysTheChosenColour()
    {
        StartFiles files;
        files.fore = 0x00FF00;
        Frm_Main &sign = f.startSign(files);
        ColourPage *page = colourPageWithFocusOn(sign);
        QVERIFY(page);
        runtime::LabelRow *row = page->foreRow();
        const auto description = [row](int i) {
            return row->itemInterface(i)->text(QAccessible::Description);
        };
        QCOMPARE(row->current(), 2);
        QCOMPARE(description(2), QStringLiteral("選択中"));
        QCOMPARE(row->accessibleDescription(), QStringLiteral("緑"));
        QCOMPARE(page->forePreview().accessibleName(), QStringLiteral("緑"));

        f.press(Qt::Key_Right);
        f.press(Qt::Key_Space);
        QCOMPARE(description(2), QString());
        QCOMPARE(description(3), QStringLiteral("選択中"));
        QVERIFY(row->itemInterface(3)->state().selected);
        QCOMPARE(row->accessibleDescription(), QStringLiteral("水色"));
        QCOMPARE(page->forePreview().accessibleName(), QStringLiteral("水色"));
        // A colour no swatch shows, by its value.
        QCOMPARE(page->backPreview().accessibleName(), QStringLiteral("その他の色 (#214365)"));
    }

    // Why: a refused character only beeped and showed a tooltip, which a
    // screen reader never read.
    void refusalIsTheTextBoxDescription()
    {
        Frm_Main &sign = f.startSign();
        Frm_Setup *setup = f.openSetup(sign);
        QVERIFY(setup);
        auto *box = DialogFixture::control<QLineEdit>(*setup, QStringLiteral("Txt_Data"));
        box->setFocus();
        box->insert(QStringLiteral("c\nd"));
        QCOMPARE(box->accessibleDescription(),
                 QStringLiteral("表示文字列は一行です。改行は入力できません。"));
        QCoreApplication::processEvents();
        QTest::keyClicks(box, QStringLiteral("x"));
        QCOMPARE(box->accessibleDescription(), QString());
    }

    // Why: the mark was one pixel of a colour that could be faint on the page.
    void rowMarkIsThickAndClear()
    {
        Frm_Main &sign = f.startSign();
        ColourPage *page = colourPageWithFocusOn(sign);
        QVERIFY(page);
        const QImage marked = page->grab().toImage();
        f.press(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != page->foreRow());
        const QImage plain = page->grab().toImage();

        const QRect swatch = page->foreSwatch(page->foreRow()->current()).pixelArea();
        const int y = swatch.center().y();
        // Leftwards from the swatch's border: the gap, then the mark.
        int x = swatch.left() - 1;
        while (x > 0 && marked.pixel(x, y) == plain.pixel(x, y))
            --x;
        const int gap = swatch.left() - 1 - x;
        int thickness = 0;
        for (; x > 0 && marked.pixel(x, y) != plain.pixel(x, y); --x) {
            ++thickness;
            QVERIFY2(contrastRatio(marked.pixel(x, y), plain.pixel(x, y)) >= 3.0,
                     qPrintable(QStringLiteral("%1 on %2")
                                    .arg(QColor(marked.pixel(x, y)).name(),
                                         QColor(plain.pixel(x, y)).name())));
        }
        QVERIFY2(thickness >= 2, qPrintable(QString::number(thickness)));
        QVERIFY2(gap >= 1 && gap < 4, qPrintable(QString::number(gap)));
    }
};

QTEST_MAIN(TestSpoken)
#include "tst_spoken.moc"
