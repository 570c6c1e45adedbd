// SPDX-License-Identifier: MIT
#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The signal handler only writes a byte here; the event loop reads it.
int wakeUp[2] = {-1, -1};

extern "C" void onSignal(int)
{
    const char byte = 1;
    const int saved = errno;
    [[maybe_unused]] const auto written = ::write(wakeUp[0], &byte, 1);
    errno = saved;
}

} // namespace

SessionEnd::SessionEnd(std::function<void()> handler, QObject *parent)
    : QObject(parent), m_handler(std::move(handler))
{
    if (wakeUp[0] < 0) {
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeUp);
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            ::sigaction(signal, &action, nullptr);
    }
    m_notifier = new QSocketNotifier(qintptr(wakeUp[1]), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        drain();
        arrive();
    });
    if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, [this] { arrive(); });
}

bool SessionEnd::drain()
{
    bool any = false;
    char bytes[16];
    while (::read(wakeUp[1], bytes, sizeof bytes) > 0)
        any = true;
    return any;
}

bool SessionEnd::arrived()
{
    if (drain())
        m_done = true;
    return m_done;
}

void SessionEnd::arrive()
{
    if (std::exchange(m_done, true))
        return;
    m_handler();
}
