// SPDX-License-Identifier: MIT
// The scroll ticker: each tick moves the message left by Speed hundredths of
// a twip and, once it has left the window completely, puts it back at the
// right edge of the client area.

#include "RunLayout.h"
#include "SignFixture.h"

class TestSignTicker : public QObject
{
    Q_OBJECT

    SignFixture f;

private slots:
    void initTestCase() { f.setUpProgram(); }
    void init() { f.enterScratchDirectory(); }
    void cleanup() { f.tearDown(); }

    void tick_data()
    {
        QTest::addColumn<double>("labelWidth");
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("startLeft");
        QTest::addColumn<int>("ticks");
        // Where the label ends up: `offset` twips from the client's right edge
        // when `fromRightEdge`, else `offset` twips from its left edge.
        QTest::addColumn<bool>("fromRightEdge");
        QTest::addColumn<double>("offset");

        QTest::newRow("30 twips a tick") << 1000.0 << 3000 << 100.0 << 1 << false << 70.0;
        QTest::newRow("largest speed") << 1000.0 << 32767 << 100.0 << 1 << false << -227.67;
        QTest::newRow("just gone: no wrap yet")
            << 1000.0 << 3000 << -970.0 << 1 << false << -1000.0;
        QTest::newRow("past its width: wraps") << 1000.0 << 3000 << -1000.0 << 1 << true << 0.0;
        QTest::newRow("a hundredth past: wraps") << 1000.0 << 1 << -1000.0 << 1 << true << 0.0;
        QTest::newRow("wrap, then on from the edge")
            << 1000.0 << 3000 << -950.0 << 3 << true << -30.0;
        // The label width is rounded to whole twips, halves to even:
        // 1000.5 counts as 1000 and 1001.5 as 1002.
        QTest::newRow("1000.5 wide, past 1000: wraps")
            << 1000.5 << 1 << -1000.0 << 1 << true << 0.0;
        QTest::newRow("1001.5 wide, at 1002: no wrap")
            << 1001.5 << 50 << -1001.5 << 1 << false << -1002.0;
        QTest::newRow("1001.5 wide, past 1002: wraps")
            << 1001.5 << 1 << -1002.0 << 1 << true << 0.0;
        QTest::newRow("speed 0 stands still") << 1000.0 << 0 << 500.0 << 20 << false << 500.0;
        QTest::newRow("negative speed moves right")
            << 1000.0 << -3000 << 100.0 << 1 << false << 130.0;
        // Only the left side is tested, so it leaves on the right for good.
        QTest::newRow("negative speed never wraps")
            << 1000.0 << -3000 << 4000.0 << 100 << false << 7000.0;
    }

    void tick()
    {
        QFETCH(double, labelWidth);
        QFETCH(int, speed);
        QFETCH(double, startLeft);
        QFETCH(int, ticks);
        QFETCH(bool, fromRightEdge);
        QFETCH(double, offset);

        Frm_Main &sign = f.startSign("tick");
        sign.Lbl_Data.setWidth(labelWidth);
        sign.Lbl_Data.setLeft(startLeft);
        Bas_Comm::SignSettings.Speed = std::int16_t(speed);
        for (int i = 0; i < ticks; ++i)
            sign.Tim_Shift.fire();

        // The re-entry point is the client's right edge, not the outer width
        // that the layout starts from.
        const double expected = fromRightEdge ? sign.ScaleWidth() + offset : offset;
        QCOMPARE(sign.Lbl_Data.Left(), expected);
        QCOMPARE(sign.Lbl_Data.Width(), labelWidth);
    }

    // Why: a hundredth of a twip per tick is far below a pixel; the label must
    // keep the fraction, or the slowest speed would never move the message.
    void slowestSpeedAccumulates()
    {
        Frm_Main &sign = f.startSign("slow", {.speed = 1});
        sign.Lbl_Data.setWidth(1000);
        sign.Lbl_Data.setLeft(0);
        for (int i = 0; i < 150; ++i)
            sign.Tim_Shift.fire();
        QVERIFY2(qAbs(sign.Lbl_Data.Left() + 1.5f) < 0.001f,
                 qPrintable(QString::number(sign.Lbl_Data.Left())));

        const int ticksPerPixel = int(std::lround(f.tpp() * 100));
        for (int i = 150; i < 2 * ticksPerPixel; ++i)
            sign.Tim_Shift.fire();
        QCOMPARE(std::lround(sign.Lbl_Data.pixelRect().left()), -2L);
    }

    // Why: messages far wider than 32768 twips (a 16-bit width), and wider
    // than 2^31 twips (a 4,000,000-character message in the tallest window),
    // must scroll and wrap like short ones instead of ending the program.
    void longMessageScrollsAndWraps_data()
    {
        QTest::addColumn<QByteArray>("fileText");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("height"); // outer height, twips
        QTest::addColumn<double>("widerThan");
        QTest::newRow("10000 ascii") << QByteArray(10000, 'x') << 10000 << 600 << 32768.0;
        QTest::newRow("2000 full-width")
            << QByteArray("\x82\xa0").repeated(2000) << 2000 << 600 << 32768.0;
        // The tallest window the settings file can hold, in whole pixels.
        QTest::newRow("4000000 full-width, tallest window")
            << QByteArray("\x82\xa0").repeated(4'000'000) << 4'000'000 << 32760 << 2147483648.0;
    }

    void longMessageScrollsAndWraps()
    {
        QFETCH(QByteArray, fileText);
        QFETCH(int, characters);
        QFETCH(int, height);
        QFETCH(double, widerThan);

        Frm_Main &sign = f.startSign(fileText, {.height = height, .speed = 3000});
        QVERIFY(!runtime::hasEnded());
        runtime::Label &label = sign.Lbl_Data;
        QCOMPARE(label.Caption().size(), qsizetype(characters));
        const double width = label.Width();
        QVERIFY2(width > widerThan, qPrintable(QString::number(width)));
        QCOMPARE(label.Left(), sign.Width());

        sign.Tim_Shift.fire();
        QCOMPARE(label.Left(), sign.Width() - 30.0);
        QVERIFY(QTest::qWaitForWindowExposed(&sign));
        sign.repaint(); // drawing a label that wide must not overflow either

        label.setLeft(30.0 - width);
        sign.Tim_Shift.fire();
        QCOMPARE(label.Left(), -width); // the last pixel column just gone
        sign.Tim_Shift.fire();
        QCOMPARE(label.Left(), double(sign.ScaleWidth()));
        sign.repaint();

        QVERIFY(!runtime::hasEnded());
        QVERIFY(f.boxes.empty());
        QCOMPARE(label.Width(), width);
    }

    // Why: a long message is measured on a worker thread, and until that
    // lands the label's width is only an estimate from its first part. The
    // message must still wrap on the tick it has fully left, neither when
    // the estimate says nor later; here no event is processed, so the
    // measurement cannot land at all.
    void wrapsExactlyBeforeTheMeasurementLands_data()
    {
        QTest::addColumn<QString>("message");
        const QString narrow(3000, QLatin1Char('i'));
        const QString wide(3000, QChar(0x6F22)); // 漢
        QTest::newRow("narrow, then wide") << narrow + wide;
        QTest::newRow("wide, then narrow") << wide + narrow;
    }

    void wrapsExactlyBeforeTheMeasurementLands()
    {
        QFETCH(QString, message);
        Frm_Main &sign = f.startSign("short", {.speed = 32767});
        runtime::Label &label = sign.Lbl_Data;
        Bas_Comm::SignSettings.DataText = message;
        Bas_Comm::Disp_Set();
        QVERIFY(!label.strip().isMeasured());

        runtime::RunLayout exact(message, label.font());
        exact.layOutTo(1e300);
        const double width = std::ceil(exact.width() - 1e-6) * f.tpp();
        QVERIFY2(std::abs(label.Width() - width) > 100 * f.tpp(),
                 qPrintable(QStringLiteral("estimate %1, exact %2").arg(label.Width()).arg(width)));

        double expected = label.Left();
        for (int tick = 1;; ++tick) {
            sign.Tim_Shift.fire();
            expected -= 32767 * 0.01;
            if (expected < -width) {
                QCOMPARE(label.Left(), double(sign.ScaleWidth()));
                break;
            }
            QVERIFY2(label.Left() == expected, qPrintable(QStringLiteral("tick %1: at %2, not %3")
                                                              .arg(tick)
                                                              .arg(label.Left())
                                                              .arg(expected)));
        }
        QVERIFY(label.strip().isMeasured());
        QCOMPARE(label.Width(), width);
    }

    // The real timer, not fire(): the message keeps moving while the sign is
    // hidden (setup dialog open) or disabled (version dialog open), and is
    // still wherever the ticks took it when the window comes back.
    void realTimerRunsHiddenAndDisabled_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("shown") << QStringLiteral("shown");
        QTest::newRow("hidden") << QStringLiteral("hidden");
        QTest::newRow("disabled") << QStringLiteral("disabled");
    }

    void realTimerRunsHiddenAndDisabled()
    {
        QFETCH(QString, state);

        Frm_Main &sign = f.startSign("running", {.speed = 3000});
        QCOMPARE(sign.Tim_Shift.Interval(), 100);
        QVERIFY(sign.Tim_Shift.Enabled());
        if (state == QStringLiteral("hidden"))
            sign.Hide();
        else if (state == QStringLiteral("disabled"))
            sign.setEnabled(false);

        const float start = sign.Lbl_Data.Left();
        QTRY_VERIFY_WITH_TIMEOUT(sign.Lbl_Data.Left() <= start - 90.f, 5000);
        QCOMPARE(sign.isVisible(), state != QStringLiteral("hidden"));

        // Stop the clock to compare positions across showing and enabling.
        sign.Tim_Shift.setEnabled(false);
        const float reached = sign.Lbl_Data.Left();
        sign.setEnabled(true);
        sign.Show();
        QTest::qWait(50);
        QCOMPARE(sign.Lbl_Data.Left(), reached);
    }
};

QTEST_MAIN(TestSignTicker)
#include "tst_sign_ticker.moc"
