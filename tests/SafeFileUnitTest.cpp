// Reading only regular files of bounded size, and saves that replace a file only when the new
// contents are complete, keep links and permissions, and leave nothing behind on failure.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SafeFileUnit.h"
#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

mode_t modeOf(const fs::path& file) {
  struct stat status;
  EXPECT_EQ(::lstat(file.c_str(), &status), 0);
  return status.st_mode & 07777;
}

// Names in the folder, so that a test sees every temporary file left behind.
std::vector<std::string> entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVexaFileError& error) {
    return error.what();
  }
  ADD_FAILURE() << "no EVexaFileError";
  return {};
}

// ---- Special files are refused without being read ----

class SpecialFileTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
};

TEST_F(SpecialFileTest, FifoWithoutWriterIsRefusedAtOnce) {
  const fs::path fifo = dir / "project.vxa";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Opening it for reading would wait for a writer forever.
  const std::string message = messageOf([&] { ReadWholeFile(fifo); });
  EXPECT_NE(message.find("не обычный файл"), std::string::npos) << message;
  EXPECT_NE(message.find(fifo.string()), std::string::npos);
}

TEST_F(SpecialFileTest, EndlessDeviceIsRefused) {
  const std::string message = messageOf([] { ReadWholeFile("/dev/zero"); });
  EXPECT_NE(message.find("не обычный файл"), std::string::npos) << message;
}

TEST_F(SpecialFileTest, FolderIsRefusedInTheProgramsWords) {
  const std::string message = messageOf([&] { ReadWholeFile(dir.Path()); });
  EXPECT_NE(message.find("это папка"), std::string::npos) << message;
  EXPECT_EQ(message.find("filesystem"), std::string::npos);
}

TEST_F(SpecialFileTest, FileAboveTheLimitIsRefused) {
  // A sparse file just above 64 MB takes no disk space.
  const fs::path big = dir / "big.dia";
  std::ofstream(big).put('x');
  fs::resize_file(big, MaxReadFileBytes + 1);
  EXPECT_NE(messageOf([&] { ReadWholeFile(big); }).find("слишком велик"), std::string::npos);
  fs::resize_file(big, 1000);
  EXPECT_EQ(ReadWholeFile(big).size(), 1000u);
  EXPECT_THROW(ReadWholeFile(big, 999), EVexaFileError);
}

TEST_F(SpecialFileTest, MissingFileNamesTheReason) {
  EXPECT_NE(messageOf([&] { ReadWholeFile(dir / "absent.vxa"); }).find("не найдены"), std::string::npos);
}

// ---- Saves ----

class SaveTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  fs::path target = dir / "project.vxa";

  void put(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
};

TEST_F(SaveTest, NewFileGetsTheUsualPermissions) {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  SaveWholeFile(target, "new");
  EXPECT_EQ(fileText(target), "new");
  EXPECT_EQ(modeOf(target), 0666 & ~mask);
  EXPECT_EQ(entries(dir.Path()), std::vector<std::string>{"project.vxa"});
}

TEST_F(SaveTest, FileSizeLimitIsReportedAndLeavesTheOldFileAndNoTemporary) {
  put(target, "old contents");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Without SIGXFSZ ignored the child would die silently at the limit.
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      SaveWholeFile(target, std::string(100000, 'x'));
    } catch (const EVexaFileError& error) {
      _exit(std::string(error.what()).find("превышен допустимый размер файла") != std::string::npos ? 0 : 3);
    }
    _exit(4);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the save was ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(fileText(target), "old contents");
  EXPECT_EQ(entries(dir.Path()), std::vector<std::string>{"project.vxa"});
}

TEST_F(SaveTest, ReadOnlyFolderIsRefusedAlsoForTheSuperuser) {
  const fs::path folder = dir / "locked";
  fs::create_directory(folder);
  put(folder / "project.vxa", "old");
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const std::string message = messageOf([&] { SaveWholeFile(folder / "project.vxa", "new"); });
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_NE(message.find("защищена от записи"), std::string::npos) << message;
  EXPECT_EQ(fileText(folder / "project.vxa"), "old");
  EXPECT_EQ(entries(folder), std::vector<std::string>{"project.vxa"});
}

TEST_F(SaveTest, PrivateFileStaysPrivate) {
  put(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  SaveWholeFile(target, "new");
  EXPECT_EQ(fileText(target), "new");
  EXPECT_EQ(modeOf(target), 0600u);
}

TEST_F(SaveTest, ReadOnlyFileIsNotReplaced) {
  put(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string message = messageOf([&] { SaveWholeFile(target, "new"); });
  EXPECT_NE(message.find("защищён от записи"), std::string::npos) << message;
  EXPECT_EQ(fileText(target), "old");
  EXPECT_EQ(modeOf(target), 0444u);
}

TEST_F(SaveTest, LinkKeepsPointingToItsFileWhichGetsTheNewContents) {
  fs::create_directory(dir / "real");
  put(dir / "real" / "engine.vxa", "old");
  fs::create_symlink("real/engine.vxa", target);
  SaveWholeFile(target, "new");
  EXPECT_TRUE(fs::is_symlink(target));
  EXPECT_EQ(fileText(dir / "real" / "engine.vxa"), "new");
  EXPECT_EQ(entries(dir / "real"), std::vector<std::string>{"engine.vxa"});
}

TEST_F(SaveTest, SomethingElseThanARegularFileIsNotReplaced) {
  const fs::path fifo = dir / "pipe.vxa";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("pipe.vxa", target);
  for (const fs::path& name : {fifo, target}) {
    const std::string message = messageOf([&] { SaveWholeFile(name, "new"); });
    EXPECT_NE(message.find("не обычный файл"), std::string::npos) << message;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_NE(messageOf([&] { SaveWholeFile(dir.Path(), "new"); }).find("не обычный файл"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir.Path()));
}

TEST_F(SaveTest, LinkPlantedAtATemporaryNameIsNeverFollowed) {
  // The names a save used to write to: the target with ".tmp<pid>" appended.
  put(dir / "victim", "precious");
  fs::create_symlink(dir / "victim", dir / ("project.vxa.tmp" + std::to_string(::getpid())));
  SaveWholeFile(target, "new");
  EXPECT_EQ(fileText(dir / "victim"), "precious");
  EXPECT_EQ(fileText(target), "new");
}

TEST_F(SaveTest, NameOfTheLongestLengthSaves) {
  const fs::path longest = dir / (std::string(251, 'n') + ".vxa");  // 255 bytes
  SaveWholeFile(longest, "data");
  EXPECT_EQ(fileText(longest), "data");
  EXPECT_EQ(entries(dir.Path()).size(), 1u);
}

}  // namespace
