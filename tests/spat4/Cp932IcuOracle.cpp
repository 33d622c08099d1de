#include "Cp932IcuOracle.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <memory>

// ICU's windows-31j converter, as the program decoded code page 932 on Linux before it used the
// C library's: stopping instead of substituting in both directions, since ICU's substitute for
// windows-31j is U+001A (or 0x1A).
namespace spat4::test::icuOracle {

namespace {

constexpr char32_t kReplacement = U'\uFFFD';

struct ConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

UConverter *converter()
{
    static const Converter c = [] {
        UErrorCode err = U_ZERO_ERROR;
        Converter opened(ucnv_open("windows-31j", &err));
        ucnv_setToUCallBack(opened.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        ucnv_setFromUCallBack(opened.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &err);
        return U_FAILURE(err) ? nullptr : std::move(opened);
    }();
    return c.get();
}

} // namespace

bool available()
{
    return converter() != nullptr;
}

char32_t toUnicode(std::string_view bytes)
{
    UConverter *c = converter();
    if (c == nullptr || bytes.empty())
        return kReplacement;
    ucnv_reset(c);
    UErrorCode err = U_ZERO_ERROR;
    const char *source = bytes.data();
    const UChar32 cp = ucnv_getNextUChar(c, &source, bytes.data() + bytes.size(), &err);
    if (U_FAILURE(err) || source != bytes.data() + bytes.size() || cp < 0)
        return kReplacement;
    return static_cast<char32_t>(cp);
}

std::optional<std::string> fromUnicode(char32_t character)
{
    UConverter *c = converter();
    if (c == nullptr || character > 0x10FFFF)
        return std::nullopt;
    UChar utf16[2];
    int32_t length = 0;
    UBool error = false;
    U16_APPEND(utf16, length, 2, static_cast<UChar32>(character), error);
    if (error)
        return std::nullopt;
    char bytes[8];
    UErrorCode err = U_ZERO_ERROR;
    ucnv_reset(c);
    const int32_t n = ucnv_fromUChars(c, bytes, sizeof bytes, utf16, length, &err);
    if (U_FAILURE(err) || n <= 0)
        return std::nullopt;
    return std::string(bytes, static_cast<std::size_t>(n));
}

} // namespace spat4::test::icuOracle
