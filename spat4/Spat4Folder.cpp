#include "Spat4Folder.h"

#include "FolderPlaces.h"
#include "Unicode.h"

#include <algorithm>
#include <compare>

namespace spat4 {

namespace {

// The byte length of the character that starts at s[i]. A "?" stands for one character, and
// on Windows that is one UTF-16 unit of the name, never a byte: a name such as "ZO-56馬1.PAT"
// must not pass for a longer one. So a well-formed UTF-8 sequence is one character, and any
// byte that does not start one counts alone, so broken names are compared without crashing.
std::size_t characterLength(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 1;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4;
    if (i + n > s.size())
        return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

} // namespace

bool matchesProbe(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0, n = 0;
    while (p < pattern.size() && n < name.size()) {
        const std::size_t pl = characterLength(pattern, p);
        const std::size_t nl = characterLength(name, n);
        const std::string_view pc = pattern.substr(p, pl);
        if (pc != "?" && !equalsIgnoringAsciiCase(pc, name.substr(n, nl)))
            return false;
        p += pl;
        n += nl;
    }
    // Both must end together: a "?" never stands for nothing.
    return p == pattern.size() && n == name.size();
}

bool precedesInNameOrder(std::string_view a, std::string_view b)
{
    const std::u16string unitsA = utf16UnitsOf(a), unitsB = utf16UnitsOf(b);
    const auto byFolded = std::lexicographical_compare_three_way(
        unitsA.begin(), unitsA.end(), unitsB.begin(), unitsB.end(),
        [](char16_t x, char16_t y) { return upperCaseUnit(x) <=> upperCaseUnit(y); });
    if (byFolded != 0)
        return byFolded < 0;
    return unitsA < unitsB;
}

std::optional<FolderEntry> firstMatch(const std::vector<FolderEntry> &entries,
                                      std::string_view pattern)
{
    const FolderEntry *first = nullptr;
    for (const FolderEntry &e : entries)
        if (matchesProbe(pattern, e.name) && (!first || precedesInNameOrder(e.name, first->name)))
            first = &e;
    if (first == nullptr)
        return std::nullopt;
    return *first;
}

} // namespace spat4
