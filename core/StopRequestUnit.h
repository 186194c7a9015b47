// Stop requests from outside (Ctrl+C, SIGTERM) for the command-line program: the signal only
// raises a flag; the long operations (waiting for a child, the angle loop) look at it and end
// by an exception, so that children are stopped and temporary folders removed on the way out.
#pragma once

#include <stdexcept>

class EVexaStopped : public std::runtime_error {
 public:
  explicit EVexaStopped(int signal);
  int Signal;
};

// SIGINT and SIGTERM raise the flag; a second one ends the program at once.
void InstallStopSignals();
// The signal that asked to stop, 0 when none did.
int StopSignal();
// Raises EVexaStopped when a stop was asked for.
void ThrowIfStopRequested();
// After the clean-up: ends the program by the signal that asked for it, so that the caller
// (a shell, a script) sees the usual status.
[[noreturn]] void EndByStopSignal(int signal);
