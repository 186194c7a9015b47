#include "ChildProcessUnit.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>

#include "MessageTextUnit.h"
#include "NumberFormatUnit.h"
#include "StopRequestUnit.h"

#if !defined(__GLIBC__) || __GLIBC__ < 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ < 34)
#error "Starting a child needs posix_spawn_file_actions_addchdir_np and _addclosefrom_np (glibc 2.34 or later)"
#endif

extern char** environ;

namespace {

std::string reason(int error) { return SystemErrorText(error); }

// Owners of the spawn attributes, so that every path releases them.
struct SpawnActions {
  posix_spawn_file_actions_t value;
  SpawnActions() { posix_spawn_file_actions_init(&value); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&value); }
};

struct SpawnAttributes {
  posix_spawnattr_t value;
  SpawnAttributes() { posix_spawnattr_init(&value); }
  ~SpawnAttributes() { posix_spawnattr_destroy(&value); }
};

}  // namespace

TChildProcess TChildProcess::Start(const std::filesystem::path& program, const std::vector<std::string>& args,
                                   const std::filesystem::path& workingDirectory) {
  // The child changes its folder before the program is loaded: a relative program path
  // means relative to the caller's folder, so it is made absolute here.
  const std::filesystem::path executable = std::filesystem::absolute(program);
  auto fail = [&](int error) -> EChildStartError {
    return EChildStartError("Не удаётся запустить \"" + executable.string() + "\" в папке \"" +
                                workingDirectory.string() + "\": " + reason(error),
                            error);
  };

  SpawnActions actions;
  int rc = posix_spawn_file_actions_addchdir_np(&actions.value, workingDirectory.c_str());
  // Descriptors the caller opened without close-on-exec (or that another thread opens right
  // now) never reach the child.
  if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&actions.value, STDERR_FILENO + 1);
  if (rc != 0) throw fail(rc);

  SpawnAttributes attributes;
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes.value, &all);
  posix_spawnattr_setsigmask(&attributes.value, &none);
  // Its own process group: a child that has to be stopped is stopped with all it started.
  posix_spawnattr_setpgroup(&attributes.value, 0);
  rc = posix_spawnattr_setflags(&attributes.value,
                                POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  if (rc != 0) throw fail(rc);

  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  pid_t pid = -1;
  // The program is loaded in the child before this returns, so a missing or non-executable
  // program and an unusable folder are reported here.
  rc = posix_spawn(&pid, executable.c_str(), &actions.value, &attributes.value, argv.data(), environ);
  if (rc != 0) throw fail(rc);
  return TChildProcess(pid, executable);
}

TChildProcess::TChildProcess(TChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), signal_(other.signal_), program_(std::move(other.program_)) {}

TChildProcess& TChildProcess::operator=(TChildProcess&& other) noexcept {
  if (this != &other) {
    if (Running()) killAndReap();
    pid_ = std::exchange(other.pid_, -1);
    signal_ = other.signal_;
    program_ = std::move(other.program_);
  }
  return *this;
}

TChildProcess::~TChildProcess() {
  if (Running()) killAndReap();
}

bool TChildProcess::poll(int& exitCode) {
  int status = 0;
  pid_t rc;
  do rc = ::waitpid(pid_, &status, WNOHANG);
  while (rc < 0 && errno == EINTR);
  if (rc == 0) return false;
  pid_ = -1;
  if (rc < 0) {
    // Reaped elsewhere (children ignored with SIGCHLD): it has ended, its status is lost.
    exitCode = -1;
  } else if (WIFEXITED(status)) {
    exitCode = WEXITSTATUS(status);
  } else {
    signal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    exitCode = 128 + signal_;
  }
  return true;
}

void TChildProcess::killAndReap() {
  ::kill(-pid_, SIGKILL);
  ::kill(pid_, SIGKILL);  // in case it left its group
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

int TChildProcess::Wait(std::chrono::milliseconds limit, std::chrono::milliseconds pollInterval) {
  if (!Running()) throw std::logic_error("No running child to wait for");
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + limit;
  const auto interval = std::max(pollInterval, std::chrono::milliseconds(1));
  int exitCode = 0;
  for (;;) {
    if (poll(exitCode)) return exitCode;
    if (const int stop = StopSignal(); stop != 0) {
      killAndReap();
      throw EVexaStopped(stop);
    }
    const auto now = Clock::now();
    if (now >= deadline) {
      killAndReap();
      throw EChildTimeoutError("Программа \"" + program_.string() + "\" не завершилась за " +
                               FormatGeneral(static_cast<double>(limit.count()) / 1000.0) +
                               " с и была остановлена");
    }
    std::this_thread::sleep_for(std::min<Clock::duration>(interval, deadline - now));
  }
}
