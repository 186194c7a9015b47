// Runs a fuzz target over every file of the given folders, for builds without libFuzzer.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  int files = 0;
  for (int i = 1; i < argc; ++i)
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // Every prefix too: truncated files are the commonest damage.
      for (std::size_t size = 0; size <= bytes.size(); ++size) LLVMFuzzerTestOneInput(bytes.data(), size);
      ++files;
    }
  std::cout << files << " inputs replayed\n";
  return files > 0 ? 0 : 1;
}
