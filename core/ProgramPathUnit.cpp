#include "ProgramPathUnit.h"

#include <system_error>

std::filesystem::path ProgramDirectory() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path();
  return self.parent_path();
}
