// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One sign per directory. The sign started first for a directory holds a
// lock named after a hash of the directory's canonical path, so that "-C
// DIR", "--user" and a symbolic link to the directory all name the same
// lock, and listens on a local socket of the same name beside it, both in
// the user's runtime directory. A later start for that directory finds the
// lock held, asks the sign over the socket to come forward, and ends.
//
// The sign answers a request once it has handled it: comeForwardRequested()
// has run, and the sign has not ended meanwhile (one that is ending gives
// no answer, so that the later start takes the lock when it comes free and
// runs a sign of its own). A lock whose process is gone (a sign killed with
// SIGKILL) is taken over at once; the lock and the socket go with the sign
// that holds them.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim
    {
        Ours,      // this process runs the sign for the directory
        Forwarded, // a running sign was asked to come forward and agreed
        NoAnswer,  // a sign holds the directory but did not answer in time
        Unguarded, // no lock can be made here: run, but without the guarantee
    };

    // `directory` is the sign's directory, spelt in any way.
    explicit SingleInstance(const QString &directory, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the directory for this process, or asks the sign that holds it
    // to come forward. A sign that is still starting (its lock taken, its
    // socket not yet listening, or its files still being read) is waited for
    // up to `AnswerSeconds`; `why` says what went wrong for NoAnswer and
    // Unguarded.
    Claim claim(QString *why);

    static constexpr int AnswerSeconds = 10;

signals:
    // A later start for the same directory asks the sign to come forward.
    void comeForwardRequested();

private:
    bool askToComeForward(int timeoutMs);
    void listen();
    void acceptRequests();
    void answer(QLocalSocket *socket);

    QString m_directory;
    QString m_basePath; // the runtime directory's path and the hashed name
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
