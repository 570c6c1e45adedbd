// SPDX-License-Identifier: MIT
#include "FileFollower.h"

#include "Bas_Comm.h"
#include "CurDir.h"
#include "FileStamp.h"
#include "FollowLog.h"
#include "MessageFile.h"
#include "Program.h"
#include "SettingsChange.h"
#include "SettingsFile.h"
#include "StoredFile.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>

#include <sys/vfs.h>

using namespace Bas_Comm;

namespace {

// Long enough for a writer's truncate-then-write or a burst of saves to end,
// short enough to feel immediate.
constexpr int SettlingMs = 150;

std::int64_t monotonicMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

// The directory itself, or, while it is missing (removed, or not made yet),
// the nearest one above it that exists, so that its coming back is seen.
QString watchableDirectory(const QString &file)
{
    QFileInfo directory(QFileInfo(file).absolutePath());
    while (!directory.isDir() && !directory.isRoot())
        directory.setFile(directory.absolutePath());
    return directory.canonicalFilePath();
}

// Whether a change made on another machine may raise no event where `path`
// is: network and FUSE file systems (f_type from statfs).
bool unheardChanges(const QString &path)
{
    struct statfs fs;
    if (::statfs(QFile::encodeName(path).constData(), &fs) != 0)
        return false;
    switch (std::uint32_t(fs.f_type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFE534D42: // SMB2
    case 0xFF534D42: // CIFS
    case 0x65735546: // FUSE (sshfs and the rest)
    case 0x01021997: // 9p
    case 0x00C36400: // Ceph
    case 0x5346414F: // AFS
    case 0x73757245: // Coda
    case 0x47504653: // GPFS
    case 0x0BD00BD0: // Lustre
    case 0x013111A8: // IBRIX
    case 0x6B414653: // kAFS
        return true;
    default:
        return false;
    }
}

} // namespace

FileFollower::FileFollower(QObject *parent) : QObject(parent), m_clock(monotonicMs)
{
    m_settling.setSingleShot(true);
    m_settling.setInterval(SettlingMs);
    connect(&m_settling, &QTimer::timeout, this, &FileFollower::settle);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settling, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settling,
            qOverload<>(&QTimer::start));
    m_pollTimer.setInterval(int(storage::ChangePoll::IntervalMs));
    connect(&m_pollTimer, &QTimer::timeout, this, &FileFollower::poll);
    m_pendingTimer.setSingleShot(true);
    connect(&m_pendingTimer, &QTimer::timeout, this, &FileFollower::settle);
    if (SignWindow *sign = signWindow())
        sign->installEventFilter(this);
    watch();
}

void FileFollower::warn(const QString &line)
{
    // A file that stays unreadable is reported once, not at every change
    // around it: a line is shown again only after a turn without it.
    m_warned.insert(line);
    if (!m_warnedBefore.contains(line))
        qCWarning(lcFollow, "%s", qUtf8Printable(line));
}

void FileFollower::setPolling(bool polling)
{
    m_pollingForced = polling;
    watch();
}

void FileFollower::watch()
{
    const QString settings = settingsPath();
    const QString message = messagePath(SignSettings.DataDir);
    QStringList wanted{settings, watchableDirectory(settings), message, watchableDirectory(message),
                       optionsPath()};
    // A data directory named through a link: the link's own directory too,
    // where swapping the link shows.
    if (QFileInfo(SignSettings.DataDir).isSymLink())
        wanted << watchableDirectory(SignSettings.DataDir);
    wanted.removeDuplicates();
    wanted.removeAll(QString());
    QStringList stale = m_watcher.files() + m_watcher.directories();
    for (const QString &path : std::as_const(wanted))
        stale.removeAll(path);
    if (!stale.isEmpty())
        m_watcher.removePaths(stale);
    // A file that was replaced is no longer watched; adding it again is
    // harmless when it still is.
    QStringList missing;
    for (const QString &path : std::as_const(wanted))
        if (!m_watcher.files().contains(path) && !m_watcher.directories().contains(path) &&
            QFileInfo::exists(path))
            missing << path;
    if (!missing.isEmpty())
        m_watcher.addPaths(missing);

    m_polling = m_pollingForced || unheardChanges(watchableDirectory(settings)) ||
                unheardChanges(watchableDirectory(message));
    if (m_polling && !m_pollTimer.isActive())
        m_pollTimer.start();
    else if (!m_polling)
        m_pollTimer.stop();
}

bool FileFollower::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && m_waiting)
        m_settling.start();
    return QObject::eventFilter(watched, event);
}

void FileFollower::poll()
{
    const QList<storage::FileStamp> stamps{
        storage::FileStamp::of(settingsPath()),
        storage::FileStamp::of(messagePath(SignSettings.DataDir)),
        storage::FileStamp::of(optionsPath())};
    if (m_changePoll.due(stamps, m_clock()))
        settle();
}

void FileFollower::settle()
{
    const SignWindow *sign = signWindow();
    if (!sign || runtime::hasEnded())
        return;
    // The setup dialog is open: the user's edits win on ＯＫ, and on
    // キャンセル the files as they stand then are read.
    m_waiting = !sign->isVisible();
    if (!m_waiting) {
        m_warnedBefore = std::exchange(m_warned, {});
        followSettings();
        followMessage();
        followOptions();
    }
    watch();
}

bool FileFollower::stillBeingWritten(std::optional<Pending> &pending, const QByteArray &bytes,
                                     bool complete)
{
    if (complete) {
        pending.reset();
        return false;
    }
    const std::int64_t now = m_clock();
    if (!pending || pending->bytes != bytes)
        pending = Pending{bytes, now};
    const std::int64_t waited = now - pending->since;
    if (waited >= PendingMs) {
        // As it has stood for a while: read as start-up would read it.
        pending.reset();
        return false;
    }
    m_pendingTimer.start(int(PendingMs - waited));
    return true;
}

void FileFollower::readAgainSoon()
{
    // A read that met a file being written, or a network file system's
    // stale size: opening it again refreshes what the system knows of it.
    if (!m_pendingTimer.isActive() || m_pendingTimer.remainingTime() > RereadMs)
        m_pendingTimer.start(int(RereadMs));
}

void FileFollower::followSettings()
{
    QString why;
    bool unsettled = false;
    const auto bytes =
        storage::StoredFile::load(settingsPath(), storage::SettingsFile::MaxBytes,
                                  storage::SettingsFile::neededLength, &why, &unsettled);
    if (!bytes) {
        if (unsettled)
            readAgainSoon();
        else
            warn(QStringLiteral("cannot follow the settings file: ") +
                 storage::shownPath(settingsPath()) + QStringLiteral(": ") + why);
        return;
    }
    const QByteArray known = knownSettingsBytes();
    if (*bytes == known ||
        stillBeingWritten(m_pendingSettings, *bytes, storage::SettingsFile::isComplete(*bytes)))
        return;
    storage::SignSettingsRecord read = SignSettings;
    if (!storage::SettingsFile::decode(*bytes, read, storage::CurDir(), &why)) {
        warn(QStringLiteral("cannot follow the settings file: ") +
             storage::shownPath(settingsPath()) + QStringLiteral(": ") + why);
        return;
    }
    storage::SignSettingsRecord before = SignSettings;
    storage::SettingsFile::decode(known, before, storage::CurDir());
    SettingsChange change = SettingsChange::between(before, read, SignSettings);

    QByteArray message = knownMessageBytes();
    if (change.newDirectory) {
        const auto text = readMessage(read.DataDir, &why);
        const auto decoded = text ? storage::MessageFile::decode(*text, &why) : std::nullopt;
        if (!decoded) {
            warn(QStringLiteral("cannot follow the new data directory: ") + why);
            return;
        }
        change.next.DataText = *decoded;
        message = *text;
        m_pendingMessage.reset();
    }
    setKnownBytes(*bytes, message);
    const bool relaid = change.restyled || change.next.DataText != SignSettings.DataText;
    SignSettings = change.next;

    runtime::dispatch([&] {
        SignWindow *sign = signWindow();
        if (change.moved) {
            sign->setTop(read.Top);
            sign->setLeft(read.Left);
        }
        if (change.resized) {
            // The resize lays the sign out again.
            sign->setHeight(read.Height);
            sign->setWidth(read.Width);
        } else if (relaid) {
            Disp_Set();
        }
    });
}

void FileFollower::followMessage()
{
    QString why;
    bool unsettled = false;
    const QString path = messagePath(SignSettings.DataDir);
    const auto bytes = storage::StoredFile::load(
        path, storage::MessageFile::MaxBytes, storage::MessageFile::neededLength, &why, &unsettled);
    if (!bytes) {
        if (unsettled)
            readAgainSoon();
        else
            warn(QStringLiteral("cannot follow the message file: ") + storage::shownPath(path) +
                 QStringLiteral(": ") + why);
        return;
    }
    if (*bytes == knownMessageBytes() ||
        stillBeingWritten(m_pendingMessage, *bytes, storage::MessageFile::isComplete(*bytes)))
        return;
    const auto text = storage::MessageFile::decode(*bytes, &why);
    if (!text) {
        warn(QStringLiteral("cannot follow the message file: ") + storage::shownPath(path) +
             QStringLiteral(": ") + why);
        return;
    }
    setKnownBytes(knownSettingsBytes(), *bytes);
    if (*text == SignSettings.DataText)
        return;
    SignSettings.DataText = *text;
    runtime::dispatch([] { Disp_Set(); });
}

void FileFollower::followOptions()
{
    if (!readOptions(Options))
        return;
    runtime::dispatch([] {
        if (SignWindow *sign = signWindow())
            sign->applyOptions(Options);
    });
}
