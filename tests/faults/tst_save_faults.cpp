// SPDX-License-Identifier: MIT
// What a save reports and leaves when the system lets it down: a failing
// system call (through the preloaded libvelmora_failsys), a save killed at
// any moment, and a file whose links, inode, owner and mode must outlive the
// save. Every save runs in save_driver, a process of its own, in a directory
// under the build tree.

#include "GoldenFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstring>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Driver = QStringLiteral(VELMORA_SAVE_DRIVER);

// The driver's exit code (-1 if it did not end by itself) and what it said.
std::pair<int, QString> runDriver(QStringList arguments, const QProcessEnvironment &environment,
                                  bool asNobody = false)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (asNobody)
        arguments =
            QStringList{u"--reuid=nobody"_s, u"--regid=nogroup"_s, u"--clear-groups"_s, Driver} +
            arguments;
    process.start(asNobody ? u"setpriv"_s : Driver, arguments);
    const bool ended =
        process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no such file)");
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct stat statOf(const QString &path)
{
    struct stat st = {};
    ::stat(qPrintable(path), &st);
    return st;
}

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

private:
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

void TestSaveFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>(QCoreApplication::applicationDirPath() +
                                            u"/faults-XXXXXX"_s);
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

    QTest::newRow("write ENOSPC") << u"write"_s << ENOSPC << false << false;
    QTest::newRow("fdatasync EIO") << u"fdatasync"_s << EIO << false << false;
    QTest::newRow("fdatasync ENOSPC") << u"fdatasync"_s << ENOSPC << false << false;
    QTest::newRow("close EIO") << u"close"_s << EIO << false << false;
    QTest::newRow("rename EIO") << u"rename"_s << EIO << false << false;
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
    // nor outlive the next save.
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
        midSave += entries(work()).size() > 1;

        const auto [exitCode, errors] = runDriver({u"save"_s, path, oldFile}, m_environment);
        QVERIFY2(exitCode == 0, qPrintable(errors));
        QCOMPARE(contents(path), m_old);
        QCOMPARE(entries(work()), QStringList{u"Velmora.ini"_s});
    }
    qInfo("%d kills in %lld ms, %d of them in the middle of a save", kills, timer.elapsed(),
          midSave);
    QVERIFY2(kills < 20 || midSave > 0, "no kill landed inside a save: nothing was shown");
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_save_faults.moc"
