// Stand-in for the working-process program in the tests. It records how it was started
// (arguments, folder, process group, open descriptors, whether an old diagram was present)
// in "stub-record.txt" of its folder and then does what the file "stub-mode" there asks:
//   (absent) or "diagram"  write Default.dia (peak pressure = speed of Default.qin / 1000 MPa)
//                          and Default.rez
//   "slow"                 the same after 300 ms
//   "no-diagram"           end without a diagram
//   "hang"                 never end
//   "exit <code>"          end at once with that exit code
//   "fail <code>"          write Default.dia and a report, then end with that exit code
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Speed in line 4, fifth number, of the working-process input; 0 when missing.
double inputSpeed() {
  std::ifstream in("Default.qin");
  std::string line;
  for (int i = 0; i < 4 && std::getline(in, line); ++i) {
  }
  std::istringstream values(line);
  double v[5] = {};
  for (double& x : v) values >> x;
  return values ? v[4] : 0.0;
}

void writeDiagram(double speedRpm) {
  std::ofstream out("Default.dia");
  out << "   FI         V            P        T         X        DX\n";
  for (int a = 0; a <= 720; ++a) {
    const double p = 0.1 + speedRpm / 1000.0 * std::exp(-std::pow((a - 370.0) / 25.0, 2));
    char line[128];
    std::snprintf(line, sizeof line, "%8d%16.6f%8.4f%10.2f%10.5f%10.5f%10.5f", a, 0.001, p, 700.0, 0.5, 0.01, 0.0);
    out << line << "\n";
  }
  std::ofstream("Default.rez") << "stand-in report\n";
}

}  // namespace

int main(int argc, char** argv) {
  // Descriptors are looked at before this program opens any of its own.
  std::vector<int> extraFds;
  for (int fd = 3; fd < 1024; ++fd)
    if (fcntl(fd, F_GETFD) != -1) extraFds.push_back(fd);

  std::string mode;
  int exitCode = 0;
  {
    std::ifstream modeFile("stub-mode");
    modeFile >> mode >> exitCode;
  }
  const bool staleDiagram = access("Default.dia", F_OK) == 0;
  char cwd[4096] = {};
  if (!getcwd(cwd, sizeof cwd)) return 90;

  {
    std::ofstream record("stub-record.txt");
    record << "argc " << argc << "\n";
    for (int i = 0; i < argc; ++i) record << "arg" << i << " " << argv[i] << "\n";
    record << "cwd " << cwd << "\n";
    record << "pid " << getpid() << "\n";
    record << "group-leader " << (getpgrp() == getpid()) << "\n";
    record << "extra-fds";
    for (int fd : extraFds) record << " " << fd;
    record << "\n";
    record << "stale-diagram " << staleDiagram << "\n";
    record << "speed " << inputSpeed() << "\n";
  }

  if (mode == "hang")
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(60));
  if (mode == "exit") return exitCode;
  if (mode == "fail") {
    writeDiagram(inputSpeed());
    std::ofstream("Default.rez") << "stand-in report\n\nthe data are refused: line 1\nand line 2\n";
    return exitCode;
  }
  if (mode == "no-diagram") return 0;
  if (mode == "slow") std::this_thread::sleep_for(std::chrono::milliseconds(300));
  writeDiagram(inputSpeed());
  return 0;
}
