// SPDX-License-Identifier: MIT
#include "FileFollower.h"

#include "Bas_Comm.h"
#include "CurDir.h"
#include "FollowLog.h"
#include "MessageFile.h"
#include "Program.h"
#include "SettingsFile.h"

#include <QEvent>
#include <QFileInfo>

using namespace Bas_Comm;

namespace {

// Long enough for a writer's truncate-then-write or a burst of saves to end,
// short enough to feel immediate.
constexpr int SettlingMs = 150;

} // namespace

void FileFollower::warn(const QString &line)
{
    // A file that stays unreadable is reported once, not at every change
    // around it: a line is shown again only after a turn without it.
    m_warned.insert(line);
    if (!m_warnedBefore.contains(line))
        qCWarning(lcFollow, "%s", qUtf8Printable(line));
}

FileFollower::FileFollower(QObject *parent) : QObject(parent)
{
    m_settling.setSingleShot(true);
    m_settling.setInterval(SettlingMs);
    connect(&m_settling, &QTimer::timeout, this, &FileFollower::settle);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settling, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settling,
            qOverload<>(&QTimer::start));
    if (SignWindow *sign = signWindow())
        sign->installEventFilter(this);
    watch();
}

// The directory itself, or, while it is missing (removed, or not made yet),
// the nearest one above it that exists, so that its coming back is seen.
QString watchableDirectory(const QString &file)
{
    QFileInfo directory(QFileInfo(file).absolutePath());
    while (!directory.isDir() && !directory.isRoot())
        directory.setFile(directory.absolutePath());
    return directory.absoluteFilePath();
}

void FileFollower::watch()
{
    const QString settings = settingsPath();
    const QString message = messagePath(SignSettings.DataDir);
    QStringList wanted{settings, watchableDirectory(settings), message,
                       watchableDirectory(message)};
    wanted.removeDuplicates();
    QStringList stale = m_watcher.files() + m_watcher.directories();
    for (const QString &path : std::as_const(wanted))
        stale.removeAll(path);
    if (!stale.isEmpty())
        m_watcher.removePaths(stale);
    // A file that was replaced is no longer watched; adding it again is
    // harmless when it still is.
    const QStringList missing = [&] {
        QStringList list;
        for (const QString &path : std::as_const(wanted))
            if (!m_watcher.files().contains(path) && !m_watcher.directories().contains(path) &&
                QFileInfo::exists(path))
                list << path;
        return list;
    }();
    if (!missing.isEmpty())
        m_watcher.addPaths(missing);
}

bool FileFollower::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && m_waiting)
        m_settling.start();
    return QObject::eventFilter(watched, event);
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
    }
    watch();
}

void FileFollower::followSettings()
{
    QString why;
    const auto bytes = readSettings(&why);
    if (!bytes) {
        warn(QStringLiteral("cannot follow the settings file: ") + why);
        return;
    }
    const QByteArray known = knownSettingsBytes();
    if (*bytes == known)
        return;
    storage::SignSettingsRecord read = SignSettings;
    if (!storage::SettingsFile::decode(*bytes, read, storage::CurDir(), &why)) {
        warn(QStringLiteral("cannot follow the settings file: ") +
             storage::shownPath(settingsPath()) + QStringLiteral(": ") + why);
        return;
    }
    // Only what changed in the file applies: the window stays where the user
    // put it unless the file's position or size changed.
    storage::SignSettingsRecord before = SignSettings;
    storage::SettingsFile::decode(known, before, storage::CurDir());

    QByteArray message = knownMessageBytes();
    if (read.DataDir != SignSettings.DataDir) {
        const auto text = readMessage(read.DataDir, &why);
        const auto decoded = text ? storage::MessageFile::decode(*text, &why) : std::nullopt;
        if (!decoded) {
            warn(QStringLiteral("cannot follow the new data directory: ") + why);
            return;
        }
        read.DataText = *decoded;
        message = *text;
    }
    setKnownBytes(*bytes, message);

    const bool looks = read.ForeColor != SignSettings.ForeColor ||
                       read.BackColor != SignSettings.BackColor ||
                       read.DataText != SignSettings.DataText;
    const bool moved = read.Top != before.Top || read.Left != before.Left;
    const bool resized = read.Width != before.Width || read.Height != before.Height;
    SignSettings.Speed = read.Speed;
    SignSettings.ForeColor = read.ForeColor;
    SignSettings.BackColor = read.BackColor;
    SignSettings.DataDir = read.DataDir;
    SignSettings.DataText = read.DataText;
    SignSettings.Top = read.Top;
    SignSettings.Left = read.Left;

    runtime::dispatch([&] {
        SignWindow *sign = signWindow();
        if (moved) {
            sign->setTop(read.Top);
            sign->setLeft(read.Left);
        }
        if (resized) {
            // The resize lays the sign out again.
            sign->setHeight(read.Height);
            sign->setWidth(read.Width);
        } else if (looks) {
            Disp_Set();
        }
    });
}

void FileFollower::followMessage()
{
    QString why;
    const auto bytes = readMessage(SignSettings.DataDir, &why);
    const auto text = bytes ? storage::MessageFile::decode(*bytes, &why) : std::nullopt;
    if (!text) {
        warn(QStringLiteral("cannot follow the message file: ") +
             (bytes ? storage::shownPath(messagePath(SignSettings.DataDir)) + QStringLiteral(": ")
                    : QString()) +
             why);
        return;
    }
    if (*bytes == knownMessageBytes())
        return;
    setKnownBytes(knownSettingsBytes(), *bytes);
    if (*text == SignSettings.DataText)
        return;
    SignSettings.DataText = *text;
    runtime::dispatch([] { Disp_Set(); });
}
