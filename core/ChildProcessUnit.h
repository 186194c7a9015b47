// Starting a helper program (the working-process program) as a child process in a given
// folder and waiting for it with a time limit.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// The program could not be started (missing, not executable, folder not usable, no
// resources). The message names the program and the reason.
class EChildStartError : public std::runtime_error {
 public:
  EChildStartError(const std::string& message, int error) : std::runtime_error(message), Error(error) {}
  int Error;  // the system error number
};

// The child did not end within the wait limit; it has been killed and reaped.
class EChildTimeoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One child process. It is started without a shell, in its own process group, with the
// caller's environment, default signal handling, the working directory given, and no open
// descriptors beyond standard input, output and error. A child still running when the object
// goes is killed (with its process group) and reaped, so no zombie and no orphan stays behind.
class TChildProcess {
 public:
  // args[0] is what the child sees as its own name; it need not be the program's path.
  static TChildProcess Start(const std::filesystem::path& program, const std::vector<std::string>& args,
                             const std::filesystem::path& workingDirectory);

  TChildProcess(TChildProcess&& other) noexcept;
  TChildProcess& operator=(TChildProcess&& other) noexcept;
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;
  ~TChildProcess();

  // Waits until the child ends, checking it every pollInterval. Returns its exit code, or
  // 128 + the signal number when a signal ended it. When the limit passes first, the child
  // and its process group are killed and EChildTimeoutError is raised. A stop request
  // (StopRequestUnit) kills the child the same way and raises EVexaStopped.
  int Wait(std::chrono::milliseconds limit, std::chrono::milliseconds pollInterval);
  // The signal that ended the child, 0 when it exited by itself.
  int TerminatingSignal() const { return signal_; }

  pid_t Pid() const { return pid_; }
  bool Running() const { return pid_ > 0; }

 private:
  explicit TChildProcess(pid_t pid, std::filesystem::path program) : pid_(pid), program_(std::move(program)) {}
  // Whether the child has ended (and is reaped); its status goes to exitCode.
  bool poll(int& exitCode);
  void killAndReap();

  pid_t pid_ = -1;
  int signal_ = 0;
  std::filesystem::path program_;
};
