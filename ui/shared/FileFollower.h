// SPDX-License-Identifier: MIT
#pragma once

#include "ChangePoll.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

// Keeps the running sign in step with its two files (and its options file)
// when another program, or another machine, changes them: a new message is
// shown from the right edge; a new speed, colours or data directory take
// effect at once; a new position or size moves the window. It never writes a
// file. What the program last read or wrote itself changes nothing, so its
// own saves do not bounce. While the sign is hidden (the setup dialog is
// open) changes wait until it is shown again.
//
// Where the files are, change notification decides when to look: on a local
// file system the files and their directories are watched (a replacement by
// rename swaps the file under a watch), a burst of changes is left to settle,
// and nothing is polled. On a network or FUSE file system (NFS, SMB/CIFS,
// sshfs, 9p…), where a write from another machine raises no event, the files
// are polled instead (see storage::ChangePoll).
//
// A file is read only when it looks whole and read whole: a message file
// whose line has not ended or whose quote is still open, or a settings file
// without its eighth item and a line end, is taken for one still being
// written and changes nothing until it is complete, or has stayed as it is
// for PendingMs (it is then read as start-up reads it); a file that changed
// while it was read is read again at the next turn. A file that does not
// read (not code page 932 or UTF-8, missing) changes nothing and is reported
// once while it stays so. A data directory named through a link is followed
// to wherever the link points at each turn.
class FileFollower : public QObject
{
    Q_OBJECT

public:
    // Milliseconds on a monotonic clock.
    using Clock = std::function<std::int64_t()>;
    static constexpr std::int64_t PendingMs = 2000;
    // How soon a file that changed while it was read is read again.
    static constexpr std::int64_t RereadMs = 300;

    explicit FileFollower(QObject *parent = nullptr);

    // For tests: another clock, and polling whatever the file system.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setPolling(bool polling);
    bool isPolling() const { return m_polling; }

    // One turn: reads what changed and applies it. Notifications (once
    // settled), the poll, and a file pending completion call it.
    void settle();
    // One poll: looks at the files' stamps and takes a turn when they call
    // for one.
    void poll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A file that looked unfinished: what it held and since when.
    struct Pending
    {
        QByteArray bytes;
        std::int64_t since = 0;
    };

    void watch();
    void followSettings();
    void followMessage();
    void followOptions();
    bool stillBeingWritten(std::optional<Pending> &pending, const QByteArray &bytes, bool complete);
    void readAgainSoon();
    void warn(const QString &line);

    QFileSystemWatcher m_watcher;
    QTimer m_settling;
    QTimer m_pollTimer;
    QTimer m_pendingTimer;
    Clock m_clock;
    storage::ChangePoll m_changePoll;
    bool m_polling = false;
    bool m_pollingForced = false;
    bool m_waiting = false;
    std::optional<Pending> m_pendingSettings;
    std::optional<Pending> m_pendingMessage;
    // What the last turn and this one have reported.
    QSet<QString> m_warnedBefore;
    QSet<QString> m_warned;
};
