// SPDX-License-Identifier: MIT
// Reading and saving whole files on a real file system: what a save leaves
// when it succeeds and when it fails (an immutable file, a full disk, a
// missing directory), and that no call leaves a file open. Each test works in
// its own directory under the build tree, not in /tmp, which may be a tmpfs
// where chattr does not work.

#include "GoldenFiles.h"
#include "MessageFile.h"
#include "StoredFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using storage::StoredFile;

namespace {

constexpr qsizetype Limit = 1 << 20;

// Undoes a change made to the system (an immutable flag, a mount) when the
// test function is left, passed or failed.
struct Undo
{
    std::function<void()> undo;
    ~Undo() { undo(); }
};

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

// Files under `directory` that this process holds open.
QStringList openFilesUnder(const QString &directory)
{
    QStringList open;
    const QDir fds(u"/proc/self/fd"_s);
    for (const QFileInfo &fd :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget().startsWith(directory + u'/'))
            open << fd.symLinkTarget();
    return open;
}

} // namespace

class TestStoredFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void saveReplacesWholeFile();
    void loadFailsWithReason();
    void loadIsBoundedAndNeverBlocks_data();
    void loadIsBoundedAndNeverBlocks();
    void failedSaveKeepsPreviousFile_data();
    void failedSaveKeepsPreviousFile();
    void filesAreClosedOnEveryExit();

private:
    QString file(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStoredFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QCoreApplication::applicationDirPath() +
                                            u"/storedfile-XXXXXX"_s);
    QVERIFY(m_dir->isValid());
}

void TestStoredFile::saveReplacesWholeFile()
{
    // A shorter file over a longer one: nothing of the old one may remain,
    // and nothing but the file is left in the directory.
    const QString path = file(u"Velmora.txt"_s);
    QVERIFY(StoredFile::save(path, golden::message("a much longer previous message")));
    const QByteArray hello = golden::bytes(u"Velmora.txt"_s);
    QString why;
    QVERIFY2(StoredFile::save(path, hello, &why), qPrintable(why));
    QCOMPARE(StoredFile::load(path, Limit), std::optional<QByteArray>(hello));
    QCOMPARE(entries(m_dir->path()), QStringList{u"Velmora.txt"_s});
}

void TestStoredFile::loadFailsWithReason()
{
    QString why;
    QCOMPARE(StoredFile::load(file(u"missing"_s), Limit, {}, &why), std::nullopt);
    QVERIFY(!why.isEmpty());
    QCOMPARE(StoredFile::load(m_dir->path(), Limit, {}, &why), std::nullopt); // a directory
}

void TestStoredFile::loadIsBoundedAndNeverBlocks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("expected"); // null: the load fails
    QTest::addColumn<QString>("reason");

    QTest::newRow("FIFO without a writer") << u"fifo"_s << QByteArray() << u"not a regular file"_s;
    QTest::newRow("link to /dev/zero") << u"zero"_s << QByteArray() << u"not a regular file"_s;
    QTest::newRow("directory") << u"directory"_s << QByteArray() << u"not a regular file"_s;
    QTest::newRow("first line longer than the cap")
        << u"long line"_s << QByteArray() << u"file too large"_s;
    QTest::newRow("short first line of a huge file")
        << u"huge file"_s << "\"first\"\r"_ba << QString();
    QTest::newRow("no line end, within the cap") << u"short"_s << "\"abc\""_ba << QString();
}

// Why: such files were read until memory ran out, or blocked in open() for
// ever; a load must fail at once, or read only the bytes it needs.
void TestStoredFile::loadIsBoundedAndNeverBlocks()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, expected);
    QFETCH(QString, reason);

    const QString path = file(u"Velmora.txt"_s);
    const QByteArray native = QFile::encodeName(path);
    constexpr qsizetype Cap = 1 << 16;
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(native.constData(), 0600), 0);
    else if (kind == u"zero")
        QVERIFY(QFile::link(u"/dev/zero"_s, path));
    else if (kind == u"directory")
        QVERIFY(QDir().mkdir(path));
    else if (kind == u"long line")
        QVERIFY(StoredFile::save(path, QByteArray(Cap + 1, 'a') + "\r\n"));
    else if (kind == u"huge file")
        QVERIFY(StoredFile::save(path, "\"first\"\r\n"_ba + QByteArray(8 * Cap, 'x')));
    else
        QVERIFY(StoredFile::save(path, "\"abc\""_ba));

    QString why;
    const auto bytes = StoredFile::load(path, Cap, storage::MessageFile::neededLength, &why);
    if (expected.isNull()) {
        QCOMPARE(bytes, std::nullopt);
        QVERIFY2(why.contains(reason), qPrintable(why));
    } else {
        QCOMPARE(bytes, std::optional<QByteArray>(expected));
    }
}

void TestStoredFile::failedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("immutable file") << u"immutable file"_s;
    QTest::newRow("full disk") << u"full disk"_s;
    QTest::newRow("missing directory") << u"missing directory"_s;
}

void TestStoredFile::failedSaveKeepsPreviousFile()
{
    QFETCH(QString, how);

    const QByteArray previous = golden::bytes(u"Velmora.ini"_s);
    QString directory = m_dir->path();
    std::unique_ptr<Undo> undo;

    if (how == u"missing directory") {
        directory += u"/missing"_s;
    } else if (how == u"full disk") {
        directory += u"/small"_s;
        QVERIFY(QDir().mkdir(directory));
        if (!run(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, directory}))
            QSKIP("cannot mount a small tmpfs here (not root?)");
        undo.reset(new Undo{[directory] { run(u"umount"_s, {directory}); }});
        QVERIFY(StoredFile::save(directory + u"/Velmora.ini"_s, previous));
        QFile filler(directory + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        for (int i = 0; i < 1000 && filler.write(block) == block.size(); ++i) {
        }
        QVERIFY2(filler.size() < 64 * 1024, "the tmpfs did not fill up");
    } else {
        QVERIFY(StoredFile::save(directory + u"/Velmora.ini"_s, previous));
        if (!run(u"chattr"_s, {u"+i"_s, directory + u"/Velmora.ini"_s}))
            QSKIP("chattr +i is refused here (not root, or a filesystem without it)");
        undo.reset(new Undo{[directory] {
            run(u"chattr"_s, {u"-i"_s, directory + u"/Velmora.ini"_s});
        }});
    }
    const QStringList before = entries(directory);

    // Larger than the previous file, so that a full disk cannot take it.
    QString why;
    QVERIFY(!StoredFile::save(directory + u"/Velmora.ini"_s, QByteArray(128 * 1024, '1'), &why));
    QVERIFY(!why.isEmpty());
    if (how == u"missing directory") {
        QVERIFY(!QFileInfo::exists(directory)); // not created on the way
        return;
    }
    QCOMPARE(StoredFile::load(directory + u"/Velmora.ini"_s, Limit),
             std::optional<QByteArray>(previous));
    QCOMPARE(entries(directory), before); // no temporary file left behind
}

void TestStoredFile::filesAreClosedOnEveryExit()
{
    // Why: every call opens and closes its file itself, failures included; a
    // descriptor left open would leak one file per save over a long run.
    const QString path = file(u"Velmora.ini"_s);
    const std::pair<const char *, std::function<bool()>> calls[] = {
        {"load, no file", [&] { return !StoredFile::load(path, Limit); }},
        {"save", [&] { return StoredFile::save(path, "1\r\n"); }},
        {"load", [&] { return StoredFile::load(path, Limit).has_value(); }},
        {"save, missing directory",
         [&] { return !StoredFile::save(file(u"missing/Velmora.ini"_s), "1\r\n"); }},
    };
    for (const auto &[what, call] : calls) {
        QVERIFY2(call(), what);
        QVERIFY2(openFilesUnder(m_dir->path()).isEmpty(), what);
    }
}

QTEST_GUILESS_MAIN(TestStoredFile)
#include "tst_storedfile.moc"
