#include "Cp932.h"

#include <iconv.h>

#include <array>

namespace spat4::cp932 {

namespace {

constexpr char32_t kReplacement = U'\uFFFD';
const auto kNoConverter = reinterpret_cast<iconv_t>(-1);

// One of the C library's converters between code page 932 and UTF-32LE (whose bytes are put
// together here, so the host's byte order does not matter), opened once per thread: opening one
// per character costs more than the conversion. glibc's CP932 module is Microsoft's table.
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != kNoConverter)
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts the whole input or nothing: an invalid or incomplete sequence, or output that
    // does not fit, gives no bytes at all (never a substitute character).
    std::optional<std::string> convert(std::string_view input) const
    {
        if (m_cd == kNoConverter || input.empty())
            return std::nullopt;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        std::string in(input);
        std::array<char, 16> out{};
        char *inPtr = in.data();
        std::size_t inLeft = in.size();
        char *outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0)
            return std::nullopt;
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(out.data(), out.size() - outLeft);
    }

private:
    iconv_t m_cd;
};

std::string utf32le(char32_t c)
{
    return {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
            static_cast<char>((c >> 16) & 0xFF), static_cast<char>((c >> 24) & 0xFF)};
}

char32_t fromUtf32le(std::string_view bytes)
{
    char32_t c = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        c = (c << 8) | static_cast<unsigned char>(bytes[i]);
    return c;
}

} // namespace

char32_t toUnicode(std::string_view bytes)
{
    static thread_local const Converter decoder("UTF-32LE", "CP932");
    if (bytes.size() > 2)
        return kReplacement;
    const std::optional<std::string> utf32 = decoder.convert(bytes);
    // One character, or none: an unassigned pair and the single bytes 0x80, 0xA0 and 0xFD-0xFF
    // have no character in the table.
    if (!utf32 || utf32->size() != 4)
        return kReplacement;
    return fromUtf32le(*utf32);
}

std::optional<std::string> fromUnicode(char32_t character)
{
    static thread_local const Converter encoder("CP932", "UTF-32LE");
    if (character < 0x80 || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF))
        return std::nullopt;
    std::optional<std::string> bytes = encoder.convert(utf32le(character));
    // Only bytes that read back as the same character, as Windows converts without best fit:
    // glibc's table also writes ¥ as 0x5C and − (U+2212) as 0x817C, which read back as \ and －.
    if (!bytes || bytes->empty() || bytes->size() > 2 || toUnicode(*bytes) != character)
        return std::nullopt;
    return bytes;
}

} // namespace spat4::cp932
