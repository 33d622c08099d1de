#pragma once

#include "RaceCard.h"
#include "Spat4State.h"

#include <cstdint>

// The program-wide state: plain variables, all 0 or empty at start, living for the whole run.
// One object is made by main() and handed to the windows, so a test can make a fresh one.
struct Module1 {
    engine::RaceCard race;   // RunnerCount, PrevRace3/2/1, PlaceOddsLow/High
    engine::FormRating form; // MissingCount, FormDivisor, FormAverage, FormRank, FormTieCount
    engine::OddsRating odds; // OddsMid, OddsRank, OddsTieCount, MarkEligible, PickScore, PickOrder
    std::int16_t Spat4DataFlag = 0;
    spat4::Availability availability; // VenueFileFlags, RaceFileTable
    spat4::LoaderState loader;        // OddsFilePath, OddsHeaderText, PlaceLowText, ...
};
