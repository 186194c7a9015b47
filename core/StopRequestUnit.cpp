#include "StopRequestUnit.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void onStopSignal(int signal) {
  if (requested != 0) {
    // Asked twice: the user does not want to wait for the clean-up.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    return;
  }
  requested = signal;
}

}  // namespace

EVexaStopped::EVexaStopped(int signal) : std::runtime_error("Расчёт прерван по запросу пользователя"), Signal(signal) {}

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM}) ::sigaction(signal, &action, nullptr);
}

int StopSignal() { return requested; }

void ThrowIfStopRequested() {
  if (const int signal = requested; signal != 0) throw EVexaStopped(signal);
}

void EndByStopSignal(int signal) {
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  std::_Exit(128 + signal);
}
