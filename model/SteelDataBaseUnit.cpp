#include "SteelDataBaseUnit.h"

#include <exception>

#include "EVexaErrorUnit.h"

const char* const SteelClassNames[3] = {"Углерод. сталь", "Легир. сталь", "Чугун"};

TSteelElem TSteelElem::Create() {
  const TSteelData& database = SteelData();
  return database.Items.empty() ? TSteelElem{} : database.Items.front();
}

void TSteelElem::Serialize(TVexaStream& stream, bool Writing) {
  StreamString(stream, SteelName, Writing);
  for (double* value : {&SgmV, &SgmT, &Tau_1, &Sgm_1, &Ro, &E, &Mu}) StreamDouble(stream, *value, Writing);
  StreamByte(stream, Descriptor, Writing);
}

void TSteelData::LoadFromFile(const std::filesystem::path& file) {
  TVexaStream stream = TVexaStream::FromFile(file);
  while (!stream.AtEnd()) {
    TSteelElem record;
    record.Serialize(stream, false);
    Items.push_back(record);
  }
}

void TSteelData::SaveToFile(const std::filesystem::path& file) const {
  TVexaStream stream;
  for (TSteelElem record : Items) record.Serialize(stream, true);
  stream.SaveToFile(file);
}

int TSteelData::IndexOf(const std::string& name) const {
  for (std::size_t i = 0; i < Items.size(); ++i)
    if (Items[i].SteelName == name) return static_cast<int>(i);
  return -1;
}

TSteelData& SteelData() {
  static TSteelData database;
  return database;
}

std::string LoadProgramSteelData(const std::filesystem::path& programDir) {
  const std::filesystem::path file = programDir / SteelTableName;
  SteelData().Items.clear();
  try {
    SteelData().LoadFromFile(file);
  } catch (const TEVexaError& error) {
    return "Материалы: файл \"" + file.string() + "\" повреждён (" + error.Text + ")";
  } catch (const std::exception&) {
    return "Материалы: не удаётся прочитать файл \"" + file.string() + "\"; база данных материалов пуста";
  }
  return {};
}
