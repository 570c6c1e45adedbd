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

#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
    return QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
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
    void saveNeverGoesWhereItShouldNot_data();
    void saveNeverGoesWhereItShouldNot();
    void staleTemporariesAreRemovedSafely_data();
    void staleTemporariesAreRemovedSafely();
    void newFileTakesItsModeFromTheUmask();

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

void TestStoredFile::saveNeverGoesWhereItShouldNot_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason"); // empty: the save succeeds through the link

    QTest::newRow("another user's link in a sticky shared directory")
        << u"planted link"_s << u"another user"_s;
    QTest::newRow("the user's own link there") << u"own link"_s << QString();
    QTest::newRow("FIFO under the file's name") << u"fifo"_s << u"not a regular file"_s;
    QTest::newRow("directory removed") << u"removed"_s << u"removed"_s;
}

// Why: a link another user planted made the save overwrite the file it named,
// a FIFO hung it, and a removed directory let it write elsewhere; the save
// must refuse each at once, naming the reason, and touch nothing.
void TestStoredFile::saveNeverGoesWhereItShouldNot()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);

    const QString shared = file(u"shared"_s);
    QVERIFY(QDir().mkdir(shared));
    QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    const QString path = shared + u"/Velmora.txt"_s;
    const QString victim = file(u"victim"_s);
    const QByteArray victimBytes = "mine\n"_ba;
    QVERIFY(StoredFile::save(victim, victimBytes));

    if (setup == u"planted link" || setup == u"own link") {
        QVERIFY(QFile::link(victim, path));
        if (setup == u"planted link") {
            if (::geteuid() != 0)
                QSKIP("needs root to give the link to another user");
            QCOMPARE(::lchown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        }
    } else if (setup == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
    } else {
        QVERIFY(QDir(shared).removeRecursively());
    }

    QString why;
    const bool saved = StoredFile::save(path, golden::message("new"), &why);
    if (reason.isEmpty()) {
        QVERIFY2(saved, qPrintable(why));
        QCOMPARE(StoredFile::load(victim, Limit), std::optional(golden::message("new")));
        QVERIFY(QFileInfo(path).isSymLink());
        return;
    }
    QVERIFY(!saved);
    QVERIFY2(why.contains(reason), qPrintable(why));
    QCOMPARE(StoredFile::load(victim, Limit), std::optional(victimBytes));
    QVERIFY(!QFileInfo::exists(u"/Velmora.txt"_s) || setup != u"removed");
    if (setup != u"removed")
        QCOMPARE(entries(shared), QStringList{u"Velmora.txt"_s});
}

void TestStoredFile::staleTemporariesAreRemovedSafely_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");

    const int old = StoredFile::StaleSeconds + 5;
    QTest::newRow("old, unlocked: a killed save's") << u"file"_s << old << true;
    QTest::newRow("the bare name earlier versions used") << u"bare"_s << old << true;
    QTest::newRow("young: maybe a save on another machine") << u"file"_s << 5 << false;
    QTest::newRow("locked: a save under way") << u"locked"_s << old << false;
    QTest::newRow("another user's") << u"other user"_s << old << false;
    QTest::newRow("a link") << u"link"_s << old << false;
    QTest::newRow("a FIFO") << u"fifo"_s << old << false;
    QTest::newRow("not this file's pattern") << u"other name"_s << old << false;
}

// Why: one fixed temporary name let a second saver take the first one's file
// for stale, remove it and have its own emptied file renamed into place; a
// temporary file may go only when it is certainly nobody's work in progress.
void TestStoredFile::staleTemporariesAreRemovedSafely()
{
    QFETCH(QString, kind);
    QFETCH(int, ageSeconds);
    QFETCH(bool, removed);

    const QString path = file(u"Velmora.ini"_s);
    QVERIFY(StoredFile::save(path, golden::bytes(u"Velmora.ini"_s)));
    const QString name = kind == u"bare"         ? u".Velmora.ini.saving"_s
                         : kind == u"other name" ? u".Velmora.txt.saving-AbCd1234"_s
                                                 : u".Velmora.ini.saving-AbCd1234"_s;
    const QByteArray stale = QFile::encodeName(file(name));
    QVERIFY(StoredFile::isTemporaryOf(QFile::encodeName(name), "Velmora.ini") ==
            (kind != u"other name"));

    int lockHolder = -1;
    if (kind == u"link") {
        QCOMPARE(::symlink(QFile::encodeName(path).constData(), stale.constData()), 0);
    } else if (kind == u"fifo") {
        QCOMPARE(::mkfifo(stale.constData(), 0600), 0);
    } else {
        QFile made(file(name));
        QVERIFY(made.open(QIODevice::WriteOnly) && made.write("half") == 4);
    }
    if (kind == u"other user") {
        if (::geteuid() != 0)
            QSKIP("needs root to give the file to another user");
        QCOMPARE(::chown(stale.constData(), 65534, 65534), 0);
    }
    if (kind == u"locked") {
        lockHolder = ::open(stale.constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(lockHolder >= 0 && ::flock(lockHolder, LOCK_EX) == 0);
    }
    const timespec times[2] = {{::time(nullptr) - ageSeconds, 0},
                               {::time(nullptr) - ageSeconds, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, stale.constData(), times, AT_SYMLINK_NOFOLLOW), 0);

    QString why;
    QVERIFY2(StoredFile::save(path, golden::Settings{.top = 15}.bytes(), &why), qPrintable(why));
    if (lockHolder >= 0)
        ::close(lockHolder);
    struct stat st;
    QCOMPARE(::lstat(stale.constData(), &st) != 0, removed);
    QCOMPARE(StoredFile::load(path, Limit), std::optional(golden::Settings{.top = 15}.bytes()));
}

void TestStoredFile::newFileTakesItsModeFromTheUmask()
{
    // Why: new files were always 0644, also under a umask of 077 that keeps
    // the user's files from everyone else.
    for (const auto &[mask, mode] : {std::pair{077, 0600}, {022, 0644}, {0, 0666}}) {
        const QString path = file(u"new-%1"_s.arg(mask));
        const mode_t previous = ::umask(mode_t(mask));
        const bool saved = StoredFile::save(path, "1\r\n");
        ::umask(previous);
        QVERIFY(saved);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
    }
}

QTEST_GUILESS_MAIN(TestStoredFile)
#include "tst_storedfile.moc"
