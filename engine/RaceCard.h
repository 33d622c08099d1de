#pragma once

#include <array>
#include <cstdint>

namespace engine {

// Every program-wide array has 21 entries, indexes 0 to 20, indexed by horse number (1 to 16).
inline constexpr int kArraySize = 21;
inline constexpr int kGridRows = 16;
inline constexpr int kMinRunners = 8;
inline constexpr int kMaxRunners = 16;

template <typename T> using HorseArray = std::array<T, kArraySize>;

// The race card as the forecast run reads it from the entry grid (and the odds loader fills).
struct RaceCard {
    std::int16_t RunnerCount = 0;
    HorseArray<std::int16_t> PrevRace3{}; // three races back (column Text1, "前3走")
    HorseArray<std::int16_t> PrevRace2{}; // two races back (Text2, "前2走")
    HorseArray<std::int16_t> PrevRace1{}; // last race (Text3, "前1走")
    HorseArray<double> PlaceOddsLow{};    // Text4; 0 means not given
    HorseArray<double> PlaceOddsHigh{};   // Text5
    bool operator==(const RaceCard &) const = default;
};

// Working arrays of the form rating; rows 1..RunnerCount are recomputed by every run.
struct FormRating {
    HorseArray<std::int16_t> MissingCount{};
    HorseArray<std::int16_t> FormDivisor{};
    HorseArray<double> FormAverage{};
    HorseArray<std::int16_t> FormRank{};
    HorseArray<std::int16_t> FormTieCount{};
    bool operator==(const FormRating &) const = default;
};

// Working arrays of the odds rating and mark selection.
struct OddsRating {
    HorseArray<double> OddsMid{};
    HorseArray<std::int16_t> OddsRank{};
    HorseArray<std::int16_t> OddsTieCount{};
    HorseArray<std::int16_t> MarkEligible{};
    HorseArray<std::int16_t> PickScore{};
    HorseArray<std::int16_t> PickOrder{};
    bool operator==(const OddsRating &) const = default;
};

// Slots 1..5 are ◎ ○ ▲ △ △; each holds a horse number or 0 for an empty slot.
using MarkSlots = std::array<std::int16_t, 5>;

} // namespace engine
