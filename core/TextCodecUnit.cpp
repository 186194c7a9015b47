#include "TextCodecUnit.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace {

// Converts with iconv, replacing every unconvertible input character by '?'.
std::string convert(const std::string& input, const char* to, const char* from, bool fromUtf8) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error(std::string("Перекодировка текста ") + from + " -> " + to + " недоступна");
  std::string out;
  out.reserve(input.size() * 2 + 4);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[512];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip one whole input character and put '?' in its place.
    std::size_t skip = 1;
    if (fromUtf8) {
      const auto lead = static_cast<unsigned char>(*in);
      skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      if (skip > inLeft) skip = inLeft;
    }
    in += skip;
    inLeft -= skip;
    out.push_back('?');
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Utf8ToCp1251(const std::string& utf8) { return convert(utf8, "CP1251", "UTF-8", true); }

std::string Cp1251ToUtf8(const std::string& cp1251) { return convert(cp1251, "UTF-8", "CP1251", false); }

namespace {

// Replaces the control characters of a UTF-8 text; keep(c) chooses the C0 ones that stay.
template <typename Keep>
std::string replaceControls(const std::string& utf8, char replacement, Keep keep) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const bool c1 = c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    if (c1) {
      out += replacement;
      ++i;
    } else if ((c < 0x20 || c == 0x7F) && !keep(utf8[i])) {
      out += replacement;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

}  // namespace

std::string TerminalText(const std::string& utf8) {
  std::string text = utf8;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n')
        text.erase(i, 1);
      else
        text[i] = '\n';
    }
  return replaceControls(text, '?', [](char c) { return c == '\n'; });
}

std::string SingleLineText(const std::string& utf8) {
  return replaceControls(utf8, ' ', [](char) { return false; });
}
