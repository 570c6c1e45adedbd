// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// The end of the user's session, seen as SIGTERM, SIGINT or SIGHUP, or as the
// session manager asking the program to save its data. The handler runs once,
// from the event loop (never inside a signal handler); later signals change
// nothing, so they cannot cut that handler short.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnd(std::function<void()> handler, QObject *parent = nullptr);

    // Whether the end has come already, though the event loop has not run
    // the handler yet; true means the handler will not run.
    bool arrived();

private:
    void arrive();
    bool drain();

    std::function<void()> m_handler;
    QSocketNotifier *m_notifier;
    bool m_done = false;
};
