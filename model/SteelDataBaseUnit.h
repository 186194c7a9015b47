// The material database: material records (`TSteelElem`) of shafts and counterweights,
// kept in "DataBase/Steel.table" beside the program and shared by all projects.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "DataExchangeUnit.h"

// Material classes; the class is the curve parameter of the scale-factor graphs.
enum TSteelClass : std::uint8_t { SteelCarbon = 0, SteelAlloy = 1, CastIron = 2 };

// Class names as the program shows them.
extern const char* const SteelClassNames[3];

class TSteelElem {
 public:
  std::string SteelName;
  double SgmV = 0;   // ultimate tensile strength, MPa
  double SgmT = 0;   // yield strength, MPa
  double Tau_1 = 0;  // fatigue limit in torsion, MPa
  double Sgm_1 = 0;  // fatigue limit in bending, MPa
  double Ro = 0;     // density, kg/m³
  double E = 0;      // Young's modulus, MPa
  double Mu = 0;     // Poisson ratio
  std::uint8_t Descriptor = 0;  // TSteelClass

  // A copy of the first record of the program's database, or an empty record without one.
  static TSteelElem Create();

  void Assign(const TSteelElem& other) { *this = other; }
  // Shear modulus E/(2(1 + Mu)), MPa.
  double ShearModulus() const { return E / (2 * (1 + Mu)); }

  // Name (length + code page 1251 bytes), seven Doubles, the class byte: 59 bytes plus the name.
  void Serialize(TVexaStream& stream, bool Writing);

  bool operator==(const TSteelElem&) const = default;
};

using TArrayofTSteelElem = std::vector<TSteelElem>;

class TSteelData {
 public:
  TArrayofTSteelElem Items;

  // Reads the records of a database file one after another up to its end. A damaged file
  // raises error 1; the records read before the damage stay in Items.
  void LoadFromFile(const std::filesystem::path& file);
  // Writes every record in order; the previous file is replaced only after a complete write.
  void SaveToFile(const std::filesystem::path& file) const;

  const TSteelElem& Item(int index) const { return Items.at(static_cast<std::size_t>(index)); }
  TSteelElem& Item(int index) { return Items.at(static_cast<std::size_t>(index)); }
  int HighIndex() const { return static_cast<int>(Items.size()) - 1; }
  // Index of the first record with that name, or −1.
  int IndexOf(const std::string& name) const;
};

// The program's one database, filled at start (see LoadProgramSteelData).
TSteelData& SteelData();

// Relative location of the database below the program directory.
inline const char* const SteelTableName = "DataBase/Steel.table";

// Loads the program's database from the program directory. Returns an empty string on
// success, otherwise a message for the user naming the file; the database is then empty
// (or holds the records read before a damaged part).
std::string LoadProgramSteelData(const std::filesystem::path& programDir);
