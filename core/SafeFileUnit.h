// Reading and saving whole files safely: only regular files are read, and at most a bounded
// size; a save writes a private temporary file beside the target and renames it over the
// target only when it is complete. Plain C++ and POSIX only, so that the working-process
// program uses the same routines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A file that cannot be read or saved. The message is the program's own (Russian), names
// the file and says why.
class EVexaFileError : public std::runtime_error {
 public:
  EVexaFileError(const std::string& message, std::string reason)
      : std::runtime_error(message), Reason(std::move(reason)) {}
  std::string Reason;  // why, without the file's name ("файл или папка не найдены")
};

// Largest file the program reads: projects, diagrams and data are a few kilobytes to a few
// megabytes, so anything bigger is a wrong file, not data.
inline constexpr std::size_t MaxReadFileBytes = 64u << 20;

// Reads a whole regular file. A FIFO, a device or a folder is refused without reading from
// it (a FIFO without a writer or /dev/zero would otherwise block or never end), and so is a
// file larger than the limit.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file, std::size_t limit = MaxReadFileBytes);
std::string ReadWholeTextFile(const std::filesystem::path& file, std::size_t limit = MaxReadFileBytes);

// Replaces the file by the given bytes, or leaves it untouched and raises EVexaFileError.
// A symbolic link keeps pointing to its file, which gets the new contents; the file keeps
// its permissions (a new file gets the usual ones for the user). Refused: a target that
// exists and is not a regular file, a file or folder that the user may not write (read-only
// by its permissions even for the superuser). The temporary file is created exclusively
// with a short name in the target's folder and removed when anything fails; a file-size
// limit is reported as such instead of ending the program.
void SaveWholeFile(const std::filesystem::path& file, const void* data, std::size_t size);

// The same for contents that a writer puts into the temporary file itself (a streamed
// document, a library that writes to a file name): `write` gets the temporary file's path and
// raises an exception when it fails; the target is replaced only after it returns.
void ReplaceFileByWriting(const std::filesystem::path& file,
                          const std::function<void(const std::filesystem::path& temporary)>& write);
inline void SaveWholeFile(const std::filesystem::path& file, const std::string& text) {
  SaveWholeFile(file, text.data(), text.size());
}

