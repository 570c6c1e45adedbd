// SPDX-License-Identifier: MIT
// The sequential item format in memory: how ItemReader splits and converts
// items, what ItemWriter produces and refuses, and the strict code page 932
// conversion under both. The two files' layouts are tst_codecs'.

#include "Cp932.h"
#include "ItemReader.h"
#include "ItemWriter.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using storage::Cp932;
using storage::ItemReader;
using storage::ItemWriter;

namespace {
constexpr qint64 Int16Min = -32768, Int16Max = 32767;
constexpr qint64 Int32Min = -2147483648LL, Int32Max = 2147483647LL;
} // namespace

// ItemReader, ItemWriter and Cp932 on bytes in memory.
class TestItems : public QObject
{
    Q_OBJECT

private slots:
    void readInteger_data();
    void readInteger();
    void separatorsAndLineNumbers();
    void writeRefusesWhatWouldNotReadBack_data();
    void writeRefusesWhatWouldNotReadBack();
    void writeThenRead_data();
    void writeThenRead();
    void strictDecoding_data();
    void strictDecoding();
    void roundTripShowsStoredText();
};

void TestItems::readInteger_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("min");
    QTest::addColumn<qint64>("max");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value");

    const auto row = [](const char *name, QByteArray bytes, qint64 min, qint64 max, bool ok,
                        qint64 value = 0) {
        QTest::newRow(name) << bytes << min << max << ok << value;
    };
    row("plain", "1200\r\n"_ba, Int16Min, Int16Max, true, 1200);
    row("negative", "-120\r\n"_ba, Int16Min, Int16Max, true, -120);
    row("zero", "0\r\n"_ba, Int16Min, Int16Max, true, 0);
    row("no line end", "42"_ba, Int16Min, Int16Max, true, 42);
    row("spaces and tabs around", " \t 42 \t \r\n"_ba, Int16Min, Int16Max, true, 42);
    row("leading zeros", "007\r\n"_ba, Int16Min, Int16Max, true, 7);
    row("16-bit top", "32767"_ba, Int16Min, Int16Max, true, 32767);
    row("16-bit bottom", "-32768"_ba, Int16Min, Int16Max, true, -32768);
    row("16-bit above", "32768"_ba, Int16Min, Int16Max, false);
    row("16-bit below", "-32769"_ba, Int16Min, Int16Max, false);
    row("32-bit top", "2147483647"_ba, Int32Min, Int32Max, true, Int32Max);
    row("32-bit bottom", "-2147483648"_ba, Int32Min, Int32Max, true, Int32Min);
    row("32-bit above", "2147483648"_ba, Int32Min, Int32Max, false);
    // Why: digits past 64 bits must not wrap around into the range.
    row("20 digits", "18446744073709551617"_ba, Int32Min, Int32Max, false);
    row("plus sign", "+5\r\n"_ba, Int16Min, Int16Max, false);
    row("fraction", "12.5\r\n"_ba, Int16Min, Int16Max, false);
    row("letters", "abc\r\n"_ba, Int16Min, Int16Max, false);
    row("digits then letters", "12ab\r\n"_ba, Int16Min, Int16Max, false);
    row("space inside", "12 34\r\n"_ba, Int16Min, Int16Max, false);
    row("minus alone", "-\r\n"_ba, Int16Min, Int16Max, false);
    row("quoted number", "\"12\"\r\n"_ba, Int16Min, Int16Max, false);
    row("blank line", "\r\n5\r\n"_ba, Int16Min, Int16Max, false);
    row("empty item", ",5\r\n"_ba, Int16Min, Int16Max, false);
    row("empty file", ""_ba, Int16Min, Int16Max, false);
    row("only blanks", "  \t"_ba, Int16Min, Int16Max, false);
}

void TestItems::readInteger()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, min);
    QFETCH(qint64, max);
    QFETCH(bool, ok);
    QFETCH(qint64, value);

    ItemReader reader(bytes);
    const auto read = reader.readInteger(min, max);
    QCOMPARE(read.has_value(), ok);
    if (ok)
        QCOMPARE(*read, value);
    else
        QVERIFY(!reader.errorString().isEmpty());
}

void TestItems::separatorsAndLineNumbers()
{
    // Commas, CR LF, lone LF and lone CR all end an item; a comma does not
    // start a new line, so the failing item below is reported on line 4.
    ItemReader reader("1, 2\r\n3\n4\r5,x\r\n"_ba);
    for (qint64 expected : {1, 2, 3, 4, 5})
        QCOMPARE(reader.readInteger(Int16Min, Int16Max), std::optional<std::int64_t>(expected));
    QVERIFY(!reader.readInteger(Int16Min, Int16Max));
    QVERIFY2(reader.errorString().startsWith(u"line 4:"_s), qPrintable(reader.errorString()));
    QVERIFY(!reader.readInteger(Int16Min, Int16Max)); // at the end now
}

void TestItems::writeRefusesWhatWouldNotReadBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("double quote at the start") << u"\"hi\" said"_s;
    QTest::newRow("double quote and a comma") << u"say \"hi\", then"_s;
    QTest::newRow("double quote and a leading blank") << u" say \"hi\""_s;
    QTest::newRow("line feed") << u"two\nlines"_s;
    QTest::newRow("carriage return") << u"two\rlines"_s;
    QTest::newRow("no cp932 form (e acute)") << u"caf\u00e9"_s;
    QTest::newRow("no cp932 form (emoji)") << u"\U0001F600"_s;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800));
    // These encode, but the bytes read back as another character.
    QTest::newRow("wave dash") << u"10\u301c20"_s;
    QTest::newRow("yen sign") << u"\u00a5100"_s;
    QTest::newRow("em dash") << u"a\u2014b"_s;
}

void TestItems::writeRefusesWhatWouldNotReadBack()
{
    QFETCH(QString, text);

    ItemWriter writer;
    writer.writeInteger(1);
    QVERIFY(!writer.writeString(text));
    // Why: nothing of a refused item may reach the bytes.
    QCOMPARE(writer.bytes(), "1\r\n"_ba);
}

void TestItems::writeThenRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("commas and spaces") << u"  a, b ,c  "_s;
    QTest::newRow("backslash path") << u"C:\\dir\\sub"_s;
    QTest::newRow("japanese") << u"ようこそ Velmora へ。本日もよろしくお願いします。"_s;
    QTest::newRow("halfwidth katakana") << u"ｱｲｳｴｵ"_s;
    QTest::newRow("fullwidth tilde") << u"10\uff5e20"_s;
    QTest::newRow("nec special and ibm kanji") << u"①Ⅰ髙"_s;
    // Why: a hand-edited unquoted item may hold a double quote; it must save
    // in a form that reads back the same, not be refused forever.
    QTest::newRow("double quote inside, unquoted") << u"say \"hi\""_s;
    // Why: blanks at the end of an unquoted item belong to it, so a text
    // with a quote may end in them.
    QTest::newRow("double quote and a trailing tab, unquoted") << u"say \"hi\" \t"_s;
}

void TestItems::writeThenRead()
{
    QFETCH(QString, text);

    // Both encodings give the text back; UTF-8 also what code page 932 has no
    // form for.
    for (const auto encoding : {storage::TextEncoding::Cp932, storage::TextEncoding::Utf8WithBom}) {
        for (const QString &item : QStringList{text, text + u" é😀"_s}) {
            ItemWriter writer(encoding);
            const bool written = writer.writeString(item);
            if (encoding == storage::TextEncoding::Cp932 && item != text) {
                QVERIFY(!written);
                continue;
            }
            QVERIFY(written);
            writer.writeInteger(-7);
            ItemReader reader(writer.bytes(), storage::TextEncoding::detect(writer.bytes()));
            QCOMPARE(reader.readString(), std::optional<QString>(item));
            QCOMPARE(reader.readInteger(Int16Min, Int16Max), std::optional<std::int64_t>(-7));
        }
    }
}

void TestItems::strictDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lead byte at end") << "ab\x82"_ba;
    QTest::newRow("unassigned row 0x85") << "\x85\x40"_ba;
    QTest::newRow("single byte 0x80") << "\x80"_ba;
    QTest::newRow("single byte 0xa0") << "\xa0"_ba;
    QTest::newRow("lead byte then ascii") << "\x82\x20"_ba;
}

void TestItems::strictDecoding()
{
    QFETCH(QByteArray, bytes);

    QCOMPARE(Cp932::decode(bytes), std::nullopt);
    // Why: a bad byte inside a quoted item must fail the read, not turn into
    // a replacement character.
    ItemReader reader("\""_ba + bytes + "\"\r\n"_ba);
    QCOMPARE(reader.readString(), std::nullopt);
    QVERIFY(!reader.errorString().isEmpty());
}

void TestItems::roundTripShowsStoredText()
{
    QCOMPARE(Cp932::roundTrip(u"ソ表 abc"_s), std::optional<QString>(u"ソ表 abc"_s));
    QCOMPARE(Cp932::roundTrip(u"10\u301c20"_s), std::optional<QString>(u"10\uff5e20"_s));
    QCOMPARE(Cp932::roundTrip(u"caf\u00e9"_s), std::nullopt);
}

QTEST_GUILESS_MAIN(TestItems)
#include "tst_items.moc"
