// SPDX-License-Identifier: MIT
// The text strip's layout: runs of whole graphemes, the same however the
// work is split (a little at a time on the GUI thread, or whole on the worker
// thread), and drawn the same before and after a long text's measurement lands.

#include "Fonts.h"
#include "RunLayout.h"
#include "TextStrip.h"

#include <QGlyphRun>
#include <QPainter>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextLayout>

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
    // Why: a message in any script must be drawn, not as boxes: what the
    // designed font lacks comes through fontconfig's fallback.
    void everyScriptHasGlyphs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("Latin") << QStringLiteral("Grüße, café, señor €5");
        QTest::newRow("Hangul") << QStringLiteral("안녕하세요");
        QTest::newRow("emoji") << QStringLiteral("😀🎉");
        QTest::newRow("Arabic") << QStringLiteral("مرحبا بالعالم");
        QTest::newRow("Hebrew") << QStringLiteral("שלום עולם");
    }

    void everyScriptHasGlyphs()
    {
        QFETCH(QString, text);
        QTextLayout layout(text, runtime::designedFont(20.25));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : layout.glyphRuns())
            QVERIFY2(!run.glyphIndexes().contains(0),
                     qPrintable(run.rawFont().familyName() + QStringLiteral(" lacks a glyph")));
    }

    // Why: laid out in short runs end to end, a right-to-left message came
    // out in the wrong order across runs; it must look as the whole line
    // does, the bidirectional algorithm's order, and still be measured whole.
    void rightToLeftDrawsAsOneLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("Hebrew, longer than a run") << repeated(QStringLiteral("שלום עולם "), 80);
        QTest::newRow("Arabic inside Latin")
            << QStringLiteral("Open 10:00 مرحبا بالعالم، أهلا وسهلا bis 19:00 Uhr, welcome");
    }

    void rightToLeftDrawsAsOneLine()
    {
        QFETCH(QString, text);
        const QFont font = runtime::designedFont(20.25);
        TextStrip strip;
        strip.setFont(font);
        strip.setText(text);
        strip.setBackground(Qt::white);
        const int width = int(std::ceil(strip.width()));
        QCOMPARE(strip.width(), QFontMetricsF(font).horizontalAdvance(text));

        QImage whole(width, int(std::ceil(strip.height())), QImage::Format_RGB32);
        whole.fill(Qt::white);
        {
            QPainter painter(&whole);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(0, QFontMetricsF(font).ascent()), text);
        }
        strip.setColor(Qt::black);
        QCOMPARE(drawn(strip, 0, width), whole);
    }

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
