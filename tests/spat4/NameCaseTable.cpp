// Prints the upper case of every unit of the Basic Multilingual Plane that the program folds, one
// "unit upper" line each in hex, so the Linux build's table can be compared with the Windows
// build's under Wine (tests/tools/wine-test). The letters Windows leaves alone but Wine folds
// (keepsItsCaseOnWindows) are left out, and counted on the error stream.
#include "Unicode.h"

#include <cstdio>

int main()
{
    int leftOut = 0;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const auto upper = spat4::upperCaseUnit(static_cast<char16_t>(unit));
        if (upper == unit)
            continue;
        if (spat4::keepsItsCaseOnWindows(static_cast<char16_t>(unit)))
            ++leftOut;
        else
            std::printf("%04X %04X\n", unit, static_cast<unsigned>(upper));
    }
    std::fprintf(stderr, "name-case-table: %d folded letters that Windows keeps left out\n", leftOut);
    return 0;
}
