#include "Unicode.h"

#include <locale.h>
#include <wctype.h>

namespace spat4 {

namespace {

// The C library's Unicode case tables, whatever the user's locale: C.UTF-8 is built into glibc
// (2.35 and later), so it is there even where no locale was generated.
locale_t unicodeCaseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

} // namespace

char16_t upperCaseUnit(char16_t unit)
{
    // Windows' table, as NTFS compares names, pairs a small letter with the capital whose own
    // small letter it is, and nothing else: ı, ſ, µ, ς and the Greek symbol forms keep their
    // case, as do the letters in keepsItsCaseOnWindows.
    if ((unit >= 0xD800 && unit <= 0xDFFF) || keepsItsCaseOnWindows(unit))
        return unit;
    const locale_t locale = unicodeCaseLocale();
    if (locale == static_cast<locale_t>(0)) // no C.UTF-8: ASCII alone is safe to fold
        return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
    const wint_t upper = towupper_l(unit, locale);
    if (upper > 0xFFFF || upper == unit || towlower_l(upper, locale) != unit)
        return unit;
    return static_cast<char16_t>(upper);
}

} // namespace spat4
