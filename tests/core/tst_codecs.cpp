// SPDX-License-Identifier: MIT
// The two files' layouts as pure conversions: SettingsFile and MessageFile
// between a record (or a message) and bytes, checked against the golden files
// under tests/data and variants of them. No file is read or written here, and
// the current directory is a parameter, so no test depends on where it runs.

#include "Cp932.h"
#include "GoldenFiles.h"
#include "MessageFile.h"
#include "OptionsFile.h"
#include "SettingsFile.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using storage::MessageFile;
using storage::SettingsFile;
using storage::SignSettingsRecord;

namespace {

const QString Here = u"/home/user/sign"_s;

QByteArray cp932(const QString &text)
{
    return storage::Cp932::encode(text).value();
}

// The record the golden sample holds, read in `Here`.
SignSettingsRecord sampleRecord()
{
    SignSettingsRecord r;
    r.Top = 1200;
    r.Left = 600;
    r.Width = 6000;
    r.Height = 600;
    r.Speed = 3000;
    r.ForeColor = 65280;
    r.BackColor = 0;
    r.DataDir = Here;
    return r;
}

QList<qint64> numbers(const SignSettingsRecord &r)
{
    return {r.Top, r.Left, r.Width, r.Height, r.Speed, r.ForeColor, r.BackColor};
}

} // namespace

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void goldenFilesRoundTrip();
    void decodeSettings_data();
    void decodeSettings();
    void encodeSettings_data();
    void encodeSettings();
    void encodeSettingsRefused_data();
    void encodeSettingsRefused();
    void onlyTheExpectedItemsSurvive();
    void decodeMessage_data();
    void decodeMessage();
    void encodeMessage_data();
    void encodeMessage();
    void storability_data();
    void storability();
    void encodingIsDetected_data();
    void encodingIsDetected();
    void saveKeepsTheFilesEncoding_data();
    void saveKeepsTheFilesEncoding();
    void optionsFile_data();
    void optionsFile();
};

void TestCodecs::goldenFilesRoundTrip()
{
    // The sample reads into its values, with "CurDir" resolved, and those
    // values write back the same 48 bytes; the one-line, comma-separated form
    // reads the same.
    const QByteArray sample = golden::bytes(u"Velmora.ini"_s);
    QCOMPARE(sample.size(), 48);
    SignSettingsRecord read;
    QVERIFY(SettingsFile::decode(sample, read, Here));
    QCOMPARE(read, sampleRecord());
    QCOMPARE(SettingsFile::encode(read, Here), std::optional<QByteArray>(sample));
    SignSettingsRecord oneLine;
    QVERIFY(SettingsFile::decode(golden::bytes(u"settings-one-line.ini"_s), oneLine, Here));
    QCOMPARE(oneLine, sampleRecord());

    const QByteArray hello = golden::bytes(u"Velmora.txt"_s);
    QCOMPARE(hello.size(), 16);
    QCOMPARE(MessageFile::decode(hello), std::optional<QString>(u"Hello, world"_s));
    QCOMPARE(MessageFile::encode(u"Hello, world"_s), std::optional<QByteArray>(hello));
    const QString japanese = u"ようこそ Velmora へ。本日も一日よろしくお願いします。"_s;
    QCOMPARE(MessageFile::decode(golden::bytes(u"message-japanese.txt"_s)),
             std::optional<QString>(japanese));
    QCOMPARE(MessageFile::encode(japanese),
             std::optional<QByteArray>(golden::bytes(u"message-japanese.txt"_s)));
}

void TestCodecs::decodeSettings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<qint64>>("numbers"); // Top Left Width Height Speed ForeColor BackColor
    QTest::addColumn<QString>("dataDir");

    // Before each read the record holds these; a failed read keeps what it
    // had not reached yet.
    const QList<qint64> old{11, 22, 33, 44, 55, 66, 77};
    const QList<qint64> sample{1200, 600, 6000, 600, 3000, 65280, 0};
    using S = golden::Settings;

    QTest::newRow("blanks around items")
        << " 1200 ,\t600\t,6000\r\n  600\r\n3000,65280 ,0, \"CurDir\" \r\n"_ba << true << sample
        << Here;
    QTest::newRow("lines after the eighth ignored")
        << S{}.bytes() + "junk\r\n+1\r\n\"more\"\r\n"_ba << true << sample << Here;
    QTest::newRow("height 0 becomes 1, width 0 stays")
        << S{.width = 0, .height = 0}.bytes() << true
        << QList<qint64>{1200, 600, 0, 1, 3000, 65280, 0} << Here;
    QTest::newRow("negative and extreme values")
        << S{.top = -120,
             .left = -32768,
             .width = 32767,
             .height = 15,
             .speed = -1,
             .fore = -2147483643LL,
             .back = 2147483647LL}
               .bytes()
        << true << QList<qint64>{-120, -32768, 32767, 15, -1, -2147483643LL, 2147483647LL} << Here;
    // Why: only the exact spelling is the sentinel; other cases are directories.
    QTest::newRow("lower-case curdir")
        << S{.directory = "\"curdir\""_ba}.bytes() << true << sample << u"curdir"_s;
    QTest::newRow("upper-case CURDIR unquoted")
        << S{.directory = "CURDIR"_ba}.bytes() << true << sample << u"CURDIR"_s;
    QTest::newRow("empty directory")
        << S{.directory = "\"\""_ba}.bytes() << true << sample << QString();
    QTest::newRow("japanese directory with commas")
        << S{}.inDirectory(cp932(u"/srv/表示,ソ/データ"_s)).bytes() << true << sample
        << u"/srv/表示,ソ/データ"_s;

    QTest::newRow("UTF-8 directory") << S{}.inDirectory("/home/jos\xC3\xA9/sign"_ba).bytes() << true
                                     << sample << u"/home/josé/sign"_s;
    // Why: an unquoted item runs to the comma or line end, blanks included.
    QTest::newRow("unquoted directory keeps its trailing blanks")
        << S{.directory = "a\"b  "_ba}.bytes() << true << sample << u"a\"b  "_s;

    QTest::newRow("empty file") << QByteArray() << false << old << u"old"_s;
    QTest::newRow("seven items") << "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n"_ba << false
                                 << QList<qint64>{1, 2, 3, 4, 5, 6, 7} << u"old"_s;
    QTest::newRow("fraction on line 3") << "1,2,3.5,4,5,6,7,d\r\n"_ba << false
                                        << QList<qint64>{1, 2, 33, 44, 55, 66, 77} << u"old"_s;
    QTest::newRow("blank line 4") << "1\r\n2\r\n3\r\n\r\n5\r\n6\r\n7\r\nd\r\n"_ba << false
                                  << QList<qint64>{1, 2, 3, 44, 55, 66, 77} << u"old"_s;
    QTest::newRow("top above 16 bits") << S{.top = 32768}.bytes() << false << old << u"old"_s;
    QTest::newRow("colour above 32 bits")
        << S{.back = 2147483648LL}.bytes() << false
        << QList<qint64>{1200, 600, 6000, 600, 3000, 65280, 77} << u"old"_s;
    // Why: the height fix-up belongs to a successful read only.
    QTest::newRow("height 0 then a bad speed")
        << "1,2,3,0,x,6,7,d\r\n"_ba << false << QList<qint64>{1, 2, 3, 0, 55, 66, 77} << u"old"_s;
    QTest::newRow("directory not shift-jis")
        << S{.directory = "\"\x85\x40\""_ba}.bytes() << false << sample << u"old"_s;
    // Why: a path is cut at a NUL, so "/x/victim\0…" named /x/victim.
    QTest::newRow("directory holding a NUL")
        << S{.directory = QByteArray("\"/x/victim\0/y\"", 14)}.bytes() << false << sample
        << u"old"_s;
}

void TestCodecs::decodeSettings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QList<qint64>, numbers);
    QFETCH(QString, dataDir);

    SignSettingsRecord record{55, 33, 44, 11, 22, u"old"_s, u"message"_s, 66, 77};
    QString why;
    QCOMPARE(SettingsFile::decode(bytes, record, Here, &why), ok);
    QCOMPARE(::numbers(record), numbers);
    QCOMPARE(record.DataDir, dataDir);
    QCOMPARE(record.DataText, u"message"_s);
    QCOMPARE(why.isEmpty(), ok);
    if (bytes.contains('\0'))
        QVERIFY2(why.startsWith(u"line 8: "_s), qPrintable(why));
}

void TestCodecs::encodeSettings_data()
{
    QTest::addColumn<QList<qint64>>("values"); // Top Left Width Height Speed ForeColor BackColor
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<QByteArray>("expected");

    using S = golden::Settings;
    QTest::newRow("off screen, system colour")
        << QList<qint64>{-120, -75, 30, 15, -5, qint32(0x80000005), 0x00FF00FF} << Here
        << S{.top = -120,
             .left = -75,
             .width = 30,
             .height = 15,
             .speed = -5,
             .fore = -2147483643LL,
             .back = 16711935}
               .bytes();
    const QList<qint64> sample{1200, 600, 6000, 600, 3000, 65280, 0};
    // Why: "CurDir" is written only for the exact text the platform reports.
    QTest::newRow("current directory plus separator")
        << sample << Here + u'/' << S{}.inDirectory(Here.toUtf8() + '/').bytes();
    QTest::newRow("relative curdir") << sample << u"curdir"_s << S{}.inDirectory("curdir").bytes();
    QTest::newRow("japanese with commas")
        << sample << u"/srv/表示,ソ/データ"_s
        << S{}.inDirectory(cp932(u"/srv/表示,ソ/データ"_s)).bytes();
    QTest::newRow("empty") << sample << QString() << S{}.inDirectory("").bytes();
    // Why: a directory read unquoted with a double quote in it must still save.
    QTest::newRow("double quote, unquoted")
        << sample << u"/a\"b"_s << S{.directory = "/a\"b"_ba}.bytes();
}

void TestCodecs::encodeSettings()
{
    QFETCH(QList<qint64>, values);
    QFETCH(QString, dataDir);
    QFETCH(QByteArray, expected);

    const SignSettingsRecord record{qint16(values[4]),     qint16(values[2]), qint16(values[3]),
                                    qint16(values[0]),     qint16(values[1]), dataDir,
                                    u"not in this file"_s, qint32(values[5]), qint32(values[6])};
    QCOMPARE(SettingsFile::encode(record, Here), std::optional<QByteArray>(expected));

    SignSettingsRecord back;
    QVERIFY(SettingsFile::decode(expected, back, Here));
    QCOMPARE(::numbers(back), values);
    QCOMPARE(back.DataDir, dataDir);
}

void TestCodecs::encodeSettingsRefused_data()
{
    QTest::addColumn<QString>("dataDir");
    QTest::newRow("directory with a quote and a comma") << u"/a\"b,c"_s;
    QTest::newRow("directory with a line break") << u"/a\nb"_s;
    QTest::newRow("directory with a NUL") << u"/a\0b"_s;
}

void TestCodecs::encodeSettingsRefused()
{
    // Why: a directory that would read back as another must not be written.
    QFETCH(QString, dataDir);
    SignSettingsRecord record = sampleRecord();
    record.DataDir = dataDir;
    QString why;
    QCOMPARE(SettingsFile::encode(record, Here, &why), std::nullopt);
    QVERIFY(!why.isEmpty());
}

void TestCodecs::onlyTheExpectedItemsSurvive()
{
    // Why: a save rewrites the whole file, so hand-added lines and extra
    // message items are gone afterwards.
    SignSettingsRecord record;
    QVERIFY(SettingsFile::decode(golden::Settings{}.bytes() + "9\r\n\"extra\"\r\n", record, Here));
    QCOMPARE(SettingsFile::encode(record, Here),
             std::optional<QByteArray>(golden::Settings{}.bytes()));

    const auto message = MessageFile::decode("\"first\",\"second\"\r\n\"third\"\r\n"_ba);
    QCOMPARE(message, std::optional<QString>(u"first"_s));
    QCOMPARE(MessageFile::encode(*message), std::optional<QByteArray>(golden::message("first")));
}

void TestCodecs::decodeMessage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");

    QTest::newRow("unquoted stops at comma") << "Hello, world\r\n"_ba << true << u"Hello"_s;
    QTest::newRow("empty message") << golden::message("") << true << QString();
    QTest::newRow("spaces at both ends") << golden::message("  x  ") << true << u"  x  "_s;
    QTest::newRow("several lines") << "\"first\"\r\n\"second\"\r\n"_ba << true << u"first"_s;
    QTest::newRow("no final line end") << "\"abc\""_ba << true << u"abc"_s;
    QTest::newRow("quote inside") << golden::message("ab\"cd") << true << u"ab"_s;
    QTest::newRow("unclosed quote") << "\"ab, cd\r\n\"ef\"\r\n"_ba << true << u"ab, cd"_s;
    QTest::newRow("blank first line") << "\r\n\"second\"\r\n"_ba << true << QString();
    QTest::newRow("only a line end") << "\r\n"_ba << true << QString();
    QTest::newRow("zero bytes") << ""_ba << false << QString();
    QTest::newRow("not shift-jis") << golden::message("ab\x82") << false << QString();
}

void TestCodecs::decodeMessage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, text);

    QString why;
    const auto message = MessageFile::decode(bytes, &why);
    QCOMPARE(message.has_value(), ok);
    if (ok)
        QCOMPARE(*message, text);
    else
        QVERIFY(!why.isEmpty());
}

void TestCodecs::encodeMessage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected"); // null: refused

    QTest::newRow("empty") << QString() << golden::message("");
    QTest::newRow("spaces at both ends") << u"  a, b  "_s << golden::message("  a, b  ");
    QTest::newRow("japanese") << u"ソ表よう"_s
                              << golden::message("\x83\x5c\x95\x5c\x82\xe6\x82\xa4");
    QTest::newRow("double quote, unquoted") << u"Say \"hi\""_s << "Say \"hi\"\r\n"_ba;
    QTest::newRow("double quote and comma") << u"Say \"hi\", then"_s << QByteArray();
    // Code page 932 cannot store WAVE DASH as itself: the file becomes UTF-8.
    QTest::newRow("wave dash, kept in UTF-8") << u"10\u301c20"_s
                                              << "\xEF\xBB\xBF\"10\xE3\x80\x9C"
                                                 "20\"\r\n"_ba;
    QTest::newRow("latin, hangul and emoji in UTF-8")
        << u"café 안녕 😀"_s
        << "\xEF\xBB\xBF\"caf\xC3\xA9 \xEC\x95\x88\xEB\x85\x95 \xF0\x9F\x98\x80\"\r\n"_ba;
}

void TestCodecs::encodeMessage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    const auto bytes = MessageFile::encode(text);
    if (expected.isNull()) {
        QCOMPARE(bytes, std::nullopt);
        return;
    }
    QCOMPARE(bytes, std::optional<QByteArray>(expected));
    QCOMPARE(MessageFile::decode(*bytes), std::optional<QString>(text));
}

void TestCodecs::storability_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("obstacle");
    QTest::addColumn<QString>("stored");

    using O = MessageFile::Obstacle;
    QTest::newRow("plain") << u"本日休業, closed"_s << int(O::None) << u"本日休業, closed"_s;
    QTest::newRow("wave dash stored as tilde")
        << u"10\u301c20"_s << int(O::None) << u"10\uff5e20"_s;
    QTest::newRow("yen sign stored as backslash") << u"\u00a5100"_s << int(O::None) << u"\\100"_s;
    QTest::newRow("double quote inside") << u"a\"b"_s << int(O::None) << u"a\"b"_s;
    QTest::newRow("double quote at the start") << u"\"a"_s << int(O::DoubleQuote) << QString();
    QTest::newRow("double quote and a comma") << u"a\"b,c"_s << int(O::DoubleQuote) << QString();
    QTest::newRow("line feed") << u"a\nb"_s << int(O::LineBreak) << QString();
    QTest::newRow("carriage return") << u"a\rb"_s << int(O::LineBreak) << QString();
    // Why: a blank after a closing quote was refused while it was typed.
    QTest::newRow("blank after a quoted word")
        << u"Say \"hi\" there"_s << int(O::None) << u"Say \"hi\" there"_s;
    QTest::newRow("double quote, blank first") << u" a\"b"_s << int(O::DoubleQuote) << QString();
    QTest::newRow("NUL") << u"a\0b"_s << int(O::Nul) << QString();
    QTest::newRow("half a surrogate pair")
        << (u"a"_s + QChar(0xd83d)) << int(O::NoForm) << QString();
    // Kept as typed: the file is then written in UTF-8.
    QTest::newRow("any script") << u"café Grüße €5 안녕 😀 שלום"_s << int(O::None)
                                << u"café Grüße €5 안녕 😀 שלום"_s;
}

void TestCodecs::storability()
{
    QFETCH(QString, text);
    QFETCH(int, obstacle);
    QFETCH(QString, stored);

    const auto check = MessageFile::storability(text);
    QCOMPARE(int(check.obstacle), obstacle);
    QCOMPARE(check.stored, stored);
    // Why: whatever the box accepts in its stored form, the file must take.
    if (check.obstacle == MessageFile::Obstacle::None)
        QCOMPARE(MessageFile::decode(MessageFile::encode(check.stored).value()),
                 std::optional<QString>(stored));
}

void TestCodecs::encodingIsDetected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // null: the read fails
    QTest::addColumn<int>("encoding");

    using E = storage::TextEncoding;
    QTest::newRow("code page 932 Japanese")
        << golden::message("\x83\x5c\x95\x5c\x82\xe6\x82\xa4") << u"ソ表よう"_s << int(E::Cp932);
    QTest::newRow("ASCII") << golden::message("Hello, world") << u"Hello, world"_s << int(E::Cp932);
    // Why: an editor's UTF-8 file was shown as mojibake, its bytes being
    // valid code page 932 too.
    QTest::newRow("UTF-8 without a byte-order mark") << golden::message("Gr\xC3\xBC\xC3\x9F"
                                                                        "e aus K\xC3\xB6ln")
                                                     << u"Grüße aus Köln"_s << int(E::Utf8);
    QTest::newRow("UTF-8 Japanese")
        << golden::message("\xE3\x81\x93\xE3\x82\x93") << u"こん"_s << int(E::Utf8);
    QTest::newRow("UTF-8 with a byte-order mark, ASCII only")
        << "\xEF\xBB\xBF\"plain\"\r\n"_ba << u"plain"_s << int(E::Utf8WithBom);
    // The one ambiguity: half-width katakana ﾂｱ (C2 B1) is also UTF-8 for ±.
    QTest::newRow("code page 932 that is valid UTF-8")
        << golden::message("\xC2\xB1") << u"±"_s << int(E::Utf8);
    QTest::newRow("invalid in both") << golden::message("a\x80") << QString() << int(E::Cp932);
    QTest::newRow("byte-order mark, then invalid UTF-8")
        << "\xEF\xBB\xBF\"\x83\x5c\"\r\n"_ba << QString() << int(E::Utf8WithBom);
    // Only the line that is read decides: a UTF-8 tail after it does not.
    QTest::newRow("code page 932 line, UTF-8 after it")
        << golden::message("\x83\x5c") + "\xC3\xA9\r\n"_ba << u"ソ"_s << int(E::Cp932);
}

void TestCodecs::encodingIsDetected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(int, encoding);

    storage::TextEncoding::Kind found = storage::TextEncoding::Kind(-1);
    QString why;
    QCOMPARE(MessageFile::decode(bytes, &why, &found),
             text.isNull() ? std::nullopt : std::optional(text));
    QCOMPARE(int(found), encoding);
}

void TestCodecs::saveKeepsTheFilesEncoding_data()
{
    QTest::addColumn<int>("preferred");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    using E = storage::TextEncoding;
    const QByteArray bom = "\xEF\xBB\xBF"_ba;
    // Why: every file that held code page 932 must save byte for byte as before.
    QTest::newRow("code page 932 stays")
        << int(E::Cp932) << u"ソ表"_s << golden::message("\x83\x5c\x95\x5c");
    QTest::newRow("code page 932 file, text it cannot hold") << int(E::Cp932) << u"Grüße"_s
                                                             << bom + "\"Gr\xC3\xBC\xC3\x9F"
                                                                      "e\"\r\n"_ba;
    QTest::newRow("UTF-8 file stays UTF-8, no mark")
        << int(E::Utf8) << u"ソ"_s << "\"\xE3\x82\xBD\"\r\n"_ba;
    QTest::newRow("UTF-8 file with the mark keeps it")
        << int(E::Utf8WithBom) << u"a"_s << bom + "\"a\"\r\n"_ba;
    // Why (found by fuzzing): half-width ﾂｱ in code page 932 is C2 B1, which
    // would read back as UTF-8 "±"; such a text is written in UTF-8 instead.
    QTest::newRow("code page 932 bytes that would read as UTF-8")
        << int(E::Cp932) << u"ﾂｱ"_s << bom + "\"\xEF\xBE\x82\xEF\xBD\xB1\"\r\n"_ba;
}

void TestCodecs::saveKeepsTheFilesEncoding()
{
    QFETCH(int, preferred);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    const auto kind = storage::TextEncoding::Kind(preferred);
    QCOMPARE(MessageFile::encode(text, nullptr, kind), std::optional(expected));
    QCOMPARE(MessageFile::decode(expected), std::optional(text));

    // Line 8 likewise: a directory such as /home/josé/sign saves and reads back.
    SignSettingsRecord record = sampleRecord();
    record.DataDir = u"/home/"_s + text;
    const auto bytes = SettingsFile::encode(record, Here, nullptr, kind);
    QVERIFY(bytes);
    QCOMPARE(bytes->startsWith("\xEF\xBB\xBF"), expected.startsWith("\xEF\xBB\xBF"));
    SignSettingsRecord back;
    QVERIFY(SettingsFile::decode(*bytes, back, Here));
    QCOMPARE(back, record);
}

void TestCodecs::optionsFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("smooth");
    QTest::addColumn<bool>("onTop");

    QTest::newRow("golden") << golden::bytes(u"velmora.conf"_s) << true << true << false;
    QTest::newRow("no file yet: defaults") << QByteArray() << true << false << false;
    QTest::newRow("one key, other groups")
        << "[window]\nx=1\n[sign]\nstay_on_top=true\n"_ba << true << false << true;
    QTest::newRow("a value that is not a flag")
        << "[sign]\nsmooth_motion=yes\n"_ba << false << false << false;
    QTest::newRow("a group never closed")
        << "[sign\nsmooth_motion=true\n"_ba << false << false << false;
}

// Why: the options file is the user's to edit; a value the program does not
// understand must be reported, not guessed at, and keys it does not know
// must survive its saves.
void TestCodecs::optionsFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(bool, smooth);
    QFETCH(bool, onTop);

    QString why;
    const auto options = storage::OptionsFile::decode(bytes, &why);
    QCOMPARE(options.has_value(), ok);
    QCOMPARE(why.isEmpty(), ok);
    if (!ok)
        return;
    QCOMPARE(options->smoothMotion, smooth);
    QCOMPARE(options->stayOnTop, onTop);

    const SignOptions flipped{!smooth, !onTop};
    const auto written = storage::OptionsFile::encode(flipped, bytes);
    QVERIFY(written);
    QCOMPARE(storage::OptionsFile::decode(*written), std::optional(flipped));
    if (bytes.contains("[window]"))
        QVERIFY2(written->contains("[window]") && written->contains("x=1"), written->constData());
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
