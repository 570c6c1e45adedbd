// SPDX-License-Identifier: MIT
// The file follower below the end-to-end tests: the pure step that says what
// a changed settings file means, and the follower itself on a real scratch
// directory (with the real watcher, or turns taken by hand on a fake clock):
// files replaced or removed and made again, files still being written, the
// setup dialog's wait, and polling only where it is needed.

#include "Bas_Comm.h"
#include "CurDir.h"
#include "FileFollower.h"
#include "GoldenFiles.h"
#include "MessageFile.h"
#include "SettingsChange.h"
#include "SettingsFile.h"
#include "StoredFile.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using Bas_Comm::SignSettings;
using storage::SignSettingsRecord;

namespace {

class TestSignWindow : public Bas_Comm::SignWindow
{
};

} // namespace

class TestFileFollower : public QObject
{
    Q_OBJECT

    QString m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestSignWindow> m_sign;
    std::int64_t m_now = 0;

    QString file(const QString &name) const { return m_dir->filePath(name); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QVERIFY(storage::StoredFile::save(file(name), bytes));
    }
    // A follower on the fake clock, its sign read from the golden files.
    std::unique_ptr<FileFollower> follower()
    {
        auto follower = std::make_unique<FileFollower>();
        follower->setClock([this] { return m_now; });
        return follower;
    }

private slots:
    void initTestCase() { m_home = QDir::currentPath(); }
    void init()
    {
        m_now = 0;
        m_dir = std::make_unique<QTemporaryDir>(QCoreApplication::applicationDirPath() +
                                                u"/follower-XXXXXX"_s);
        QVERIFY(m_dir->isValid() && QDir::setCurrent(m_dir->path()));
        write(storage::SettingsFile::FileName, golden::bytes(u"Velmora.ini"_s));
        write(storage::MessageFile::FileName, golden::message("old"));
        SignSettings = {};
        QVERIFY(Bas_Comm::Ini_Read() && Bas_Comm::Data_Read());
        m_sign = std::make_unique<TestSignWindow>();
        m_sign->Show();
    }
    void cleanup()
    {
        m_sign.reset();
        QDir::setCurrent(m_home);
        m_dir.reset();
    }

    void settingsChange_data()
    {
        QTest::addColumn<SignSettingsRecord>("read");
        QTest::addColumn<QList<bool>>("movedResizedRestyledNewDirectory");
        const SignSettingsRecord known{3000, 6000, 600, 1200, 600, u"/d"_s, QString(), 65280, 0};
        const auto with = [&](auto change) {
            SignSettingsRecord r = known;
            change(r);
            return r;
        };
        QTest::newRow("nothing") << known << QList<bool>{false, false, false, false};
        QTest::newRow("speed only")
            << with([](auto &r) { r.Speed = 1; }) << QList<bool>{false, false, false, false};
        QTest::newRow("moved") << with([](auto &r) { r.Left = 0; })
                               << QList<bool>{true, false, false, false};
        QTest::newRow("resized") << with([](auto &r) { r.Height = 900; })
                                 << QList<bool>{false, true, false, false};
        QTest::newRow("colour") << with([](auto &r) { r.BackColor = 255; })
                                << QList<bool>{false, false, true, false};
        QTest::newRow("directory")
            << with([](auto &r) { r.DataDir = u"/e"_s; }) << QList<bool>{false, false, false, true};
    }

    // Why: only what changed in the file applies; a window the user moved
    // stays where it is unless the file moved it.
    void settingsChange()
    {
        QFETCH(SignSettingsRecord, read);
        QFETCH(QList<bool>, movedResizedRestyledNewDirectory);
        const SignSettingsRecord known{3000, 6000, 600, 1200, 600, u"/d"_s, QString(), 65280, 0};
        SignSettingsRecord current = known;
        current.Top = 99; // the user moved the window since
        current.DataText = u"shown"_s;
        const SettingsChange change = SettingsChange::between(known, read, current);
        QCOMPARE((QList<bool>{change.moved, change.resized, change.restyled, change.newDirectory}),
                 movedResizedRestyledNewDirectory);
        QCOMPARE(change.next.Speed, read.Speed);
        QCOMPARE(change.next.Top, read.Top);
        QCOMPARE(change.next.DataText, u"shown"_s);
    }

    // Why: a file renamed over the old one swaps its inode under the watch;
    // only the directory's watch hears it.
    void followsFilesReplacedOrMadeAgain()
    {
        const auto follow = follower();
        QFile::remove(file(u".new"_s));
        write(u".new"_s, golden::message("renamed over"));
        QVERIFY(QFile::rename(file(u".new"_s), file(storage::MessageFile::FileName)) ||
                (QFile::remove(file(storage::MessageFile::FileName)) &&
                 QFile::rename(file(u".new"_s), file(storage::MessageFile::FileName))));
        QTRY_COMPARE_WITH_TIMEOUT(SignSettings.DataText, u"renamed over"_s, 3000);

        QVERIFY(QFile::remove(file(storage::MessageFile::FileName)));
        QTest::qWait(400);
        QCOMPARE(SignSettings.DataText, u"renamed over"_s); // a missing file changes nothing
        write(storage::MessageFile::FileName, golden::message("made again"));
        QTRY_COMPARE_WITH_TIMEOUT(SignSettings.DataText, u"made again"_s, 3000);
    }

    // Why: a writer pausing after `"FULL MESSAGE BEFORE` made the sign show
    // half a message; a file still being written waits until it is whole,
    // or has stood for PendingMs.
    void waitsForAFileStillBeingWritten()
    {
        const auto follow = follower();
        write(storage::MessageFile::FileName, "\"FULL MESSAGE BEFORE"_ba);
        follow->settle();
        QCOMPARE(SignSettings.DataText, u"old"_s);
        m_now += FileFollower::PendingMs - 1;
        follow->settle();
        QCOMPARE(SignSettings.DataText, u"old"_s);
        write(storage::MessageFile::FileName, golden::message("FULL MESSAGE BEFORE AFTER"));
        follow->settle();
        QCOMPARE(SignSettings.DataText, u"FULL MESSAGE BEFORE AFTER"_s);

        // A quote left open for good reads as start-up reads it, in time.
        write(storage::MessageFile::FileName, "\"left open\r\n"_ba);
        follow->settle();
        QCOMPARE(SignSettings.DataText, u"FULL MESSAGE BEFORE AFTER"_s);
        m_now += FileFollower::PendingMs;
        follow->settle();
        QCOMPARE(SignSettings.DataText, u"left open"_s);
    }

    // Why: with the setup dialog open the user's edits win on ＯＫ; outside
    // changes wait and apply only once the sign is shown again (キャンセル).
    void waitsWhileTheSignIsHidden()
    {
        const auto follow = follower();
        m_sign->Hide();
        write(storage::MessageFile::FileName, golden::message("while hidden"));
        follow->settle();
        QCOMPARE(SignSettings.DataText, u"old"_s);
        m_sign->Show();
        QTRY_COMPARE_WITH_TIMEOUT(SignSettings.DataText, u"while hidden"_s, 3000);
    }

    // Why: polling costs wake-ups; only files where notification cannot be
    // trusted are polled, and a poll reads what changed.
    void pollsOnlyWhereNeeded()
    {
        const auto follow = follower();
        QVERIFY(!follow->isPolling()); // a local directory
        follow->setPolling(true);
        QVERIFY(follow->isPolling());
        follow->poll(); // the first poll reads
        write(storage::MessageFile::FileName, golden::message("polled"));
        m_now += storage::ChangePoll::IntervalMs;
        follow->poll();
        QCOMPARE(SignSettings.DataText, u"polled"_s);
    }
};

QTEST_MAIN(TestFileFollower)
#include "tst_file_follower.moc"
