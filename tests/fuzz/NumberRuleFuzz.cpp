#include "NumberRule.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any text: the number is never NaN, the whole number is either an overflow or the number
// rounded half to even, and the shortest decimal text reads back as the same number.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const double number = engine::numberOf(text);
    if (std::isnan(number))
        std::abort();

    const auto whole = engine::wholeNumberOf(text);
    if (whole) {
        if (std::fabs(number - *whole) > 0.5)
            std::abort();
        if (std::fabs(number - *whole) == 0.5 && *whole % 2 != 0)
            std::abort();
    } else if (std::isfinite(number) && number > -32768.5 && number < 32767.5) {
        std::abort();
    }

    if (std::isfinite(number) && engine::numberOf(engine::shortestDecimal(number)) != number)
        std::abort();
    return 0;
}
