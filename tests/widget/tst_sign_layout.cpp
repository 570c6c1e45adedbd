// SPDX-License-Identifier: MIT
// The sign window from start-up to quit: start-up failures, the layout that
// every resize runs, what the window draws, and closing it by its close box.

#include "SignFixture.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <QTimer>

#include <stdexcept>

namespace {

const QString StartupError = QStringLiteral("起動することができません");
const QString ErrorTitle = QStringLiteral("エラーメッセージ");

// Counts Show events of top-level windows anywhere in the application.
class ShowCounter : public QObject
{
public:
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            ++shown;
        return false;
    }
};

} // namespace

class TestSignLayout : public QObject
{
    Q_OBJECT

    SignFixture f;

private slots:
    void initTestCase() { f.setUpProgram(); }
    void init() { f.enterScratchDirectory(); }
    void cleanup() { f.tearDown(); }

    void startupFailureEndsWithoutWindow_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("withMessageFile");
        QTest::addColumn<bool>("howToStart"); // the box says how to start

        const QByteArray settings = golden::bytes(QStringLiteral("Velmora.ini"));
        QTest::newRow("no settings file") << QByteArray() << true << true;
        QTest::newRow("no message file") << settings << false << true;
        // Why: the file reads well, but the window refuses the negative width
        // while Form_Load applies it; that must end like any other failure.
        QTest::newRow("negative width") << golden::Settings{.width = -15}.bytes() << true << false;
        // Why: the start-up hint is for a file that is not there; a file that
        // is there but does not read needs fixing, not another directory.
        QTest::newRow("NUL in the data directory")
            << golden::Settings{.directory = QByteArray("\"a\0b\"", 5)}.bytes() << true << false;
    }

    void startupFailureEndsWithoutWindow()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, withMessageFile);
        QFETCH(bool, howToStart);
        if (!settings.isEmpty())
            f.writeFile(f.settingsPath(), settings);
        if (withMessageFile)
            f.writeFile(f.messagePath(), golden::message("hello"));
        const QDir dir(f.path(QString()));
        const QStringList filesBefore = dir.entryList(QDir::Files | QDir::Hidden);

        // Why: the box goes away with the program; the log keeps the reason,
        // in one line of its own.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^cannot start: [^\\n]+$")));
        ShowCounter counter;
        qApp->installEventFilter(&counter);
        Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
        sign.Show(); // not even an explicit Show() brings it up after the end
        qApp->removeEventFilter(&counter);

        QVERIFY(runtime::hasEnded());
        QCOMPARE(f.boxes.size(), size_t(1));
        QCOMPARE(f.boxes[0].prompt, StartupError);
        QCOMPARE(f.boxes[0].buttons, runtime::vbCritical);
        QCOMPARE(f.boxes[0].title, ErrorTitle);
        // Why: the box must say why, not only that start-up failed.
        QVERIFY2(f.boxes[0].detail.contains(QStringLiteral("Velmora.")) ||
                     f.boxes[0].detail.contains(QStringLiteral("width")),
                 qPrintable(f.boxes[0].detail));
        for (const QString &hint : {QStringLiteral("velmora --user"), QStringLiteral("velmora -C"),
                                    QStringLiteral("man velmora")})
            QVERIFY2(f.boxes[0].detail.contains(hint) == howToStart, qPrintable(f.boxes[0].detail));
        QCOMPARE(counter.shown, 0);
        QVERIFY(!sign.isVisible());
        // Nothing written: the same files, the settings file byte for byte.
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), filesBefore);
        if (!settings.isEmpty())
            QCOMPARE(f.readFile(f.settingsPath()), settings);
    }

    // Text size in points = client height in points (twips / 20), halves to
    // the even neighbour, never below 8.
    void fontSizeFollowsClientHeight_data()
    {
        QTest::addColumn<int>("clientTwips");
        QTest::addColumn<double>("points");

        QTest::newRow("375 -> 18.75") << 375 << 19.0;
        QTest::newRow("330 -> 16.5, down to even") << 330 << 16.0;
        QTest::newRow("390 -> 19.5, up to even") << 390 << 20.0;
        QTest::newRow("450 -> 22.5, down to even") << 450 << 22.0;
        QTest::newRow("210 -> 10.5, down to even") << 210 << 10.0;
        QTest::newRow("180 -> 9") << 180 << 9.0;
        QTest::newRow("150 -> 7.5, at least 8") << 150 << 8.0;
        QTest::newRow("135 -> 6.75, at least 8") << 135 << 8.0;
        QTest::newRow("15 -> at least 8") << 15 << 8.0;
        QTest::newRow("0 -> at least 8") << 0 << 8.0;
    }

    void fontSizeFollowsClientHeight()
    {
        QFETCH(int, clientTwips);
        QFETCH(double, points);
        if (!SignFixture::wholePixels(clientTwips))
            QSKIP("this client height is not a whole number of pixels at this resolution");

        Frm_Main &sign = f.startSign("size");
        sign.resize(sign.width(), SignFixture::toPixels(clientTwips));
        QCOMPARE(sign.ScaleHeight(), float(clientTwips));
        QCOMPARE(sign.Lbl_Data.FontSize(), points);
    }

    void resizeLaysOutAgain_data()
    {
        QTest::addColumn<QByteArray>("fileText");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("clientPixels");

        QTest::newRow("ascii, wide")
            << QByteArray("Good morning") << QStringLiteral("Good morning") << QSize(500, 30);
        QTest::newRow("japanese, narrow")
            << QByteArray("\x82\xa0\x91\x53") << QStringLiteral("あ全") << QSize(120, 18);
        QTest::newRow("empty") << QByteArray() << QString() << QSize(200, 40);
    }

    void resizeLaysOutAgain()
    {
        QFETCH(QByteArray, fileText);
        QFETCH(QString, caption);
        QFETCH(QSize, clientPixels);

        Frm_Main &sign = f.startSign(fileText, {.speed = 3000, .fore = 0x0000FF, .back = 0xFF8000});
        const runtime::Label &label = sign.Lbl_Data;
        for (int i = 0; i < 5; ++i)
            sign.Tim_Shift.fire();
        QCOMPARE(label.Left(), sign.Width() - 150.f);
        sign.resize(clientPixels);
        QCOMPARE(sign.size(), clientPixels);

        QCOMPARE(label.Caption(), caption);
        QCOMPARE(label.Top(), 0.f);
        // Each resize starts the message again at the window's outer width.
        QCOMPARE(label.Left(), sign.Width());
        QCOMPARE(Bas_Comm::SignSettings.Width, runtime::toInt16(sign.Width()));
        QCOMPARE(Bas_Comm::SignSettings.Height, runtime::toInt16(sign.Height()));
        QCOMPARE(label.ForeColor(), 0x0000FF);
        QCOMPARE(label.BackColor(), 0xFF8000);
        QCOMPARE(sign.BackColor(), 0xFF8000);
        // Sized to the caption on one line: it fits, with less than a pixel to spare.
        const double text = QFontMetricsF(label.font()).horizontalAdvance(caption) * f.tpp();
        QVERIFY2(
            label.Width() >= text && label.Width() < text + f.tpp(),
            qPrintable(QStringLiteral("label %1 twips, text %2").arg(label.Width()).arg(text)));

        // And on from there at the same speed.
        sign.Tim_Shift.fire();
        QCOMPARE(label.Left(), sign.Width() - 30.f);
    }

    // The setup dialog stores a new message and runs the layout: the label
    // fits the new text and starts again from the right.
    void newMessageIsFittedAndRestarts()
    {
        Frm_Main &sign = f.startSign("short", {.speed = 3000});
        const float shortWidth = sign.Lbl_Data.Width();
        sign.Tim_Shift.fire();

        Bas_Comm::SignSettings.DataText = QStringLiteral("short, and then a good deal longer");
        Bas_Comm::Disp_Set();
        QCOMPARE(sign.Lbl_Data.Caption(), Bas_Comm::SignSettings.DataText);
        QVERIFY(sign.Lbl_Data.Width() > 3 * shortWidth);
        QCOMPARE(sign.Lbl_Data.Left(), sign.Width());
    }

    // Why: a window whose outer height reads 0 must not leave Height 0 in the
    // record, or the settings file would store a window that cannot be seen.
    void zeroOuterHeightStoresOne()
    {
        f.writeStartFiles("thin", {.width = 4500, .height = 7}); // 7 twips: under half a pixel
        Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
        QVERIFY(!runtime::hasEnded());
        if (sign.Height() != 0.f)
            QSKIP("the window does not report an outer height of 0 here");
        QCOMPARE(Bas_Comm::SignSettings.Height, std::int16_t(1));
        QCOMPARE(Bas_Comm::SignSettings.Width, std::int16_t(4500));
    }

    // Why: the record holds the window's size in 16 bits. The window is held
    // below 32767 twips either way, so a huge resize is laid out like any
    // other instead of ending the program.
    void hugeResizeIsClampedAndKeepsRunning()
    {
        Frm_Main &sign = f.startSign("big", {.speed = 3000});
        sign.resize(100000, 100000);
        QVERIFY(sign.Width() <= 32767.f && sign.Height() <= 32767.f);
        QVERIFY(sign.Width() > 30000.f && sign.Height() > 30000.f);
        QVERIFY(!runtime::hasEnded());
        QVERIFY(f.boxes.empty());
        QCOMPARE(Bas_Comm::SignSettings.Width, runtime::toInt16(sign.Width()));
        QCOMPARE(Bas_Comm::SignSettings.Height, runtime::toInt16(sign.Height()));
        QCOMPARE(sign.Lbl_Data.Left(), sign.Width());
        sign.Tim_Shift.fire();
        QCOMPARE(sign.Lbl_Data.Left(), sign.Width() - 30.f);
    }

    // Colours are 0x00BBGGRR: red text on blue must come out as exactly that,
    // with nothing of the designed green-on-black left anywhere.
    void drawsTextColourOnBackground_data()
    {
        QTest::addColumn<QByteArray>("fileText");
        QTest::newRow("text") << QByteArray("\x81\xa1\x81\xa1\x81\xa1 MW"); // "■■■ MW"
        QTest::newRow("empty") << QByteArray();
    }

    void drawsTextColourOnBackground()
    {
        QFETCH(QByteArray, fileText);
        const QColor red(255, 0, 0), blue(0, 0, 255);

        Frm_Main &sign = f.startSign(fileText, {.speed = 0, .fore = 0x0000FF, .back = 0xFF0000});
        sign.Lbl_Data.setLeft(float(10 * f.tpp()));
        const QImage image = sign.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), sign.size());

        const QRect label = sign.Lbl_Data.pixelRect().toRect();
        int textPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (!label.contains(x, y)) {
                    QCOMPARE(pixel, blue);
                    continue;
                }
                // Inside the label: text, background, or an edge blending the two.
                QCOMPARE(pixel.green(), 0);
                QVERIFY(qAbs(pixel.red() + pixel.blue() - 255) <= 2);
                if (pixel == red)
                    ++textPixels;
            }
        }
        if (fileText.isEmpty())
            QCOMPARE(textPixels, 0);
        else
            QVERIFY(textPixels > 50);
    }

    // The close box quits like the menu's quit command: the settings file
    // gets the window's position and size as they are now, not as loaded.
    // Why: an error nothing traps used to end the program with status 0, as
    // if all had gone well.
    void unexpectedErrorEndsWithFailureStatus()
    {
        runtime::setQuitOnEnd(true);
        QTest::ignoreMessage(QtWarningMsg, "unexpected error: broken");
        QTimer::singleShot(0,
                           [] { runtime::dispatch([] { throw std::runtime_error("broken"); }); });
        const int status = QCoreApplication::exec();
        runtime::setQuitOnEnd(false);
        QCOMPARE(status, 1);
        QVERIFY(runtime::hasEnded());
    }

    void closeBoxSavesLiveGeometryAndEnds()
    {
        const golden::Settings loaded{.top = 300,
                                      .left = 600,
                                      .width = 4500,
                                      .height = 375,
                                      .speed = 1234,
                                      .fore = 0x0000FF,
                                      .back = 0xFF0000};
        Frm_Main &sign = f.startSign("bye", loaded);
        sign.move(52, 40);
        sign.resize(400, 30);
        golden::Settings live = loaded;
        live.top = runtime::toInt16(sign.Top());
        live.left = runtime::toInt16(sign.Left());
        live.width = runtime::toInt16(sign.Width());
        live.height = runtime::toInt16(sign.Height());
        QCOMPARE(*live.left, runtime::toInt16(52 * f.tpp()));
        // Moved and resized: no item of the geometry is still the loaded one.
        QVERIFY(live.top != loaded.top && live.left != loaded.left && live.width != loaded.width &&
                live.height != loaded.height);

        sign.close();

        QVERIFY(runtime::hasEnded());
        QVERIFY(!runtime::FormInstance<Frm_Main>::isLoaded());
        QVERIFY(f.boxes.empty());
        QCOMPARE(f.readFile(f.settingsPath()), live.bytes());
        QCOMPARE(f.readFile(f.messagePath()), golden::message("bye"));
    }
};

QTEST_MAIN(TestSignLayout)
#include "tst_sign_layout.moc"
