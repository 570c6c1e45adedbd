// SPDX-License-Identifier: MIT
// The rules by which a running sign decides a file is worth reading: whether
// it looks whole (a writer may be halfway through it), and, where change
// notification cannot be trusted, when to look again (fake clock, fake
// stamps).

#include "ChangePoll.h"
#include "GoldenFiles.h"
#include "MessageFile.h"
#include "SettingsFile.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using storage::ChangePoll;
using storage::FileStamp;

class TestFollowRules : public QObject
{
    Q_OBJECT

private slots:
    void completeness_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("message"); // else the settings file
        QTest::addColumn<bool>("complete");

        QTest::newRow("message, whole") << golden::bytes(u"Velmora.txt"_s) << true << true;
        QTest::newRow("message, UTF-8 with the mark")
            << golden::bytes(u"message-utf8-bom.txt"_s) << true << true;
        // Why: a writer pausing here made the sign show half a message.
        QTest::newRow("message, no line end yet") << "\"FULL MESSAGE BEFORE"_ba << true << false;
        QTest::newRow("message, closed quote but no line end") << "\"abc\""_ba << true << false;
        QTest::newRow("message, quote still open") << "\"abc\r\n"_ba << true << false;
        QTest::newRow("message, empty file") << QByteArray() << true << false;
        QTest::newRow("message, unquoted line") << "abc, def\r\n"_ba << true << true;
        QTest::newRow("message, empty line") << "\r\n"_ba << true << true;
        QTest::newRow("settings, whole") << golden::bytes(u"Velmora.ini"_s) << false << true;
        QTest::newRow("settings, one line")
            << golden::bytes(u"settings-one-line.ini"_s) << false << true;
        QTest::newRow("settings, seven items")
            << golden::bytes(u"Velmora.ini"_s).chopped(10) << false << false;
        QTest::newRow("settings, eighth item without its line end")
            << golden::bytes(u"Velmora.ini"_s).chopped(2) << false << false;
        QTest::newRow("settings, eighth item then a comma")
            << golden::bytes(u"Velmora.ini"_s).chopped(2) + ",9\r\n"_ba << false << false;
    }

    void completeness()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, message);
        QFETCH(bool, complete);
        QCOMPARE(message ? storage::MessageFile::isComplete(bytes)
                         : storage::SettingsFile::isComplete(bytes),
                 complete);
    }

    // Why: on a network file system no event tells of another machine's
    // write; stamps show most changes at once, attribute caches hide some,
    // so a read comes at least every ForcedReadMs whatever they say.
    void pollReadsWhenStampsChangeAndNowAndThen()
    {
        const FileStamp first{true, 1, 100, 40, 1000};
        FileStamp replaced = first; // renamed over: another inode
        replaced.inode = 101;
        FileStamp rewritten = first; // same size, same second: the cache hides it
        const std::pair<std::int64_t, FileStamp> polls[] = {
            {0, first},        // first poll: read
            {2000, first},     // nothing shows
            {4000, replaced},  // a new inode
            {6000, replaced},  //
            {8000, rewritten}, // the stamp went back: counts as a change
            {10000, rewritten}, {12000, rewritten}, {14000, rewritten},
            {16000, rewritten}, {18000, rewritten}, // ten seconds since the last read
            {20000, rewritten},
        };
        const bool expected[] = {true,  false, true,  false, true, false,
                                 false, false, false, true,  false};
        ChangePoll poll;
        for (std::size_t i = 0; i < std::size(polls); ++i)
            QVERIFY2(poll.due({polls[i].second, FileStamp{}}, polls[i].first) == expected[i],
                     qPrintable(u"poll at %1 ms"_s.arg(polls[i].first)));
        // A file that appears is a change too.
        QVERIFY(poll.due({rewritten, first}, 20500));
    }
};

QTEST_GUILESS_MAIN(TestFollowRules)
#include "tst_follow_rules.moc"
