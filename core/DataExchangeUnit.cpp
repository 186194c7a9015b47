#include "DataExchangeUnit.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <system_error>

#include "EVexaErrorUnit.h"
#include "MessageTextUnit.h"
#include "SafeFileUnit.h"
#include "TextCodecUnit.h"

static_assert(std::endian::native == std::endian::little, "the file formats are little-endian");

TVexaStream::TVexaStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

TVexaStream TVexaStream::FromFile(const std::filesystem::path& file) { return TVexaStream(ReadWholeFile(file)); }

void TVexaStream::SaveToFile(const std::filesystem::path& file) const {
  SaveWholeFile(file, bytes_.data(), bytes_.size());
}

void TVexaStream::Read(void* target, std::size_t size) {
  if (size > Remaining()) {
    position_ = bytes_.size();
    throw TEVexaError(ErrBadDataFile);
  }
  std::memcpy(target, bytes_.data() + position_, size);
  position_ += size;
}

void TVexaStream::Write(const void* source, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(source);
  bytes_.insert(bytes_.end(), p, p + size);
  position_ = bytes_.size();
}

namespace {

template <typename T>
void streamRaw(TVexaStream& stream, T& value, bool Writing) {
  if (Writing)
    stream.Write(&value, sizeof value);
  else
    stream.Read(&value, sizeof value);
}

}  // namespace

void StreamDouble(TVexaStream& stream, double& value, bool Writing) { streamRaw(stream, value, Writing); }
void StreamSmallInt(TVexaStream& stream, std::int16_t& value, bool Writing) { streamRaw(stream, value, Writing); }
void StreamByte(TVexaStream& stream, std::uint8_t& value, bool Writing) { streamRaw(stream, value, Writing); }

void StreamByte(TVexaStream& stream, bool& value, bool Writing) {
  std::uint8_t byte = value ? 1 : 0;
  StreamByte(stream, byte, Writing);
  if (!Writing) value = byte != 0;
}

void StreamBlock160(TVexaStream& stream, double (&block)[20], bool Writing) {
  streamRaw(stream, block, Writing);
}

void StreamString(TVexaStream& stream, std::string& value, bool Writing) {
  if (Writing) {
    const std::string bytes = Utf8ToCp1251(value);
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
      throw std::length_error("Текст из " + std::to_string(bytes.size()) +
                              " символов слишком длинен для файла (не более 32767)");
    auto length = static_cast<std::int16_t>(bytes.size());
    StreamSmallInt(stream, length, true);
    stream.Write(bytes.data(), bytes.size());
    return;
  }
  std::int16_t length = 0;
  StreamSmallInt(stream, length, false);
  if (length <= 0) {
    value.clear();
    return;
  }
  std::string bytes(static_cast<std::size_t>(length), '\0');
  stream.Read(bytes.data(), bytes.size());
  value = Cp1251ToUtf8(bytes);
}

namespace {

template <typename Int>
void streamIntAsDouble(TVexaStream& stream, Int& value, bool Writing) {
  double stored = static_cast<double>(value);
  StreamDouble(stream, stored, Writing);
  if (Writing) return;
  const double rounded = std::nearbyint(stored);
  if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
    throw TEVexaError(ErrBadDataFile);
  value = static_cast<Int>(rounded);
}

}  // namespace

void StreamIntAsDouble(TVexaStream& stream, std::int16_t& value, bool Writing) {
  streamIntAsDouble(stream, value, Writing);
}
void StreamIntAsDouble(TVexaStream& stream, std::uint8_t& value, bool Writing) {
  streamIntAsDouble(stream, value, Writing);
}
