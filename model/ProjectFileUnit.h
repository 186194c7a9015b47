// Project files (".vxa"): the engine data of one project in the fixed little-endian layout.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "EngineDataStructUnit.h"

inline const char* const ProjectFileExtension = ".vxa";

// Reads a project file into the data. A damaged file raises error 1 and leaves the fields
// read before the damage in the data; a file that cannot be opened raises std::runtime_error.
void LoadProjectFile(TEngineDataStruct& data, const std::filesystem::path& file);
void LoadProjectBytes(TEngineDataStruct& data, const std::vector<std::uint8_t>& bytes);

// A value that is not a finite number cannot be stored; the message names the field.
class EVexaStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises EVexaStoreError naming the first field (by its program name, with its 1-based index
// in an array) that holds NaN or infinity. The reserved fields are not looked at: they are
// kept as read, whatever they hold.
void RequireStorableValues(const TEngineDataStruct& data);

// Writes the data; the previous file is replaced only once the new one is complete. Values
// that are not finite are refused first (RequireStorableValues) and nothing is written.
void SaveProjectFile(TEngineDataStruct& data, const std::filesystem::path& file);
std::vector<std::uint8_t> ProjectBytes(TEngineDataStruct& data);
