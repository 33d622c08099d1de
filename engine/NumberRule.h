#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// How a text becomes a number, for typed fields and SPAT4 file fields alike.
// Blanks, tabs and line feeds anywhere are ignored; then an optional sign, digits with at most
// one "." and an optional exponent (E or e, optional sign, digits), or &H / &O followed by
// hexadecimal / octal digits. Reading stops at the first character that cannot continue the
// number; a text that yields no number reads as 0. The text is UTF-8: any non-ASCII character
// simply stops the reading. A value too large for a double reads as +/- infinity, never NaN.
double numberOf(std::string_view text);

// Whether the rule finds a number in the text at all: at least one digit after the optional
// sign (or after &H / &O). "", "-", ".", "&H" and "十二" hold none, and read as 0 only by default.
bool holdsNumber(std::string_view text);

// The number of the text rounded to the nearest integer, a half going to the even neighbour.
// Empty when the result does not fit a 16-bit signed integer (an overflow is never wrapped).
std::optional<std::int16_t> wholeNumberOf(std::string_view text);

// The same rounding for a value already read.
std::optional<std::int16_t> toWholeNumber(double value);

// The shortest plain decimal text that reads back as the same double: 1.2, 10, 0, 0.001.
std::string shortestDecimal(double value);

} // namespace engine
