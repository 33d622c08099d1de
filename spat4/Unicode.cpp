#include "Unicode.h"

#include <algorithm>
#include <iterator>

namespace spat4 {

namespace fs = std::filesystem;

namespace {

constexpr char32_t kReplacement = U'\uFFFD';

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// The code point of the well-formed UTF-8 sequence at s[i], advancing i past it; nothing (and i
// unchanged) where no valid sequence starts: a stray continuation byte, a cut sequence, an
// overlong form, a surrogate or a value beyond U+10FFFF.
std::optional<char32_t> decodeUtf8(std::string_view s, std::size_t &i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    std::size_t length = 0;
    char32_t c = 0, lowest = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, c = b & 0x1F, lowest = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, c = b & 0x0F, lowest = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, c = b & 0x07, lowest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + length > s.size())
        return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (t & 0x3F);
    }
    if (c < lowest || c > 0x10FFFF || isSurrogate(c))
        return std::nullopt;
    i += length;
    return c;
}

#ifdef _WIN32
// A Windows name's code points; a lone surrogate gives nothing, or U+FFFD where lossy is asked.
std::optional<std::u32string> codePointsOf(std::wstring_view units, bool lossy)
{
    std::u32string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t c = static_cast<char16_t>(units[i]);
        const char32_t next = i + 1 < units.size() ? static_cast<char16_t>(units[i + 1]) : 0;
        if (c >= 0xD800 && c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            out.push_back(0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (isSurrogate(c)) {
            if (!lossy)
                return std::nullopt;
            out.push_back(kReplacement);
        } else {
            out.push_back(c);
        }
    }
    return out;
}
#endif

} // namespace

std::string toUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0x10FFFF || isSurrogate(c))
            c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string utf16UnitsOf(std::string_view utf8)
{
    std::u16string units;
    units.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = decodeUtf8(utf8, i);
        if (!c) {
            units.push_back(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(utf8[i])));
            ++i;
        } else if (*c >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((*c - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((*c - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(*c));
        }
    }
    return units;
}

std::optional<std::string> nameText(const fs::path &path)
{
#ifdef _WIN32
    const auto codePoints = codePointsOf(path.native(), false);
    if (!codePoints)
        return std::nullopt;
    return toUtf8(*codePoints);
#else
    // Any bytes are a name here: the probes take a byte that starts no character as one.
    return path.native();
#endif
}

std::string pathText(const fs::path &path)
{
#ifdef _WIN32
    return toUtf8(*codePointsOf(path.native(), true));
#else
    return path.native();
#endif
}

bool keepsItsCaseOnWindows(char16_t unit)
{
    // The small letters of Unicode 16's new pairs (2024): ƛ, ɤ, ᲊ, ꟍ and ꟛ.
    constexpr char16_t pairedInUnicode16[] = {0x019B, 0x0264, 0x1C8A, 0xA7CD, 0xA7DB};
    return (unit >= 0x10D0 && unit <= 0x10FF) || (unit >= 0x13F8 && unit <= 0x13FD) ||
           (unit >= 0xAB70 && unit <= 0xABBF) ||
           std::find(std::begin(pairedInUnicode16), std::end(pairedInUnicode16), unit) !=
               std::end(pairedInUnicode16);
}

} // namespace spat4
