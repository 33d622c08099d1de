// Prints the upper case of every unit of the Basic Multilingual Plane that the program folds, one
// "unit upper" line each in hex, so the Linux build's table can be compared with the Windows
// build's under Wine (tests/tools/wine-test). The letters Windows leaves alone
// (keepsItsCaseOnWindows) are not printed: the Linux build keeps their case as Windows does, but
// Wine's table folds them.
#include "Unicode.h"

#include <cstdio>

int main()
{
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const auto upper = spat4::upperCaseUnit(static_cast<char16_t>(unit));
        if (upper != unit && !spat4::keepsItsCaseOnWindows(static_cast<char16_t>(unit)))
            std::printf("%04X %04X\n", unit, static_cast<unsigned>(upper));
    }
    return 0;
}
