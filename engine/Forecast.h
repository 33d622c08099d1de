#pragma once

#include "RaceCard.h"

#include <array>
#include <cstdint>
#include <string>
#include <variant>

namespace engine {

// The five columns of one row of the entry grid, in the order the intake reads them.
enum class Column { PrevRace3, PrevRace2, PrevRace1, PlaceOddsLow, PlaceOddsHigh };
inline constexpr int kColumnCount = 5;

// The texts of the entry grid: rows[r - 1][column] is horse r's field.
struct GridTexts {
    std::array<std::array<std::string, kColumnCount>, kGridRows> rows;
    std::string &at(int horse, Column column) { return rows[horse - 1][static_cast<int>(column)]; }
    const std::string &at(int horse, Column column) const
    {
        return rows[horse - 1][static_cast<int>(column)];
    }
};

// Why a run was refused. Nothing is rated or changed when a run is refused.
struct ForecastError {
    enum class Kind {
        WholeNumberOutOfRange, // a previous-race number outside -32768..32767
        FormSumOutOfRange,     // the 16-bit sum of a horse's three numbers overflows
        OddsNotFinite,         // an odds value beyond a double, at either end
        OddsMidNotFinite,      // the two odds of a horse add up beyond a double
        RunnerCountOutOfRange, // RunnerCount outside 0..20, the arrays' rows
    };
    Kind kind;
    int horse = 0;                     // 1..16; 0 for RunnerCountOutOfRange
    Column column = Column::PrevRace3; // the field; for the sums, the first field of the group
    bool operator==(const ForecastError &) const = default;
};

// The captions the result display writes.
struct ResultTexts {
    std::array<std::string, 5> numberCaptions; // Label11, Label12, Label13, Label27, Label28
    std::array<std::string, 5> pairCaptions;   // Label14, Label15, Label16, Label25, Label26
    bool operator==(const ResultTexts &) const = default;
};

struct ForecastResult {
    MarkSlots markSlots{};
    ResultTexts texts;
};

// The stable ascending rank of values[1..n] into rank[1..n], with tieCount as the working
// count of the tie fix-up: rows in ascending order of value, equal values in row order.
void stableAscendingRank(const HorseArray<double> &values, int n, HorseArray<std::int16_t> &rank,
                         HorseArray<std::int16_t> &tieCount);

// Reads rows 1..RunnerCount of the grid into a copy of the card (only when RunnerCount is
// 8..16), then checks the limits of the data model on rows 1..RunnerCount. The card itself is
// untouched; the caller commits the returned copy.
std::variant<RaceCard, ForecastError> intake(const RaceCard &card, const GridTexts &grid);

void rateForm(const RaceCard &card, FormRating &form);
MarkSlots rateOddsAndSelect(const RaceCard &card, const FormRating &form, OddsRating &odds);

std::string numberCaption(std::int16_t horse);
std::string pairCaption(std::int16_t firstSlotHorse, std::int16_t secondSlotHorse);
ResultTexts resultTexts(const MarkSlots &slots);

// One whole forecast: intake, form rating, odds rating and selection, result texts.
// On an error card, form and odds are exactly as they were.
std::variant<ForecastResult, ForecastError> runForecast(RaceCard &card, FormRating &form,
                                                        OddsRating &odds, const GridTexts &grid);

} // namespace engine
