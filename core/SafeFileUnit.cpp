#include "SafeFileUnit.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <utility>

#include "MessageTextUnit.h"

namespace {

std::string quoted(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

[[noreturn]] void failRead(const std::filesystem::path& file, const std::string& why) {
  throw EVexaFileError("Не удаётся открыть файл " + quoted(file) + ": " + why, why);
}

[[noreturn]] void failOpen(const std::filesystem::path& file, int error) { failRead(file, SystemErrorText(error)); }

[[noreturn]] void failSave(const std::filesystem::path& file, const std::string& why) {
  throw EVexaFileError("Не удаётся сохранить файл " + quoted(file) + ": " + why, why);
}

std::string megabytes(std::size_t bytes) { return std::to_string(bytes >> 20) + " МБ"; }

// Closes a descriptor when it goes out of scope.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now and reports the error a late write may have left (NFS, quotas).
  int Close() { return ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno; }

 private:
  int fd_;
};

// The superuser passes every permission check, so for it the file's mode decides: a file
// or folder without any write permission stays unchanged for everybody.
bool mayWrite(const std::filesystem::path& path, const struct stat& status) {
  if (::access(path.c_str(), W_OK) != 0) return false;
  return ::geteuid() != 0 || (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// The file a chain of symbolic links leads to (the name itself when it is no link or does
// not exist yet), so that a save replaces the linked file and keeps the link.
std::filesystem::path followLinks(const std::filesystem::path& file) {
  std::filesystem::path current = file;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status;
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    std::error_code ec;
    const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
    if (ec) failSave(file, SystemErrorText(ec.value()));
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  failSave(file, SystemErrorText(ELOOP));
}

// A write beyond the file-size limit raises SIGXFSZ, which ends the program silently by
// default; ignored, the write fails with EFBIG and is reported.
void ignoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] { ::signal(SIGXFSZ, SIG_IGN); });
}

mode_t newFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file, std::size_t limit) {
  // Non-blocking, so that opening a FIFO without a writer returns at once and is refused below.
  TDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.Get() < 0) failOpen(file, errno);
  struct stat status;
  if (::fstat(fd.Get(), &status) != 0) failOpen(file, errno);
  if (S_ISDIR(status.st_mode)) failOpen(file, EISDIR);
  if (!S_ISREG(status.st_mode)) failRead(file, "это не обычный файл, а канал, устройство или сокет");
  const auto tooBig = [&] { failRead(file, "файл слишком велик (допускается не более " + megabytes(limit) + ")"); };
  if (static_cast<std::uint64_t>(status.st_size) > limit) tooBig();

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
  std::size_t filled = 0;
  for (;;) {
    // The file may have grown since fstat: read on until its end, within the limit.
    if (filled == bytes.size()) bytes.resize(std::min(limit + 1, bytes.size() + 65536));
    const ssize_t got = ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) failOpen(file, errno);
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
    if (filled > limit) tooBig();
  }
  bytes.resize(filled);
  return bytes;
}

std::string ReadWholeTextFile(const std::filesystem::path& file, std::size_t limit) {
  const std::vector<std::uint8_t> bytes = ReadWholeFile(file, limit);
  return std::string(bytes.begin(), bytes.end());
}

void ReplaceFileByWriting(const std::filesystem::path& file,
                          const std::function<void(const std::filesystem::path& temporary)>& write) {
  ignoreFileSizeSignal();
  if (file.empty() || !file.has_filename()) failSave(file, "не задано имя файла");
  const std::filesystem::path target = followLinks(file);

  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) failSave(file, SystemErrorText(errno));
  if (exists && !S_ISREG(old.st_mode))
    failSave(file, "это не обычный файл (папка, устройство или канал); заменять его нельзя");
  if (exists && !mayWrite(target, old)) failSave(file, "файл защищён от записи");

  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  struct stat folderStatus;
  if (::stat(folder.c_str(), &folderStatus) != 0) failSave(file, SystemErrorText(errno));
  if (!S_ISDIR(folderStatus.st_mode)) failSave(file, SystemErrorText(ENOTDIR));
  if (!mayWrite(folder, folderStatus)) failSave(file, "папка " + quoted(folder) + " защищена от записи");

  // A short name, whatever the target's length; created exclusively, never through a link.
  std::string temporary = (folder / ".vexa-XXXXXX").string();
  {
    TDescriptor created(::mkostemp(temporary.data(), O_CLOEXEC));
    if (created.Get() < 0) failSave(file, SystemErrorText(errno));
  }
  try {
    write(temporary);
    // The contents, the mode and the owner are settled on the file itself (never through a
    // link planted at its name) and reach the disk before the rename makes it the target.
    TDescriptor fd(::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.Get() < 0) failSave(file, SystemErrorText(errno));
    if (exists) {
      // The superuser saving another user's file gives it back to its owner.
      if (::geteuid() == 0 && ::fchown(fd.Get(), old.st_uid, old.st_gid) != 0) failSave(file, SystemErrorText(errno));
      if (::fchmod(fd.Get(), old.st_mode & 07777) != 0) failSave(file, SystemErrorText(errno));
    } else if (::fchmod(fd.Get(), newFileMode()) != 0) {
      failSave(file, SystemErrorText(errno));
    }
    if (::fsync(fd.Get()) != 0) failSave(file, SystemErrorText(errno));
    if (const int error = fd.Close(); error != 0) failSave(file, SystemErrorText(error));
    if (::rename(temporary.c_str(), target.c_str()) != 0) failSave(file, SystemErrorText(errno));
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
}

void SaveWholeFile(const std::filesystem::path& file, const void* data, std::size_t size) {
  ReplaceFileByWriting(file, [&](const std::filesystem::path& temporary) {
    TDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC));
    if (fd.Get() < 0) failSave(file, SystemErrorText(errno));
    const auto* bytes = static_cast<const char*>(data);
    for (std::size_t written = 0; written < size;) {
      const ssize_t put = ::write(fd.Get(), bytes + written, size - written);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) failSave(file, SystemErrorText(errno));
      written += static_cast<std::size_t>(put);
    }
    if (const int error = fd.Close(); error != 0) failSave(file, SystemErrorText(error));
  });
}
