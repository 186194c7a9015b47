#include "ProjectFileUnit.h"

void LoadProjectBytes(TEngineDataStruct& data, const std::vector<std::uint8_t>& bytes) {
  TVexaStream stream(bytes);
  data.Serialize(stream, false);
}

void LoadProjectFile(TEngineDataStruct& data, const std::filesystem::path& file) {
  TVexaStream stream = TVexaStream::FromFile(file);
  data.Serialize(stream, false);
}

std::vector<std::uint8_t> ProjectBytes(TEngineDataStruct& data) {
  TVexaStream stream;
  data.Serialize(stream, true);
  return stream.Bytes();
}

void SaveProjectFile(TEngineDataStruct& data, const std::filesystem::path& file) {
  TVexaStream stream;
  data.Serialize(stream, true);
  stream.SaveToFile(file);
}
