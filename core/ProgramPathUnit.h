// Where the running program lies: its data ("DataBase/...") and the working-process
// program are found relative to this folder.
#pragma once

#include <filesystem>

std::filesystem::path ProgramDirectory();
