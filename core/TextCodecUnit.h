// Conversion between the program's UTF-8 strings and the code page 1251 bytes
// that its files hold (project names, material names, descriptions).
#pragma once

#include <string>

// Characters without a code page 1251 form become '?'.
std::string Utf8ToCp1251(const std::string& utf8);
// The one undefined byte of code page 1251 (0x98) becomes '?'.
std::string Cp1251ToUtf8(const std::string& cp1251);

// Text from files (project, material and file names) made safe for one place of output.
// Control characters are the C0 set, DEL and the C1 set (U+0080 … U+009F in UTF-8).
// For a terminal: every control character but the line break becomes '?' (escape sequences
// could recolour or rewrite the screen); a carriage return becomes a line break.
std::string TerminalText(const std::string& utf8);
// For a one-line field of a text file: every control character becomes a blank, so that the
// text never starts a line of its own.
std::string SingleLineText(const std::string& utf8);
