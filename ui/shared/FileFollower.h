// SPDX-License-Identifier: MIT
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTimer>

// Keeps the running sign in step with its two files when another program
// changes them. It watches both files and their directories (a replacement
// by rename swaps the file under a watch), waits until a burst of changes has
// settled, then reads what changed: a new message is shown from the right
// edge; a new speed, colours or data directory take effect at once; a new
// position or size moves the window. A file that does not read (half
// written, not code page 932, missing) changes nothing and is logged; it is
// read again at its next change. What the program last read or wrote itself
// changes nothing, so its own saves do not bounce. While the sign is hidden
// (the setup dialog is open) changes wait until it is shown again. It never
// writes a file and never polls.
class FileFollower : public QObject
{
    Q_OBJECT

public:
    explicit FileFollower(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch();
    void settle();
    void followSettings();
    void followMessage();
    void warn(const QString &line);

    QFileSystemWatcher m_watcher;
    QTimer m_settling;
    bool m_waiting = false;
    // What the last turn and this one have reported.
    QSet<QString> m_warnedBefore;
    QSet<QString> m_warned;
};
