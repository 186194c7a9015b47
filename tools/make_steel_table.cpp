// Builds the material database "Steel.table" from its reviewed text source
// (data/materials.tsv), with the program's own record writer.
#include <fstream>
#include <iostream>
#include <sstream>

#include "NumberFormatUnit.h"
#include "SteelDataBaseUnit.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_steel_table SOURCE.tsv TARGET.table\n";
    return 2;
  }
  std::ifstream source(argv[1]);
  if (!source) {
    std::cerr << "make_steel_table: cannot read " << argv[1] << "\n";
    return 1;
  }
  TSteelData database;
  std::string line;
  int lineNumber = 0;
  try {
    while (std::getline(source, line)) {
      ++lineNumber;
      if (line.empty() || line[0] == '#') continue;
      std::vector<std::string> cells;
      std::stringstream row(line);
      for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
      if (cells.size() != 9) throw std::runtime_error("expected 9 tab-separated columns");
      TSteelElem record;
      record.SteelName = cells[0];
      double* values[] = {&record.SgmV, &record.SgmT, &record.Tau_1, &record.Sgm_1,
                          &record.Ro,   &record.E,    &record.Mu};
      for (int i = 0; i < 7; ++i) *values[i] = ParseDouble(cells[static_cast<std::size_t>(i) + 1]);
      const int materialClass = ParseInteger(cells[8]);
      if (materialClass < 0 || materialClass > 2) throw std::runtime_error("class must be 0, 1 or 2");
      record.Descriptor = static_cast<std::uint8_t>(materialClass);
      database.Items.push_back(record);
    }
    database.SaveToFile(argv[2]);
  } catch (const std::exception& error) {
    std::cerr << argv[1] << ":" << lineNumber << ": " << error.what() << "\n";
    return 1;
  }
  return 0;
}
