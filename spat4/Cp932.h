#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code page 932 (Shift-JIS as Windows has it) one character at a time, beyond ASCII, which
// the callers handle themselves. The C library's iconv (glibc's CP932) does the work on Linux,
// Windows' own code page tables on Windows.
namespace spat4::cp932 {

// The character of one byte (0x80..0xFF) or of a lead byte and a trail byte;
// U+FFFD when the code page has none there.
char32_t toUnicode(std::string_view bytes);

// The one or two bytes of a character outside ASCII; empty when the code page has none.
std::optional<std::string> fromUnicode(char32_t character);

} // namespace spat4::cp932
