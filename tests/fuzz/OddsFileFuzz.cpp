#include "NumberRule.h"
#include "OddsFileReader.h"
#include "OddsLoad.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool validUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += n;
    }
    return true;
}

} // namespace

// Arbitrary bytes as the start of a SPAT4 file: both windows, every field, and the plan that
// the loader would make of them. Whatever the bytes, the windows have their exact lengths,
// every text is valid UTF-8, and a plan only ever holds 8 to 16 runners and finite odds whose
// text in the boxes reads back as the same value, so the forecast uses what the file gave.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto parsed = spat4::oddsFileFromBytes(bytes, "ZO-6101B.PAT");
    const auto *file = std::get_if<spat4::OddsFile>(&parsed);
    if (file == nullptr)
        return 0;
    if (file->header.size() != spat4::kHeaderCharacters ||
        file->odds.size() != spat4::kOddsCharacters)
        std::abort();
    if (!validUtf8(file->headerText()) || !validUtf8(file->titleField()))
        std::abort();
    for (int horse = 1; horse <= 16; ++horse)
        if (!validUtf8(file->lowOddsField(horse)) || !validUtf8(file->highOddsField(horse)))
            std::abort();

    const auto plan = spat4::planFromOddsFile(*file, 61, 11, "ZO-6101B.PAT");
    if (const auto *p = std::get_if<spat4::LoadPlan>(&plan)) {
        if (p->runnerCount < 8 || p->runnerCount > 16 || p->raceNumber != 11)
            std::abort();
        for (int k = 0; k < p->runnerCount; ++k)
            for (double value : {p->lowValue[k], p->highValue[k]})
                if (!std::isfinite(value) ||
                    engine::numberOf(engine::shortestDecimal(value)) != value)
                    std::abort();
    }
    return 0;
}
