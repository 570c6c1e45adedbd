// SPDX-License-Identifier: MIT
#include "SingleInstance.h"

#include "AppLog.h"
#include "CurDir.h"
#include "Program.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {

// What a later start sends, and what the sign answers once it has come
// forward.
constexpr char Request[] = "come-forward\n";
constexpr char Reply[] = "ok\n";

// How often a later start looks again while the sign is still starting.
constexpr int RetryMs = 50;

// The name of the lock and the socket: the same for every spelling of the
// directory, and short enough for a socket's path wherever the runtime
// directory is.
QString hashedName(const QString &directory)
{
    QString canonical = QFileInfo(directory).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(QFileInfo(directory).absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(canonical), QCryptographicHash::Sha256);
    return QStringLiteral("velmora-") + QString::fromLatin1(hash.toHex().left(32));
}

} // namespace

SingleInstance::SingleInstance(const QString &directory, QObject *parent)
    : QObject(parent), m_directory(directory)
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::claim(QString *why)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        *why = QStringLiteral("there is no runtime directory for the lock");
        return Claim::Unguarded;
    }
    m_basePath = runtime + u'/' + hashedName(m_directory);
    m_lock = std::make_unique<QLockFile>(m_basePath + QStringLiteral(".lock"));
    // A running sign's lock never goes stale by age, however long it runs;
    // only a lock whose process is gone does.
    m_lock->setStaleLockTime(0);

    const QDeadlineTimer deadline(AnswerSeconds * 1000);
    for (;;) {
        if (m_lock->tryLock(0)) {
            listen();
            return Claim::Ours;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            *why = storage::shownPath(m_lock->fileName()) +
                   QStringLiteral(": cannot make the lock that keeps one sign per directory");
            m_lock.reset();
            return Claim::Unguarded;
        }
        // The sign may be between its lock and its socket: look again until
        // it answers, its lock comes free, or the time is up.
        if (askToComeForward(int(deadline.remainingTime())))
            return Claim::Forwarded;
        if (deadline.hasExpired())
            break;
        QThread::msleep(RetryMs);
    }
    *why = storage::shownPath(m_directory) +
           QStringLiteral(": a sign already runs there but does not answer");
    return Claim::NoAnswer;
}

bool SingleInstance::askToComeForward(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(m_basePath + QStringLiteral(".socket"));
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(Request);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    // The sign answers from its event loop, which may still be reading its
    // files; a sign that ends meanwhile closes the connection.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == Reply;
}

void SingleInstance::listen()
{
    const QString name = m_basePath + QStringLiteral(".socket");
    // Whatever socket is there was left by a sign that held the lock before,
    // and is gone.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        qCWarning(lcApp, "%s: cannot listen for later starts: %s",
                  qUtf8Printable(storage::shownPath(name)),
                  qUtf8Printable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptRequests);
}

void SingleInstance::acceptRequests()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        if (socket->bytesAvailable() > 0)
            answer(socket);
    }
}

void SingleInstance::answer(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > qint64(sizeof Request))
            socket->abort();
        return;
    }
    if (socket->readLine() != Request) {
        socket->abort();
        return;
    }
    emit comeForwardRequested();
    // A sign that is ending does not answer: the later start then waits for
    // the lock to come free and runs a sign of its own.
    if (runtime::hasEnded()) {
        socket->abort();
        return;
    }
    socket->write(Reply);
    socket->disconnectFromServer();
}
