// SPDX-License-Identifier: MIT
#include "FileFollower.h"

#include "Bas_Comm.h"
#include "CurDir.h"
#include "Log.h"
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

void FileFollower::watch()
{
    const QString settings = settingsPath();
    const QString message = messagePath(SignSettings.DataDir);
    QStringList wanted{settings, QFileInfo(settings).absolutePath(), message,
                       QFileInfo(message).absolutePath()};
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
        qCWarning(lcVelmora, "cannot follow the settings file: %s", qUtf8Printable(why));
        return;
    }
    const QByteArray known = knownSettingsBytes();
    if (*bytes == known)
        return;
    storage::SignSettingsRecord read = SignSettings;
    if (!storage::SettingsFile::decode(*bytes, read, storage::CurDir(), &why)) {
        qCWarning(lcVelmora, "cannot follow the settings file: %s: %s",
                  qUtf8Printable(settingsPath()), qUtf8Printable(why));
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
            qCWarning(lcVelmora, "cannot follow the new data directory: %s", qUtf8Printable(why));
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
        qCWarning(lcVelmora, "cannot follow the message file: %s%s%s",
                  qUtf8Printable(bytes ? messagePath(SignSettings.DataDir) : QString()),
                  bytes ? ": " : "", qUtf8Printable(why));
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
