// The diagram of the working-process program read back by the calculation's own reader:
// one cycle on the crank-angle grid with the firing top dead centre at step 0.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "CycleSimulationUnit.h"
#include "IndicatorDiagramUnit.h"
#include "QinuTestSupport.h"

namespace {

namespace fs = std::filesystem;

class QinuEngineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qinu-reader-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the program as the calculation does and reads its diagram with the engine reader.
  void RunAndRead(const qinu::TQinInput& input) {
    qinutest::WriteQinFile(folder_ / "Default.qin", input);
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(folder_.c_str()) != 0) _exit(126);
      const std::string argv0 = std::string(QINU_EXE) + "Default.qin";
      execl(QINU_EXE, argv0.c_str(), "Default.rez", static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ReadIndicatorDiagramFile(folder_ / "Default.dia", grid_, pressure_);
  }

  fs::path folder_;
  TReal1DArray grid_, pressure_;
};

TEST_F(QinuEngineReaderTest, FourStrokeDiagramPutsTheFiringTopDeadCentreAtStepZero) {
  const qinu::TQinInput input = qinutest::RatedExample();
  RunAndRead(input);
  ASSERT_EQ(grid_.size(), 720u);
  EXPECT_DOUBLE_EQ(grid_[0], 0);
  EXPECT_NEAR(grid_[719], 719 * M_PI / 180, 1e-12);
  // The same cycle computed in memory from the same file: step k of the grid is k deg
  // after the firing TDC.
  const qinu::TCycleResult cycle =
      qinu::SimulateCycle(qinu::ReadQinFile((folder_ / "Default.qin").string()));
  for (std::size_t k : {0u, 10u, 120u, 400u, 719u})
    EXPECT_NEAR(pressure_[k], cycle.Diagram[(k + 360) % 720].Pressure / 1e6, 1e-4) << k;
  const auto peak = std::max_element(pressure_.begin(), pressure_.end()) - pressure_.begin();
  EXPECT_GE(peak, 0);
  EXPECT_LT(peak, 20);
}

TEST_F(QinuEngineReaderTest, TwoStrokeDiagramSpansOneRevolution) {
  RunAndRead(qinutest::TwoStrokeExample());
  ASSERT_EQ(grid_.size(), 360u);
  const auto peak = std::max_element(pressure_.begin(), pressure_.end()) - pressure_.begin();
  EXPECT_LT(peak, 20);
}

}  // namespace
