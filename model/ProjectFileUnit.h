// Project files (".vxa"): the engine data of one project in the fixed little-endian layout.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "EngineDataStructUnit.h"

inline const char* const ProjectFileExtension = ".vxa";

// Reads a project file into the data. A damaged file raises error 1 and leaves the fields
// read before the damage in the data; a file that cannot be opened raises std::runtime_error.
void LoadProjectFile(TEngineDataStruct& data, const std::filesystem::path& file);
void LoadProjectBytes(TEngineDataStruct& data, const std::vector<std::uint8_t>& bytes);

// Writes the data; the previous file is replaced only once the new one is complete.
void SaveProjectFile(TEngineDataStruct& data, const std::filesystem::path& file);
std::vector<std::uint8_t> ProjectBytes(TEngineDataStruct& data);
