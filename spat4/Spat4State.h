#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace spat4 {

// Results of the start-up availability scan, by venue code 0..100 (and race 0..100).
// Only codes 56..62 and races 1..12 are ever written; everything else stays 0.
struct Availability {
    std::array<std::int16_t, 101> VenueFileFlags{};
    std::array<std::array<std::int16_t, 101>, 101> RaceFileTable{};
    // The probe patterns the scan built and the first file name each found (read by nothing
    // else; kept so a user or a test can see what the scan looked for).
    std::array<std::string, 101> VenuePattern;
    std::array<std::string, 101> VenueFirstFile;
    std::array<std::array<std::string, 13>, 101> RacePattern;
    std::array<std::array<std::string, 13>, 101> RaceFirstFile;
};

// What the odds loader keeps of its last run; no other part reads it.
struct LoaderState {
    std::string OddsFilePath;
    std::string OddsHeaderText;               // the header window, UTF-8
    std::array<std::string, 21> PlaceLowText; // entry k - 1 for row k: the 5-character texts
    std::array<std::string, 21> PlaceHighText;
    std::string RaceCharText;
    std::int16_t RaceNumber = 0;
};

} // namespace spat4
