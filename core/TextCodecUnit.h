// Conversion between the program's UTF-8 strings and the code page 1251 bytes
// that its files hold (project names, material names, descriptions).
#pragma once

#include <string>

// Characters without a code page 1251 form become '?'.
std::string Utf8ToCp1251(const std::string& utf8);
// The one undefined byte of code page 1251 (0x98) becomes '?'.
std::string Cp1251ToUtf8(const std::string& cp1251);
