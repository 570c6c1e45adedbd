// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's command line, read before any window (or display) exists:
// --help and --version answer and end, -C/--directory DIR runs as if started
// in DIR, --user runs in the user's own directory (seeded on first use),
// --set-message TEXT stores a message for the sign there and ends. Qt's
// own options (-platform, -display, …) are left for QApplication. It changes
// nothing itself: the caller acts on the result.
class CommandLine
{
public:
    // What to do: run, or end at once with `exitStatus` after printing `output`
    // on standard output (help, version) or `error` on standard error.
    struct Result
    {
        std::optional<int> exitStatus;
        QString output;
        QString error;
        QString directory; // empty: stay where started
        bool user = false;
        // --set-message: store this message and end, opening no window.
        std::optional<QString> message;
        // Qt's -platform or -display names the display to open.
        bool platformChosen = false;
    };

    static Result parse(const QStringList &arguments);
};
