// Conversions between the program's 8-bit text (Windows-1252) and UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// Every byte maps to one character; the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same
// value, so a round trip never loses a byte.
std::string cp1252ToUtf8(std::string_view text);

// Characters without a Windows-1252 byte become '?'; malformed UTF-8 sequences
// become '?' one byte at a time.
std::string utf8ToCp1252(std::string_view text);

// The Unicode code point of one Windows-1252 byte, and back (-1 when unmapped).
char32_t cp1252ToCodePoint(unsigned char byte);
int codePointToCp1252(char32_t codePoint);

// Whether the bytes are UTF-8 throughout: no overlong forms, no surrogates,
// nothing past U+10FFFF.
bool isUtf8(std::string_view text);

// Text that may be either (a page, a profile written by a UTF-8 editor) as
// UTF-8: bytes that are not UTF-8 throughout are read as Windows-1252, what
// such text mostly is.
std::string asUtf8(std::string_view text);

// Lower-case in the code page: A-Z and the code page's other capitals.
unsigned char cp1252ToLower(unsigned char byte);

}  // namespace tarnwick
