#include "Unicode.h"

#include <unicode/uchar.h>

namespace spat4 {

char16_t upperCaseUnit(char16_t unit)
{
    // ICU's simple upper case of the one character; a surrogate half stays as it is.
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return unit;
    const UChar32 upper = u_toupper(static_cast<UChar32>(unit));
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : unit;
}

} // namespace spat4
