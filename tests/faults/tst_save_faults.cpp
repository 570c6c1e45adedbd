// SPDX-License-Identifier: MIT
// What a save reports and leaves when the system lets it down: a failing
// system call (through the preloaded libvelmora_failsys), a save killed at
// any moment, and a file whose links, inode, owner and mode must outlive the
// save; saves that race each other; what another user leaves in a shared
// directory. Every save runs in save_driver, a process of its own, in a
// scratch directory under the system's temporary folder, which nobody (the
// user some saves run as) can reach wherever the build tree lies.

#include "GoldenFiles.h"
#include "StoredFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using storage::StoredFile;

namespace {

const QString Driver = QStringLiteral(VELMORA_SAVE_DRIVER);

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no such file)");
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct stat statOf(const QString &path, bool followLink = true)
{
    struct stat st = {};
    followLink ? ::stat(qPrintable(path), &st) : ::lstat(qPrintable(path), &st);
    return st;
}

// The names in `directory` that a save of `fileName` writes aside.
QStringList temporaries(const QString &directory, const QString &fileName)
{
    QStringList found;
    for (const QString &entry : entries(directory))
        if (StoredFile::isTemporaryOf(QFile::encodeName(entry), QFile::encodeName(fileName)))
            found << entry;
    return found;
}

// Makes the file look untouched for twice as long as a save waits before it
// takes a temporary file for one a killed save left behind.
bool backdate(const QString &path)
{
    const time_t then = std::time(nullptr) - 2 * StoredFile::StaleSeconds;
    const timespec times[2] = {{then, 0}, {then, 0}};
    return ::utimensat(AT_FDCWD, qPrintable(path), times, AT_SYMLINK_NOFOLLOW) == 0;
}

// A user that is neither root nor nobody, to own a shared directory.
constexpr uid_t Stranger = 4242;

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void failedSaveKeepsPreviousFile_data();
    void failedSaveKeepsPreviousFile();
    void saveKeepsIdentity_data();
    void saveKeepsIdentity();
    void killedSaveLeavesOneWholeFile();
    void racingSavesEndWithTheLastRename_data();
    void racingSavesEndWithTheLastRename();
    void concurrentSaveLoopsShowOnlyWholeFiles();
    void sharedDirectoryAsNobody_data();
    void sharedDirectoryAsNobody();

private:
    // The driver's exit code (-1 if it did not end by itself within
    // `timeout` ms) and what it said.
    std::pair<int, QString> runDriver(QStringList arguments, const QProcessEnvironment &environment,
                                      bool asNobody = false, int timeout = 30000);
    // The driver as nobody runs it: a copy in the scratch directory, so that
    // nothing nobody runs or reads lies in the build tree, which may be where
    // nobody cannot go (under /root, in a 0700 folder). It links only system
    // libraries and Qt.
    QString nobodysDriver();
    // The scratch tree: work/ holds the saved file, the rest what the driver saves.
    QString work(const QString &name = {}) const { return m_dir->filePath(u"work/"_s + name); }
    QString content(const QByteArray &bytes)
    {
        const QString path = m_dir->filePath(QString::number(++m_contents));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        ::chmod(qPrintable(path), 0644);
        return path;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_contents = 0;
    // Two bytes longer than the golden file, so that a restore must also cut.
    const QByteArray m_old = golden::bytes(u"Velmora.ini"_s);
    const QByteArray m_new = golden::Settings{.top = 14400, .left = 7200}.bytes();
    const QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

std::pair<int, QString> TestSaveFaults::runDriver(QStringList arguments,
                                                  const QProcessEnvironment &environment,
                                                  bool asNobody, int timeout)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_dir->path());
    if (asNobody)
        arguments = QStringList{u"--reuid=nobody"_s, u"--regid=nogroup"_s, u"--clear-groups"_s,
                                nobodysDriver()} +
                    arguments;
    process.start(asNobody ? u"setpriv"_s : Driver, arguments);
    const bool ended =
        process.waitForFinished(timeout) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString TestSaveFaults::nobodysDriver()
{
    const QString copy = m_dir->filePath(u"save_driver"_s);
    if (!QFile::exists(copy) && (!QFile::copy(Driver, copy) || ::chmod(qPrintable(copy), 0755)))
        qFatal("cannot copy the driver to %s", qPrintable(copy));
    return copy;
}

void TestSaveFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid() && QDir(m_dir->path()).mkdir(u"work"_s));
    // Traversable by nobody, whom some saves run as.
    QVERIFY(::chmod(qPrintable(m_dir->path()), 0755) == 0 &&
            ::chmod(qPrintable(work()), 0755) == 0);
    QFile file(work(u"Velmora.ini"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_old) == m_old.size());
}

void TestSaveFaults::failedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("hardLinked"); // so that the file is rewritten in place
    QTest::addColumn<bool>("newBytesStay");

    QTest::newRow("create ENOSPC") << u"openat"_s << ENOSPC << false << false;
    QTest::newRow("fchmod EROFS") << u"fchmod"_s << EROFS << false << false;
    QTest::newRow("write ENOSPC") << u"write"_s << ENOSPC << false << false;
    QTest::newRow("fdatasync EIO") << u"fdatasync"_s << EIO << false << false;
    QTest::newRow("fdatasync ENOSPC") << u"fdatasync"_s << ENOSPC << false << false;
    QTest::newRow("close EIO") << u"close"_s << EIO << false << false;
    QTest::newRow("rename EIO") << u"renameat"_s << EIO << false << false;
    // The directory is synced after the rename has put the new file in place
    // and the old inode is gone, so the name shows the new bytes and nothing
    // can bring the old ones back. What must hold: the save does not claim
    // success (the rename may not survive a crash) and leaves no temporary.
    QTest::newRow("directory fsync EIO") << u"fsync"_s << EIO << false << true;
    QTest::newRow("in place, pwrite ENOSPC") << u"pwrite"_s << ENOSPC << true << false;
    QTest::newRow("in place, ftruncate EIO") << u"ftruncate"_s << EIO << true << false;
    QTest::newRow("in place, fdatasync EIO") << u"fdatasync"_s << EIO << true << false;
    QTest::newRow("in place, close EIO") << u"close"_s << EIO << true << false;
}

void TestSaveFaults::failedSaveKeepsPreviousFile()
{
    // Why: a save whose bytes may not have reached the disk must say so and
    // leave the previous file as it was; an error that only fdatasync or
    // close reports is the one most easily ignored.
    QFETCH(QString, call);
    QFETCH(int, error);
    QFETCH(bool, hardLinked);
    QFETCH(bool, newBytesStay);

    const QString path = work(u"Velmora.ini"_s);
    if (hardLinked)
        QCOMPARE(::link(qPrintable(path), qPrintable(work(u"link"_s))), 0);
    const QStringList before = entries(work());
    QProcessEnvironment environment = m_environment;
    environment.insert(u"LD_PRELOAD"_s, QStringLiteral(VELMORA_FAILSYS));
    environment.insert(u"VELMORA_FAIL_CALL"_s, call);
    environment.insert(u"VELMORA_FAIL_ERRNO"_s, QString::number(error));
    environment.insert(u"VELMORA_FAIL_DIR"_s, work());

    const auto [exitCode, errors] = runDriver({u"save"_s, path, content(m_new)}, environment);
    QCOMPARE(exitCode, 1);
    // The fault landed on the call named, and the save reports it.
    QVERIFY2(errors.contains(u"velmora_failsys: %1 fails"_s.arg(call)), qPrintable(errors));
    QVERIFY2(errors.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(errors));
    QCOMPARE(contents(path), newBytesStay ? m_new : m_old);
    QCOMPARE(entries(work()), before);
}

void TestSaveFaults::saveKeepsIdentity_data()
{
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<int>("directoryMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("nobodysFile");
    QTest::addColumn<bool>("hardLinked");
    QTest::addColumn<bool>("sameInode");

    QTest::newRow("second hard link") << false << 0755 << 0644 << false << true << true;
    QTest::newRow("nobody, directory not writable")
        << true << 0555 << 0666 << false << false << true;
    QTest::newRow("nobody, root's file") << true << 0777 << 0666 << false << false << true;
    QTest::newRow("root, nobody's 0640 file") << false << 0755 << 0640 << true << false << false;
}

void TestSaveFaults::saveKeepsIdentity()
{
    // Why: replacing the file by a new one would cut it from its other names
    // or hand it to whoever saved it; where the user may write the file but
    // not the directory, the save must still succeed.
    QFETCH(bool, asNobody);
    QFETCH(int, directoryMode);
    QFETCH(int, fileMode);
    QFETCH(bool, nobodysFile);
    QFETCH(bool, hardLinked);
    QFETCH(bool, sameInode);

    const passwd *nobody = ::getpwnam("nobody");
    const group *nogroup = ::getgrnam("nogroup");
    if ((asNobody || nobodysFile) && (::geteuid() != 0 || !nobody || !nogroup))
        QSKIP("needs root and the user nobody and group nogroup");
    if (asNobody && QStandardPaths::findExecutable(u"setpriv"_s).isEmpty())
        QSKIP("needs setpriv to save as nobody");

    const QString path = work(u"Velmora.ini"_s);
    QCOMPARE(::chmod(qPrintable(path), mode_t(fileMode)), 0);
    if (nobodysFile)
        QCOMPARE(::chown(qPrintable(path), nobody->pw_uid, nogroup->gr_gid), 0);
    if (hardLinked)
        QCOMPARE(::link(qPrintable(path), qPrintable(work(u"link"_s))), 0);
    const QString newFile = content(m_new);
    const QStringList names = entries(work());
    QCOMPARE(::chmod(qPrintable(work()), mode_t(directoryMode)), 0);
    const struct stat before = statOf(path);

    // A strict umask, which a new file's mode must not take after.
    const mode_t umask = ::umask(077);
    const auto restoreUmask = qScopeGuard([umask] { ::umask(umask); });
    const auto [exitCode, errors] = runDriver({u"save"_s, path, newFile}, m_environment, asNobody);
    QVERIFY2(exitCode == 0, qPrintable(errors));

    const struct stat after = statOf(path);
    QCOMPARE(contents(path), m_new);
    if (hardLinked)
        QCOMPARE(contents(work(u"link"_s)), m_new);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
    if (sameInode)
        QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(entries(work()), names);
}

void TestSaveFaults::killedSaveLeavesOneWholeFile()
{
    // Why: a save killed at any moment must leave the old file or the new one
    // whole, never a mix or nothing, and its temporary file must neither stop
    // the next save nor outlive one that runs once it is a minute old.
    bool set = false;
    const int rounds = qEnvironmentVariableIntValue("VELMORA_KILLS", &set);
    const int kills = set ? rounds : 300;
    const QByteArray other = golden::bytes(u"settings-one-line.ini"_s);
    const QString path = work(u"Velmora.ini"_s), oldFile = content(m_old),
                  otherFile = content(other);
    QVERIFY(other != m_old);

    QElapsedTimer timer;
    timer.start();
    int midSave = 0; // kills that left a temporary file behind
    for (int kill = 1; kill <= kills; ++kill) {
        QProcess loop;
        loop.start(Driver, {u"loop"_s, path, oldFile, otherFile});
        QVERIFY(loop.waitForReadyRead(10000)); // its first save begins
        QThread::usleep(QRandomGenerator::global()->bounded(15001));
        loop.kill();
        QVERIFY(loop.waitForFinished(10000));
        QVERIFY2(loop.exitStatus() == QProcess::CrashExit, loop.readAllStandardError().constData());

        const QByteArray now = contents(path);
        QVERIFY2(now == m_old || now == other,
                 qPrintable(u"after kill %1 the file holds: "_s.arg(kill) +
                            QString::fromLatin1(now.toPercentEncoding())));
        const QStringList left = entries(work());
        midSave += left.size() > 1;
        for (const QString &entry : left) {
            if (entry == u"Velmora.ini"_s)
                continue;
            QVERIFY2(StoredFile::isTemporaryOf(QFile::encodeName(entry), "Velmora.ini"),
                     qPrintable(u"after kill %1 the directory holds "_s.arg(kill) + entry));
            QVERIFY(backdate(work(entry)));
        }

        const auto [exitCode, errors] = runDriver({u"save"_s, path, oldFile}, m_environment);
        QVERIFY2(exitCode == 0, qPrintable(errors));
        QCOMPARE(contents(path), m_old);
        QCOMPARE(entries(work()), QStringList{u"Velmora.ini"_s});
    }
    qInfo("%d kills in %lld ms, %d of them in the middle of a save", kills, timer.elapsed(),
          midSave);
    QVERIFY2(kills < 20 || midSave > 0, "no kill landed inside a save: nothing was shown");
}

void TestSaveFaults::racingSavesEndWithTheLastRename_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("stale"); // A's temporary file looks a minute old to B

    for (const char *step : {"openat", "fchmod", "write", "fdatasync", "close", "renameat"}) {
        QTest::addRow("A waits in %s", step) << QString::fromLatin1(step) << false;
        // Before openat, A has no temporary file to backdate.
        if (std::strcmp(step, "openat") != 0)
            QTest::addRow("A waits in %s, backdated", step) << QString::fromLatin1(step) << true;
    }
}

void TestSaveFaults::racingSavesEndWithTheLastRename()
{
    // Why: a second save that starts while the first is at any step must not
    // truncate, take over or remove the first one's temporary file, nor give
    // up on it as busy: both succeed, and the file ends as the bytes of the
    // save that renamed last, whole. A temporary file still locked by its save
    // is never taken for a killed save's, however old it looks.
    QFETCH(QString, step);
    QFETCH(bool, stale);

    const QString path = work(u"Velmora.ini"_s);
    const QByteArray bytesA = golden::Settings{.top = 1}.bytes();
    const QByteArray bytesB = golden::Settings{.top = 22222, .left = 333}.bytes();
    QProcessEnvironment slow = m_environment;
    slow.insert(u"LD_PRELOAD"_s, QStringLiteral(VELMORA_FAILSYS));
    slow.insert(u"VELMORA_FAIL_DIR"_s, work());
    slow.insert(u"VELMORA_DELAY_CALL"_s, step);
    // Long enough for B to run whole on a slow machine (a sanitizer build,
    // a busy CI host), B starting only once A is waiting.
    slow.insert(u"VELMORA_DELAY_MS"_s, u"3000"_s);

    QProcess saverA;
    saverA.setProcessEnvironment(slow);
    saverA.start(Driver, {u"save"_s, path, content(bytesA)});
    QVERIFY(saverA.waitForStarted());
    saverA.setReadChannel(QProcess::StandardError);
    QByteArray saidA;
    while (!saidA.contains(" waits ")) {
        QVERIFY2(saverA.waitForReadyRead(10000), saidA.constData());
        saidA += saverA.readAllStandardError();
    }
    if (stale) {
        QTRY_COMPARE_WITH_TIMEOUT(temporaries(work(), u"Velmora.ini"_s).size(), 1, 500);
        QVERIFY(backdate(work(temporaries(work(), u"Velmora.ini"_s).first())));
    }
    const auto [exitB, errorsB] = runDriver({u"save"_s, path, content(bytesB)}, m_environment);
    QVERIFY2(exitB == 0, qPrintable(errorsB));
    QCOMPARE(contents(path), bytesB); // B is done while A still waits

    QVERIFY(saverA.waitForFinished(10000));
    const QString errorsA = QString::fromLocal8Bit(saidA + saverA.readAllStandardError());
    QVERIFY2(saverA.exitStatus() == QProcess::NormalExit && saverA.exitCode() == 0,
             qPrintable(errorsA));
    QVERIFY2(errorsA.contains(u"velmora_failsys: %1 waits"_s.arg(step)), qPrintable(errorsA));
    QCOMPARE(contents(path), bytesA);
    QCOMPARE(entries(work()), QStringList{u"Velmora.ini"_s});
}

void TestSaveFaults::concurrentSaveLoopsShowOnlyWholeFiles()
{
    // Why: saves running at once, each to its own temporary file, must never
    // let a reader see an empty, partial or mixed file, nor make one another
    // fail (a shared temporary name made the later save "busy").
    const QByteArray versions[] = {
        golden::Settings{.top = 1}.bytes(), golden::Settings{.top = 22}.bytes(),
        golden::Settings{.top = 333}.bytes(), golden::Settings{.top = 4444}.bytes()};
    const QString path = work(u"Velmora.ini"_s), saves = u"300"_s;
    QProcess first, second;
    first.start(Driver, {u"loopn"_s, path, content(versions[0]), content(versions[1]), saves});
    second.start(Driver, {u"loopn"_s, path, content(versions[2]), content(versions[3]), saves});
    QVERIFY(first.waitForStarted() && second.waitForStarted());

    const auto whole = [&](const QByteArray &bytes) {
        return bytes == m_old ||
               std::find(std::begin(versions), std::end(versions), bytes) != std::end(versions);
    };
    QSet<QByteArray> seen;
    int reads = 0;
    const QDeadlineTimer deadline(120000);
    while (first.state() != QProcess::NotRunning || second.state() != QProcess::NotRunning) {
        const QByteArray now = contents(path);
        QVERIFY2(whole(now),
                 qPrintable(u"a reader saw: "_s + QString::fromLatin1(now.toPercentEncoding())));
        seen.insert(now);
        ++reads;
        QVERIFY2(!deadline.hasExpired(), "the saves did not end");
        first.waitForFinished(1);
        second.waitForFinished(1);
    }
    for (QProcess *loop : {&first, &second})
        QVERIFY2(loop->exitStatus() == QProcess::NormalExit && loop->exitCode() == 0,
                 loop->readAllStandardError().constData());
    qInfo("%d reads saw %lld of the versions", reads, qsizetype(seen.size()));
    QVERIFY2(seen.size() > 2, "the reads saw too few of the saves to show anything");
    QVERIFY(whole(contents(path)) && contents(path) != m_old);
    QCOMPARE(entries(work()), QStringList{u"Velmora.ini"_s});
}

namespace {
// What stands at the name nobody saves, put there by root.
enum Planted
{
    RootsLink,
    NobodysLink,
    Fifo,
    FifoAtOldTemporary,
    ReadOnlyFile
};
} // namespace

void TestSaveFaults::sharedDirectoryAsNobody_data()
{
    QTest::addColumn<int>("planted");
    QTest::addColumn<bool>("sticky");    // 1777, of a third user; else nobody's own, 0755
    QTest::addColumn<QString>("reason"); // empty where the save succeeds

    QTest::newRow("another user's link") << int(RootsLink) << true << u"another user"_s;
    QTest::newRow("nobody's own link") << int(NobodysLink) << true << QString();
    QTest::newRow("FIFO at the name") << int(Fifo) << true << u"not a regular file"_s;
    QTest::newRow("FIFO at the old temporary name") << int(FifoAtOldTemporary) << true << QString();
    QTest::newRow("nobody's 0444 file, shared directory")
        << int(ReadOnlyFile) << true << u"Permission denied"_s;
    QTest::newRow("nobody's 0444 file, nobody's directory")
        << int(ReadOnlyFile) << false << u"Permission denied"_s;
}

void TestSaveFaults::sharedDirectoryAsNobody()
{
    // Why: in a directory anyone may write, another user can put a link at
    // the file's name that sends the save to a file of theirs, or a FIFO that
    // blocks any open for writing; and a file its owner has made read-only
    // must not be replaced by a new one just because the directory allows it.
    QFETCH(int, planted);
    QFETCH(bool, sticky);
    QFETCH(QString, reason);

    const passwd *nobody = ::getpwnam("nobody");
    const group *nogroup = ::getgrnam("nogroup");
    if (::geteuid() != 0 || !nobody || !nogroup)
        QSKIP("needs root and the user nobody and group nogroup");
    if (QStandardPaths::findExecutable(u"setpriv"_s).isEmpty())
        QSKIP("needs setpriv to save as nobody");

    const QString shared = m_dir->filePath(u"shared"_s), path = shared + u"/Velmora.txt"_s;
    const QString victim = m_dir->filePath(u"victim"_s);
    const QByteArray old = golden::bytes(u"Velmora.txt"_s), fresh = golden::message("saved");
    QVERIFY(QDir(m_dir->path()).mkdir(u"shared"_s));
    QVERIFY(::chown(qPrintable(shared), sticky ? Stranger : nobody->pw_uid,
                    sticky ? Stranger : nogroup->gr_gid) == 0);
    QVERIFY(::chmod(qPrintable(shared), sticky ? 01777 : 0755) == 0);
    // Anyone may write the victim: only the save's own checks keep it whole.
    QFile victimFile(victim);
    QVERIFY(victimFile.open(QIODevice::WriteOnly) && victimFile.write(old) == old.size());
    victimFile.close();
    QVERIFY(::chmod(qPrintable(victim), 0666) == 0);

    const QByteArray name = QFile::encodeName(path);
    switch (Planted(planted)) {
    case RootsLink:
    case NobodysLink:
        QVERIFY(::symlink(qPrintable(victim), name.constData()) == 0);
        if (planted == NobodysLink)
            QVERIFY(::lchown(name.constData(), nobody->pw_uid, nogroup->gr_gid) == 0);
        break;
    case Fifo:
        // Open to anyone, so that only the save's own checks keep it from
        // opening one and waiting there for a reader.
        QVERIFY(::mkfifo(name.constData(), 0) == 0 && ::chmod(name.constData(), 0666) == 0);
        break;
    case FifoAtOldTemporary:
    case ReadOnlyFile: {
        const QByteArray oldTemporary = QFile::encodeName(shared + u"/.Velmora.txt.saving"_s);
        if (planted == FifoAtOldTemporary)
            QVERIFY(::mkfifo(oldTemporary.constData(), 0) == 0 &&
                    ::chmod(oldTemporary.constData(), 0666) == 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QVERIFY(::chown(name.constData(), nobody->pw_uid, nogroup->gr_gid) == 0);
        QVERIFY(::chmod(name.constData(), planted == ReadOnlyFile ? 0444 : 0644) == 0);
        break;
    }
    }
    const QStringList names = entries(shared);
    const struct stat before = statOf(path, false);

    // A FIFO opened for writing would hold the save for good: it must end.
    const auto [exitCode, errors] =
        runDriver({u"save"_s, path, content(fresh)}, m_environment, true, 5000);
    QVERIFY2(exitCode != -1, "the save did not end");
    QVERIFY2(exitCode == (reason.isEmpty() ? 0 : 1), qPrintable(errors));
    QVERIFY2(errors.contains(reason), qPrintable(errors));

    const struct stat after = statOf(path, false);
    QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    QCOMPARE(entries(shared), names);
    QCOMPARE(contents(victim), planted == NobodysLink ? fresh : old);
    if (planted == FifoAtOldTemporary)
        QCOMPARE(contents(path), fresh);
    if (planted == ReadOnlyFile) {
        QCOMPARE(contents(path), old);
        QCOMPARE(after.st_ino, before.st_ino);
    }
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_save_faults.moc"
