// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>

namespace runtime {

// Thrown by End() to leave the handler that called it at once. Every event
// handler runs through dispatch(), which catches it; nothing else should.
struct ProgramEnded
{
};

// Stops the program: no further handler runs, every window disappears, the
// event loop is asked to finish, and the calling handler is left at once.
[[noreturn]] void End();

// True once End() has run (or an untrapped error ended the program).
bool hasEnded();

// Runs one event handler. Does nothing after End(); a handler that ends the
// program is left silently; an untrapped error is logged and ends the program
// with status 1, as an unhandled run-time error would.
void dispatch(const std::function<void()> &handler);

// Connects a signal to a designed event handler, which then runs through
// dispatch() like every other handler.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection onEvent(const Sender *sender, Signal signal, const QObject *context,
                                Handler handler)
{
    return QObject::connect(sender, signal, context, [handler] { dispatch(handler); });
}

// For tests: whether End() also quits the application's event loop (default
// true), and a way to start again after an observed End().
void setQuitOnEnd(bool quit);
void resetEndForTesting();

} // namespace runtime
