#include "Spat4Folder.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// The first byte splits the input into a pattern and a name, both arbitrary. A pattern with
// no "?" matches a name of the same length exactly when the two are equal without regard to
// ASCII case, and every name matches itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view all(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::size_t split = data[0] % (all.size() + 1);
    const std::string_view pattern = all.substr(0, split);
    const std::string_view name = all.substr(split);

    const bool matched = spat4::matchesProbe(pattern, name);
    if (pattern.find('?') == std::string_view::npos && pattern.size() == name.size()) {
        bool equal = true;
        for (std::size_t i = 0; i < name.size(); ++i) {
            auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
            equal = equal && lower(pattern[i]) == lower(name[i]);
        }
        if (matched != equal)
            std::abort();
    }
    if (!spat4::matchesProbe(name, name))
        std::abort();
    return 0;
}
