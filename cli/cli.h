// The command-line front end: the text operations for scripts and pipes.
// It runs on QCoreApplication and never needs a display.
#pragma once

namespace tf::cli {

// True when the arguments name a command (or ask for help or the version),
// so that the program should run the command line instead of the window.
bool WantsCommandLine(int argc, char** argv);

// Runs the command line; returns the exit status: 0 on success, 1 when an
// input file cannot be read, 2 on a usage error.
int Run(int argc, char** argv);

// The usage text printed by --help.
const char* Usage();

}  // namespace tf::cli
