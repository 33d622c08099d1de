#include "Cp932.h"

#include <windows.h>

namespace spat4::cp932 {

namespace {
constexpr UINT kCodePage = 932;
constexpr char32_t kReplacement = U'\uFFFD';
} // namespace

char32_t toUnicode(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > 2)
        return kReplacement;
    // Windows' table gives the single bytes 0x80, 0xA0 and 0xFD-0xFF control and private-use
    // characters that no font shows; they are not Shift-JIS, so they read as U+FFFD here as on
    // every other platform.
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 1 && (first == 0x80 || first == 0xA0 || first >= 0xFD))
        return kReplacement;
    wchar_t wide[2] = {};
    const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), wide, 2);
    if (n != 1)
        return kReplacement;
    return static_cast<char32_t>(wide[0]);
}

std::optional<std::string> fromUnicode(char32_t character)
{
    if (character < 0x80 || character > 0xFFFF)
        return std::nullopt; // code page 932 has nothing beyond the basic plane
    const wchar_t wide[1] = {static_cast<wchar_t>(character)};
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, 1, bytes, sizeof bytes,
                                      nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    return std::string(bytes, static_cast<std::size_t>(n));
}

} // namespace spat4::cp932
