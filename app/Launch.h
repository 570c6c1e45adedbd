// SPDX-License-Identifier: MIT
#pragma once

#include "CommandLine.h"

// Starting the program once the command line has been read: the answers
// that need no window (help, version, errors), whether there is a display,
// then the directory to run in, one sign per directory, the session's end,
// and the sign itself.
namespace Launch {

// The command line as given, before any application object exists.
QStringList arguments(int argc, char *argv[]);

// Prints what the command line asked for and returns its exit status.
int answer(const CommandLine::Result &result);

// Whether Qt has a display to open: DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM is set and not empty, or -platform or -display is on the
// command line.
// Without one Qt would abort the program.
bool displayAvailable(const CommandLine::Result &result);

// Says on standard error that there is no display; returns the exit status.
int noDisplay();

// Stores the message given on the command line; returns the exit status.
int setMessage(const CommandLine::Result &result);

// Runs the sign (a QApplication exists); returns the exit status.
int run(const CommandLine::Result &result);

} // namespace Launch
