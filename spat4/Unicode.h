#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Text in its forms: the program's UTF-8, the UTF-32 of decoded file contents, the UTF-16 code
// units Windows keeps names in, and the system's own file names, which are UTF-16 on Windows and
// bytes elsewhere and may hold what is no text at all (a lone surrogate, which NTFS allows;
// bytes that are not UTF-8, which ext4 allows). None of these functions throws, whatever the
// input.
namespace spat4 {

// UTF-32 to UTF-8; a value that is no character (a surrogate, beyond U+10FFFF) becomes U+FFFD.
std::string toUtf8(std::u32string_view text);

// The UTF-16 code units of a UTF-8 text, as Windows holds a name. A byte that starts no valid
// sequence stands for itself as the unit 0xDC00 + byte, a lone surrogate that no valid text
// yields, so two different texts never give the same units.
std::u16string utf16UnitsOf(std::string_view utf8);

// The upper case of one UTF-16 unit as NTFS folds names to compare them: every small letter of
// the Basic Multilingual Plane that pairs with a capital (ASCII, full-width Ａ-Ｚ, Latin, Greek,
// Cyrillic...), one unit for one unit; surrogate halves and everything else as they are. The
// system's own table on Windows (LCMapStringW, invariant locale); elsewhere the C library's
// Unicode case pairs, whatever the user's locale.
char16_t upperCaseUnit(char16_t unit);

// The small letters that Unicode pairs with capitals but Windows' upper case leaves as they
// are: Georgian Mkhedruli (U+10D0-U+10FF, paired with Mtavruli since Unicode 11) and lowercase
// Cherokee (U+13F8-U+13FD and U+AB70-U+ABBF, since Unicode 8), which Wine's table does pair;
// and the five pairs new in Unicode 16, which the C library of Debian 13 pairs and Debian 12's
// and Wine 8's do not.
bool keepsItsCaseOnWindows(char16_t unit);

// A file name as UTF-8, or nothing for a Windows name that holds a lone surrogate: no SPAT4
// pattern can match it, and a listing entry without a name is not a candidate for anything.
// Elsewhere a name is its bytes, UTF-8 or not (the probes match a stray byte as one character).
std::optional<std::string> nameText(const std::filesystem::path &path);

// A whole path as UTF-8 for the record: on Windows with U+FFFD for what is not text, elsewhere
// the bytes as they are.
std::string pathText(const std::filesystem::path &path);

} // namespace spat4
