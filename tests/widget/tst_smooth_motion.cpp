// SPDX-License-Identifier: MIT
// Smooth motion on a fake clock: the message keeps the designed pace and
// positions, whatever the frames' timing, moves one device pixel at a time
// at speeds up to the frame rate, and nothing is repainted when nothing moved.

#include "SignFixture.h"
#include "SmoothMotion.h"

#include <QRandomGenerator>

#include <vector>

namespace {

constexpr std::int64_t Ms = 1'000'000;

// Counts the paints of one widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestSmoothMotion : public QObject
{
    Q_OBJECT

    SignFixture f;
    std::int64_t now = 0;

    // The sign with its timer stopped and smooth motion on the fake clock.
    std::unique_ptr<SmoothMotion> smooth(Frm_Main &sign)
    {
        sign.Tim_Shift.setEnabled(false);
        auto motion = std::make_unique<SmoothMotion>(
            sign.Lbl_Data, [&sign] { sign.Tim_Shift_Timer(); },
            [] { return Bas_Comm::SignSettings.Speed; });
        motion->setClock([this] { return now; });
        return motion;
    }

    // Where the message is drawn, in device pixels (the offscreen screen's
    // ratio is 1).
    static double drawnPixel(const Frm_Main &sign)
    {
        return std::round((sign.Lbl_Data.Left() + sign.Lbl_Data.drawOffset()) / SignFixture::tpp());
    }

private slots:
    void initTestCase() { f.setUpProgram(); }
    void init()
    {
        f.enterScratchDirectory();
        now = 0;
    }
    void cleanup() { f.tearDown(); }

    // Why: the position must be a function of time, exact at every tick and
    // over whole wraps, however late or early the frames come.
    void keepsTheDesignedPositions()
    {
        // A short message in a narrow sign at a high speed wraps often.
        Frm_Main &sign = f.startSign("Hi", golden::Settings{.width = 1500, .speed = 9000});
        sign.Tim_Shift.setEnabled(false);
        std::vector<double> designed{sign.Lbl_Data.Left()};
        for (int tick = 0; tick < 200; ++tick) {
            sign.Tim_Shift_Timer();
            designed.push_back(sign.Lbl_Data.Left());
        }
        QVERIFY2(std::adjacent_find(designed.begin(), designed.end(), std::less<double>()) !=
                     designed.end(),
                 "the message never wrapped");

        Bas_Comm::Disp_Set(); // back to the right edge
        const auto motion = smooth(sign);
        const double step = Bas_Comm::SignSettings.Speed * 0.01;
        auto *random = QRandomGenerator::global();
        while (now <= 200 * SmoothMotion::TickNs) {
            motion->frame();
            const std::int64_t tick = now / SmoothMotion::TickNs;
            const double into = double(now % SmoothMotion::TickNs) / double(SmoothMotion::TickNs);
            QCOMPARE(sign.Lbl_Data.Left(), designed[std::size_t(tick)]);
            QCOMPARE(sign.Lbl_Data.drawOffset(), -step * into);
            // Frames from 1 to 170 ms apart, some on a tick exactly.
            now += random->bounded(4) == 0 ? SmoothMotion::TickNs - now % SmoothMotion::TickNs
                                           : (1 + random->bounded(170)) * Ms;
        }
    }

    void stepsOnePixelAtATime_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("stepsPerSecond"); // -1: a step every frame
        QTest::newRow("20 px/s, the default") << 3000 << 20;
        QTest::newRow("1 px/s") << 150 << 1;
        // Why: between 30 and 60 px/s a frame at each tick held the next
        // step back by a whole frame.
        QTest::newRow("50 px/s") << 7500 << 50;
        QTest::newRow("60 px/s, the frame rate") << 9000 << 60;
        QTest::newRow("backwards, 20 px/s") << -3000 << 20;
    }

    // Why: the designed ticker jumps 2 px ten times a second at the default
    // speed, which users see as jerky; smooth motion steps one pixel at a
    // time, evenly spaced.
    void stepsOnePixelAtATime()
    {
        QFETCH(int, speed);
        QFETCH(int, stepsPerSecond);
        Frm_Main &sign = f.startSign(QByteArray(60, 'H'), golden::Settings{.speed = speed});
        const auto motion = smooth(sign);
        std::int64_t wait = motion->frame();
        QCoreApplication::processEvents();
        double pixel = drawnPixel(sign);
        std::vector<std::int64_t> stepTimes;
        PaintCounter counter(&sign);
        // Each frame comes exactly when it asked to.
        while (now < 2000 * Ms) {
            now += wait;
            wait = motion->frame();
            QCoreApplication::processEvents();
            const double moved = std::abs(drawnPixel(sign) - pixel);
            QVERIFY2(moved <= 1,
                     qPrintable(QStringLiteral("%1 px at %2 ms").arg(moved).arg(now / Ms)));
            if (moved == 1)
                stepTimes.push_back(now);
            pixel = drawnPixel(sign);
        }
        // Why: a tick's frame repainted the message where it already was.
        QVERIFY2(counter.paints <= int(stepTimes.size()),
                 qPrintable(QStringLiteral("%1 paints for %2 steps")
                                .arg(counter.paints)
                                .arg(stepTimes.size())));
        // Two seconds' steps, give or take the one at either end.
        QVERIFY2(std::abs(int(stepTimes.size()) - 2 * stepsPerSecond) <= 1,
                 qPrintable(QString::number(stepTimes.size())));
        for (std::size_t i = 2; i < stepTimes.size(); ++i) {
            const std::int64_t gap = stepTimes[i] - stepTimes[i - 1];
            const std::int64_t ideal = 1000 * Ms / stepsPerSecond;
            QVERIFY2(std::abs(gap - ideal) <= 2 * Ms + ideal / 10,
                     qPrintable(QStringLiteral("%1 ms between steps").arg(gap / 1e6)));
        }
    }

    // Why: a sign that stands still must cost nothing to draw.
    void nothingMovedNothingPainted()
    {
        Frm_Main &sign = f.startSign("Hello", golden::Settings{.speed = 0});
        const auto motion = smooth(sign);
        motion->frame();
        QCoreApplication::processEvents();
        PaintCounter counter(&sign);
        for (int frame = 0; frame < 50; ++frame) {
            now += motion->frame();
            QCoreApplication::processEvents();
        }
        QCOMPARE(counter.paints, 0);
        QVERIFY(now >= 50 * SmoothMotion::TickNs); // it waits a tick at a time
    }
};

QTEST_MAIN(TestSmoothMotion)
#include "tst_smooth_motion.moc"
