// Starting a child program: exact arguments, its own folder and process group, no inherited
// descriptors, start failures reported, and a child that overstays its limit stopped.
#include "ChildProcessUnit.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <map>
#include <thread>

#include "TestSupport.h"
#include "stubs/FakeWorkingProcess.h"

namespace {

using namespace std::chrono_literals;

const std::filesystem::path FakeProgram = VEXA_FAKE_WORKING_PROCESS;

bool processGone(pid_t pid) { return ::kill(pid, 0) == -1 && errno == ESRCH; }

class ChildProcessTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;

  // The next child's behaviour; the last child's record goes, so that it is never mistaken for
  // the next one's.
  void setMode(const std::string& mode) {
    std::ofstream(dir / "stub-mode") << mode << "\n";
    std::filesystem::remove(dir / "stub-record.txt");
  }

  // What the stand-in recorded about its start, once it has written all of it.
  std::map<std::string, std::string> record(std::chrono::milliseconds patience = 10s) {
    const auto until = std::chrono::steady_clock::now() + patience;
    for (;;) {
      auto entries = ReadStubRecord(dir.Path());
      if (entries.count("speed") || std::chrono::steady_clock::now() > until) return entries;
      std::this_thread::sleep_for(10ms);
    }
  }

  TChildProcess start(const std::vector<std::string>& args = {"fake"}) {
    return TChildProcess::Start(FakeProgram, args, dir.Path());
  }
};

TEST_F(ChildProcessTest, RunsInTheGivenFolderWithExactlyTheGivenArguments) {
  TChildProcess child = start({"/opt/vexa/qinuDefault.qin", "Default.rez", "two words", ""});
  EXPECT_EQ(child.Wait(10s, 10ms), 0);
  EXPECT_FALSE(child.Running());
  auto r = record();
  EXPECT_EQ(r["argc"], "4");
  EXPECT_EQ(r["arg0"], "/opt/vexa/qinuDefault.qin");
  EXPECT_EQ(r["arg1"], "Default.rez");
  EXPECT_EQ(r["arg2"], "two words");
  EXPECT_EQ(r["arg3"], "");
  EXPECT_EQ(std::filesystem::path(r["cwd"]), std::filesystem::canonical(dir.Path()));
  EXPECT_EQ(r["group-leader"], "1");
}

TEST_F(ChildProcessTest, InheritsNoDescriptorsBeyondTheStandardOnes) {
  // Opened without close-on-exec, as a library elsewhere in the program might.
  const int file = ::open("/dev/null", O_RDONLY);
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  ASSERT_GE(file, 0);
  TChildProcess child = start();
  child.Wait(10s, 10ms);
  EXPECT_EQ(record()["extra-fds"], "");
  ::close(file);
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
}

TEST_F(ChildProcessTest, ReportsTheExitCodeOrTheEndingSignal) {
  setMode("exit 7");
  EXPECT_EQ(start().Wait(10s, 10ms), 7);

  setMode("hang");
  TChildProcess child = start();
  const pid_t pid = static_cast<pid_t>(std::stol(record()["pid"]));
  EXPECT_EQ(pid, child.Pid());
  ::kill(pid, SIGTERM);
  EXPECT_EQ(child.Wait(10s, 10ms), 128 + SIGTERM);
}

// ---- Failures ----

TEST_F(ChildProcessTest, ProgramThatCannotBeStartedIsReportedWithItsPath) {
  const auto missing = dir / "no-such-program";
  std::ofstream(dir / "text-file") << "not a program\n";
  ::chmod((dir / "text-file").c_str(), 0644);
  for (const auto& program : {missing, dir / "text-file", dir.Path()}) {
    try {
      TChildProcess::Start(program, {"x"}, dir.Path());
      FAIL() << program;
    } catch (const EChildStartError& e) {
      EXPECT_NE(std::string(e.what()).find(program.string()), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(TChildProcess::Start(FakeProgram, {"x"}, dir / "no-such-folder"), EChildStartError);
}

TEST_F(ChildProcessTest, ChildPastItsLimitIsKilled) {
  setMode("hang");
  TChildProcess child = start();
  const auto began = std::chrono::steady_clock::now();
  EXPECT_THROW(child.Wait(300ms, 20ms), EChildTimeoutError);
  const auto waited = std::chrono::steady_clock::now() - began;
  EXPECT_GE(waited, 300ms);
  EXPECT_LT(waited, 5s);
  EXPECT_FALSE(child.Running());
  const pid_t pid = static_cast<pid_t>(std::stol(record()["pid"]));
  EXPECT_TRUE(processGone(pid));
}

TEST_F(ChildProcessTest, RunningChildIsKilledWhenItsObjectGoes) {
  setMode("hang");
  pid_t pid = -1;
  {
    TChildProcess child = start();
    pid = child.Pid();
    record();  // it really runs
    TChildProcess moved = std::move(child);
    EXPECT_FALSE(child.Running());
    EXPECT_EQ(moved.Pid(), pid);
  }
  EXPECT_TRUE(processGone(pid));  // killed and reaped: not even a zombie
}

}  // namespace
