#include "Unicode.h"

#include <windows.h>

namespace spat4 {

char16_t upperCaseUnit(char16_t unit)
{
    // The system's own upper case of one unit, with the file system's rules (no linguistic
    // casing), as NTFS compares names.
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return unit;
    wchar_t in = static_cast<wchar_t>(unit), out = in;
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, &in, 1, &out, 1) != 1)
        return unit;
    return static_cast<char16_t>(out);
}

} // namespace spat4
