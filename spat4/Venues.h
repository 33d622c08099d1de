#pragma once

#include <array>

namespace spat4 {

// The four Southern-Kanto venues: the code SPAT4 file names give each, and its name. The
// window's venue buttons stand for these, in this order. Codes 58 to 60 also occur in names
// but are no venue of these.
struct Venue {
    int code;
    const char *name; // UTF-8
};
inline constexpr std::array<Venue, 4> kVenues{
    {{56, "浦和"}, {62, "川崎"}, {61, "大井"}, {57, "船橋"}}};

// The venue of a code; nullptr for a code that is no venue.
constexpr const Venue *venueOf(int code)
{
    for (const Venue &v : kVenues)
        if (v.code == code)
            return &v;
    return nullptr;
}

} // namespace spat4
