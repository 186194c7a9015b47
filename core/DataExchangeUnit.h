// Bidirectional primitives: one call both saves and loads a field, so the saving and
// loading orders of a record cannot drift apart. Stream primitives move a field between
// memory and a binary stream; value primitives between the engine data and a page's copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A little-endian byte stream held in memory. Files are read whole into it and written
// from it in one piece, so a damaged file is detected by the reader (error 1) and a failed
// save never leaves a half-written project behind.
class TVexaStream {
 public:
  // A stream to read from the given bytes.
  explicit TVexaStream(std::vector<std::uint8_t> bytes);
  // An empty stream to write into.
  TVexaStream() = default;

  // Reads a whole regular file (EVexaFileError otherwise, see SafeFileUnit).
  static TVexaStream FromFile(const std::filesystem::path& file);
  // Replaces the file by the bytes once they are completely written (SaveWholeFile).
  void SaveToFile(const std::filesystem::path& file) const;

  // Reads exactly size bytes; a stream that ends early raises error 1.
  void Read(void* target, std::size_t size);
  void Write(const void* source, std::size_t size);

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return bytes_.size() - position_; }
  bool AtEnd() const { return position_ >= bytes_.size(); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Stream primitives (Writing = true writes the field, false reads it).
void StreamDouble(TVexaStream& stream, double& value, bool Writing);
void StreamSmallInt(TVexaStream& stream, std::int16_t& value, bool Writing);
void StreamByte(TVexaStream& stream, std::uint8_t& value, bool Writing);
void StreamByte(TVexaStream& stream, bool& value, bool Writing);
void StreamBlock160(TVexaStream& stream, double (&block)[20], bool Writing);
// Length as a SmallInt, then the characters in code page 1251; the string is UTF-8 in memory.
void StreamString(TVexaStream& stream, std::string& value, bool Writing);

// Integer fields stored as a Double: written as their value, read back rounded to the
// nearest integer. A value outside the field's range raises error 1.
void StreamIntAsDouble(TVexaStream& stream, std::int16_t& value, bool Writing);
void StreamIntAsDouble(TVexaStream& stream, std::uint8_t& value, bool Writing);

// Value primitives (ToEngine = true copies the page field into the engine field).
template <typename T>
void ExchangeValue(T& engineField, T& pageField, bool ToEngine) {
  if (ToEngine)
    engineField = pageField;
  else
    pageField = engineField;
}
inline void ExchangeDouble(double& engine, double& page, bool ToEngine) { ExchangeValue(engine, page, ToEngine); }
inline void ExchangeSmallInt(std::int16_t& engine, std::int16_t& page, bool ToEngine) {
  ExchangeValue(engine, page, ToEngine);
}
inline void ExchangeString(std::string& engine, std::string& page, bool ToEngine) {
  ExchangeValue(engine, page, ToEngine);
}
inline void ExchangeByte(std::uint8_t& engine, std::uint8_t& page, bool ToEngine) {
  ExchangeValue(engine, page, ToEngine);
}
