// SPDX-License-Identifier: MIT
#pragma once

#include "CommandLine.h"

// Starting the program once the command line has been read: the answers
// that need no window (help, version, errors), then the directory to run in,
// the session's end, and the sign itself.
namespace Launch {

// The command line as given, before any application object exists.
QStringList arguments(int argc, char *argv[]);

// Prints what the command line asked for and returns its exit status.
int answer(const CommandLine::Result &result);

// Stores the message given on the command line; returns the exit status.
int setMessage(const CommandLine::Result &result);

// Runs the sign (a QApplication exists); returns the exit status.
int run(const CommandLine::Result &result);

} // namespace Launch
