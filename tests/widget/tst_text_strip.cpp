// SPDX-License-Identifier: MIT
// The text strip's layout: runs of whole graphemes, the same however the
// work is split (a little at a time on the GUI thread, or whole on the worker
// thread), and drawn the same before and after a long text's measurement lands.

#include "Fonts.h"
#include "RunLayout.h"
#include "TextStrip.h"

#include <QPainter>
#include <QTest>
#include <QTextBoundaryFinder>

using runtime::RunLayout;
using runtime::TextStrip;

namespace {

constexpr double Everything = 1e300;

QString repeated(const QString &piece, qsizetype length)
{
    QString text;
    while (text.size() < length)
        text += piece;
    return text;
}

// The strip's pixels over [x, x + width), drawn on white.
QImage drawn(const TextStrip &strip, int x, int width)
{
    QImage image(width, int(std::ceil(strip.height())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    strip.paint(painter, QPointF(-x, 0), image.rect());
    return image;
}

} // namespace

class TestTextStrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { runtime::installFontSubstitutions(); }

    // Why: long texts are split into chunks to find grapheme boundaries; a
    // chunk that ends inside a grapheme (a combining mark, a flag's second
    // half, an emoji sequence) must not cut it, and where the work pauses
    // must not change a single run.
    void sameRunsHoweverSplit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii and Japanese")
            << repeated(QStringLiteral("Velmora 電光掲示板 Open 10:00-19:00 "), 9000);
        QTest::newRow("combining marks") << repeated(QStringLiteral("e\u0301\u0323a"), 9000);
        QTest::newRow("flags") << repeated(QStringLiteral("\U0001F1EF\U0001F1F5x"), 9001);
        QTest::newRow("emoji sequences")
            << repeated(QStringLiteral("\U0001F469\u200D\U0001F4BB\u30A2"), 7000);
        QTest::newRow("one grapheme longer than a chunk")
            << QStringLiteral("a") + QString(3000, QChar(0x0301)) + QStringLiteral("bc");
    }

    void sameRunsHoweverSplit()
    {
        QFETCH(QString, text);
        const QFont font = runtime::designedFont(24);

        RunLayout whole(text, font);
        QVERIFY(whole.layOutTo(Everything));
        QVERIFY(whole.isComplete());

        RunLayout bits(text, font);
        for (double x = 0; !bits.isComplete(); x += 37.5)
            bits.layOutTo(x);

        QCOMPARE(bits.runs().size(), whole.runs().size());
        for (std::size_t i = 0; i < whole.runs().size(); ++i) {
            QCOMPARE(bits.runs()[i].start, whole.runs()[i].start);
            QCOMPARE(bits.runs()[i].x, whole.runs()[i].x);
        }
        QCOMPARE(bits.width(), whole.width());

        // Every run starts on a boundary of the whole text.
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
        for (const RunLayout::Run &run : whole.runs()) {
            graphemes.setPosition(run.start);
            QVERIFY2(graphemes.isAtBoundary(), qPrintable(QString::number(run.start)));
        }
        QCOMPARE(whole.runs().back().start + whole.runs().back().length, text.size());

        // The worker thread measures it the same.
        TextStrip strip;
        strip.setFont(font);
        strip.setText(text);
        bool landed = false;
        strip.measured = [&landed] { landed = true; };
        QVERIFY(text.size() <= TextStrip::MeasuredAside || !strip.isMeasured());
        QTRY_VERIFY(strip.isMeasured());
        QCOMPARE(landed, text.size() > TextStrip::MeasuredAside);
        QCOMPARE(strip.width(), whole.width());
    }

    // Why: until the measurement lands the strip draws from what it laid out
    // itself; the pixels must be those it draws afterwards.
    void drawsTheSameBeforeAndAfterMeasuring()
    {
        const QString text = repeated(QStringLiteral("掲示板 Wide iii WWW "), 40000);
        TextStrip strip;
        strip.setFont(runtime::designedFont(30));
        strip.setText(text);
        strip.setColor(Qt::black);
        const int x = 3 * TextStrip::TileWidth + 17;
        const QImage before = drawn(strip, x, 700);
        QVERIFY(!strip.isMeasured());
        QTRY_VERIFY(strip.isMeasured());
        QCOMPARE(drawn(strip, x, 700), before);
        QVERIFY(before != drawn(strip, x + 40, 700)); // it draws something
    }

    // Why: a new text or font while a measurement runs must never let the
    // old measurement's width through.
    void changeDuringMeasurementKeepsTheLatest()
    {
        TextStrip strip;
        strip.setFont(runtime::designedFont(20));
        strip.setText(repeated(QStringLiteral("WWWW"), 200000));
        QVERIFY(!strip.isMeasured());
        const QString narrow = repeated(QStringLiteral("iiii"), 100000);
        strip.setText(narrow);
        strip.setFont(runtime::designedFont(10));
        QTRY_VERIFY(strip.isMeasured());
        QTest::qWait(50); // anything still queued from the cancelled ones lands now

        RunLayout expected(narrow, runtime::designedFont(10));
        expected.layOutTo(Everything);
        QCOMPARE(strip.width(), expected.width());
    }
};

QTEST_MAIN(TestTextStrip)
#include "tst_text_strip.moc"
