#pragma once

#include <optional>
#include <string>
#include <string_view>

// The earlier decoder of code page 932 on Linux (ICU's windows-31j), kept to prove that the
// program's own decodes every byte and every pair the same.
namespace spat4::test::icuOracle {

bool available();
char32_t toUnicode(std::string_view bytes);
std::optional<std::string> fromUnicode(char32_t character);

} // namespace spat4::test::icuOracle
