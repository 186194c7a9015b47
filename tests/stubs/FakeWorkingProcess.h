// What the stand-in working-process program recorded about its start ("stub-record.txt" in
// its folder: one "key value" per line), for the tests that start it.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

inline std::map<std::string, std::string> ReadStubRecord(const std::filesystem::path& folder) {
  std::ifstream in(folder / "stub-record.txt");
  std::map<std::string, std::string> entries;
  std::string line;
  while (std::getline(in, line)) {
    const auto blank = line.find(' ');
    entries[line.substr(0, blank)] = blank == std::string::npos ? "" : line.substr(blank + 1);
  }
  return entries;
}
