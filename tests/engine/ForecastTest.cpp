#include "Forecast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using engine::Column;
using engine::ForecastError;
using engine::ForecastResult;
using engine::GridTexts;
using engine::RaceCard;

struct Row {
    const char *race3, *race2, *race1, *low, *high;
};

GridTexts gridOf(const std::vector<Row> &rows)
{
    GridTexts grid;
    for (std::size_t r = 0; r < rows.size(); ++r)
        grid.rows[r] = {rows[r].race3, rows[r].race2, rows[r].race1, rows[r].low, rows[r].high};
    return grid;
}

// The eight-runner race used throughout: numbers as 前3走 / 前2走 / 前1走, odds low-high.
const std::vector<Row> kExampleRace = {
    {"3", "0", "3", "1.5", "2.1"}, {"2", "1", "0", "1.1", "1.3"}, {"5", "1", "3", "2.0", "3.2"},
    {"0", "0", "0", "", ""},       {"2", "2", "2", "1.1", "1.3"}, {"3", "3", "3", "4.0", "6.5"},
    {"0", "5", "0", "1.6", "2.2"}, {"1", "2", "0", "3.0", "4.8"},
};

struct Engine {
    RaceCard card;
    engine::FormRating form;
    engine::OddsRating odds;

    ForecastResult run(const GridTexts &grid)
    {
        auto result = engine::runForecast(card, form, odds, grid);
        if (const auto *error = std::get_if<ForecastError>(&result))
            ADD_FAILURE() << "run refused for horse " << error->horse;
        return std::get<ForecastResult>(result);
    }
};

template <typename T> std::vector<T> rows(const engine::HorseArray<T> &array, int n)
{
    return {array.begin() + 1, array.begin() + 1 + n};
}

TEST(FormRating, WorkedExampleEveryColumn)
{
    Engine e;
    e.card.RunnerCount = 8;
    e.run(gridOf(kExampleRace));

    EXPECT_EQ(rows(e.form.MissingCount, 8), (std::vector<std::int16_t>{1, 1, 0, 3, 0, 0, 2, 1}));
    EXPECT_EQ(rows(e.form.FormDivisor, 8), (std::vector<std::int16_t>{2, 2, 3, 1, 3, 3, 1, 2}));
    EXPECT_EQ(rows(e.form.FormAverage, 8),
              (std::vector<double>{3.0, 1.5, 3.0, 0.0, 2.0, 3.0, 5.0, 1.5}));
    EXPECT_EQ(rows(e.form.FormTieCount, 8), (std::vector<std::int16_t>{3, 2, 2, 1, 1, 1, 1, 1}));
    EXPECT_EQ(rows(e.form.FormRank, 8), (std::vector<std::int16_t>{5, 2, 6, 1, 4, 7, 8, 3}));
}

TEST(OddsRating, WorkedExampleEveryColumnAndTheSlots)
{
    Engine e;
    e.card.RunnerCount = 8;
    const ForecastResult result = e.run(gridOf(kExampleRace));

    EXPECT_EQ(
        rows(e.odds.OddsMid, 8),
        (std::vector<double>{(2.1 + 1.5) / 2, (1.3 + 1.1) / 2, (3.2 + 2.0) / 2, 0, (1.3 + 1.1) / 2,
                             (6.5 + 4.0) / 2, (2.2 + 1.6) / 2, (4.8 + 3.0) / 2}));
    EXPECT_EQ(rows(e.odds.OddsRank, 8), (std::vector<std::int16_t>{4, 2, 6, 1, 3, 8, 5, 7}));
    EXPECT_EQ(rows(e.odds.MarkEligible, 8), (std::vector<std::int16_t>{1, 1, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(rows(e.odds.PickScore, 8), (std::vector<std::int16_t>{4, 2, 6, 100, 3, 100, 5, 100}));
    EXPECT_EQ(rows(e.odds.PickOrder, 8), (std::vector<std::int16_t>{3, 1, 5, 8, 2, 8, 4, 8}));
    EXPECT_EQ(result.markSlots, (engine::MarkSlots{2, 5, 1, 7, 3}));
}

TEST(ResultDisplay, WorkedExampleCaptions)
{
    Engine e;
    e.card.RunnerCount = 8;
    const ForecastResult result = e.run(gridOf(kExampleRace));
    EXPECT_EQ(result.texts.numberCaptions,
              (std::array<std::string, 5>{"2\u3000番", "5\u3000番", "1\u3000番", "7\u3000番",
                                          "3\u3000番"}));
    EXPECT_EQ(result.texts.pairCaptions,
              (std::array<std::string, 5>{"2 - 5", "1 - 2", "1 - 5", "2 - 7", "2 - 3"}));
}

TEST(ResultDisplay, PairOrderIsNumericAndAnEmptySlotCountsAsZero)
{
    EXPECT_EQ(engine::pairCaption(9, 4), "4 - 9");
    EXPECT_EQ(engine::pairCaption(12, 3), "3 - 12"); // not "12 - 3" as text order would give
    EXPECT_EQ(engine::pairCaption(3, 12), "3 - 12");
    EXPECT_EQ(engine::pairCaption(0, 5), " - 5");
    EXPECT_EQ(engine::pairCaption(5, 0), " - 5");
    EXPECT_EQ(engine::pairCaption(0, 0), " - ");
    EXPECT_EQ(engine::numberCaption(0), "\u3000番");
    EXPECT_EQ(engine::numberCaption(16), "16\u3000番");

    const auto texts = engine::resultTexts({4, 9, 1, 0, 0});
    EXPECT_EQ(texts.numberCaptions[3], "\u3000番");
    EXPECT_EQ(texts.pairCaptions,
              (std::array<std::string, 5>{"4 - 9", "1 - 4", "1 - 9", " - 4", " - 4"}));
}

TEST(Forecast, RunnerCountZeroReadsNothingAndShowsEmptyCaptions)
{
    Engine e;
    const auto grid = gridOf(kExampleRace);
    const ForecastResult result = e.run(grid);
    EXPECT_EQ(result.markSlots, (engine::MarkSlots{}));
    for (const auto &caption : result.texts.numberCaptions)
        EXPECT_EQ(caption, "\u3000番");
    for (const auto &caption : result.texts.pairCaptions)
        EXPECT_EQ(caption, " - ");
    EXPECT_EQ(e.card, RaceCard{});
}

TEST(Forecast, ReadsOnlyRowsUpToTheRunnerCount)
{
    Engine e;
    e.card.RunnerCount = 8;
    auto rowsOfText = kExampleRace;
    for (int r = 9; r <= 16; ++r)
        rowsOfText.push_back({"1", "1", "1", "1.0", "1.0"});
    const auto result = e.run(gridOf(rowsOfText));
    EXPECT_EQ(result.markSlots, (engine::MarkSlots{2, 5, 1, 7, 3}));
    for (int r = 9; r <= 20; ++r) {
        EXPECT_EQ(e.card.PrevRace3[r], 0);
        EXPECT_EQ(e.card.PlaceOddsLow[r], 0);
    }
}

TEST(Forecast, TwoRunsOnTheSameInputAgree)
{
    Engine e;
    e.card.RunnerCount = 8;
    const auto grid = gridOf(kExampleRace);
    const auto first = e.run(grid);
    const auto card = e.card;
    const auto form = e.form;
    const auto odds = e.odds;
    const auto second = e.run(grid);
    EXPECT_EQ(first.markSlots, second.markSlots);
    EXPECT_EQ(first.texts, second.texts);
    EXPECT_EQ(e.card, card);
    EXPECT_EQ(e.form, form);
    EXPECT_EQ(e.odds, odds);
}

TEST(Forecast, EmptyRowsCrowdOutAHorseWithData)
{
    // Row 2 has odds but no numbers; every other row is empty.
    Engine e;
    e.card.RunnerCount = 8;
    std::vector<Row> race(8, Row{"", "", "", "", ""});
    race[1] = {"", "", "", "1.2", "1.5"};
    const auto result = e.run(gridOf(race));
    EXPECT_EQ(e.form.FormRank[2], 2);
    EXPECT_EQ(e.odds.OddsRank[2], 8);
    EXPECT_EQ(result.markSlots, (engine::MarkSlots{}));
}

TEST(Forecast, ExactlyThreeEligibleHorsesLeaveBothTriangleSlotsEmpty)
{
    // Odds order follows form order for horses 1-3; horses 4-8 are the market's outsiders
    // although their form is better.
    Engine e;
    e.card.RunnerCount = 8;
    const std::vector<Row> race = {
        {"6", "6", "6", "1.1", "1.2"}, {"7", "7", "7", "1.3", "1.4"}, {"8", "8", "8", "1.5", "1.6"},
        {"1", "1", "1", "5.0", "6.0"}, {"1", "1", "2", "5.1", "6.1"}, {"2", "2", "2", "5.2", "6.2"},
        {"2", "2", "3", "5.3", "6.3"}, {"3", "3", "3", "5.4", "6.4"},
    };
    const auto result = e.run(gridOf(race));
    EXPECT_EQ(result.markSlots, (engine::MarkSlots{1, 2, 3, 0, 0}));
    EXPECT_EQ(result.texts.numberCaptions[3], "\u3000番");
    EXPECT_EQ(result.texts.pairCaptions[3], " - 1");
    EXPECT_EQ(result.texts.pairCaptions[4], " - 1");
}

TEST(Forecast, NegativeNumbersCountAsPresentAndOddsWithoutNumbersRankFirst)
{
    Engine e;
    e.card.RunnerCount = 8;
    std::vector<Row> race(8, Row{"5", "5", "5", "3.0", "4.0"});
    race[0] = {"-1", "0", "0", "3.0", "4.0"}; // average -1: best form
    race[4] = {"2", "0", "3", "", ""};        // no odds: midpoint 0, best odds rank
    e.run(gridOf(race));
    EXPECT_EQ(e.form.MissingCount[1], 2);
    EXPECT_EQ(e.form.FormAverage[1], -1.0);
    EXPECT_EQ(e.form.FormRank[1], 1);
    EXPECT_EQ(e.form.FormAverage[5], 2.5);
    EXPECT_EQ(e.odds.OddsRank[5], 1);
    EXPECT_EQ(e.odds.MarkEligible[5], 1);
}

TEST(StableRank, AlwaysAPermutationWithTiesInRowOrder)
{
    std::mt19937 random(20261207);
    for (int trial = 0; trial < 2000; ++trial) {
        const int n = 1 + static_cast<int>(random() % 16);
        engine::HorseArray<double> values{};
        const int distinct = 1 + static_cast<int>(random() % 5); // few values: many ties
        for (int i = 1; i <= n; ++i)
            values[i] = trial % 10 == 0 ? 0.0 : static_cast<double>(random() % distinct) / 2;
        engine::HorseArray<std::int16_t> rank{}, ties{};
        engine::stableAscendingRank(values, n, rank, ties);

        std::vector<int> order(n);
        for (int i = 0; i < n; ++i)
            order[i] = i + 1;
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return values[a] < values[b]; });
        for (int position = 0; position < n; ++position)
            ASSERT_EQ(rank[order[position]], position + 1) << "trial " << trial << " n " << n;
    }
}

TEST(StableRank, AllEqualValuesRankInRowOrder)
{
    engine::HorseArray<double> values{};
    values.fill(1.5);
    engine::HorseArray<std::int16_t> rank{}, ties{};
    engine::stableAscendingRank(values, 16, rank, ties);
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(rank[i], i);
    EXPECT_EQ(rank[0], 0);
    EXPECT_EQ(rank[17], 0);
}

struct LimitCase {
    const char *name;
    int horse;
    Column column;
    const char *text;
    ForecastError::Kind kind;
};

TEST(Forecast, ValuesBeyondTheDataModelRefuseTheRunAndChangeNothing)
{
    const LimitCase cases[] = {
        {"number too large", 3, Column::PrevRace2, "32768",
         ForecastError::Kind::WholeNumberOutOfRange},
        {"number too small", 5, Column::PrevRace1, "-40000",
         ForecastError::Kind::WholeNumberOutOfRange},
        {"hex beyond 16 bits", 1, Column::PrevRace3, "&HFFFF",
         ForecastError::Kind::WholeNumberOutOfRange},
        {"low odds infinite", 2, Column::PlaceOddsLow, "9E999", ForecastError::Kind::OddsNotFinite},
        {"high odds infinite", 8, Column::PlaceOddsHigh, "-9E999",
         ForecastError::Kind::OddsNotFinite},
    };
    for (const auto &c : cases) {
        Engine e;
        e.card.RunnerCount = 8;
        e.run(gridOf(kExampleRace));
        const auto card = e.card;
        const auto form = e.form;
        const auto odds = e.odds;

        auto grid = gridOf(kExampleRace);
        grid.at(c.horse, c.column) = c.text;
        const auto result = engine::runForecast(e.card, e.form, e.odds, grid);
        ASSERT_TRUE(std::holds_alternative<ForecastError>(result)) << c.name;
        EXPECT_EQ(std::get<ForecastError>(result), (ForecastError{c.kind, c.horse, c.column}))
            << c.name;
        EXPECT_EQ(e.card, card) << c.name;
        EXPECT_EQ(e.form, form) << c.name;
        EXPECT_EQ(e.odds, odds) << c.name;
    }
}

TEST(Forecast, SumsAndMidpointsBeyondTheirRangeRefuseTheRun)
{
    Engine e;
    e.card.RunnerCount = 8;
    auto grid = gridOf(kExampleRace);
    // Each number fits 16 bits, but 20000 + 20000 does not.
    grid.at(4, Column::PrevRace3) = "20000";
    grid.at(4, Column::PrevRace2) = "20000";
    auto result = engine::runForecast(e.card, e.form, e.odds, grid);
    ASSERT_TRUE(std::holds_alternative<ForecastError>(result));
    EXPECT_EQ(std::get<ForecastError>(result).kind, ForecastError::Kind::FormSumOutOfRange);
    EXPECT_EQ(std::get<ForecastError>(result).horse, 4);
    EXPECT_EQ(e.card, RaceCard{.RunnerCount = 8});

    // A sum that comes back into range through the third number still overflowed on the way.
    grid.at(4, Column::PrevRace1) = "-30000";
    result = engine::runForecast(e.card, e.form, e.odds, grid);
    ASSERT_TRUE(std::holds_alternative<ForecastError>(result));

    grid = gridOf(kExampleRace);
    grid.at(6, Column::PlaceOddsLow) = "1E308";
    grid.at(6, Column::PlaceOddsHigh) = "1E308";
    result = engine::runForecast(e.card, e.form, e.odds, grid);
    ASSERT_TRUE(std::holds_alternative<ForecastError>(result));
    EXPECT_EQ(std::get<ForecastError>(result),
              (ForecastError{ForecastError::Kind::OddsMidNotFinite, 6, Column::PlaceOddsLow}));
}

TEST(Forecast, RunnerCountBeyondTheArraysIsRefused)
{
    Engine e;
    e.card.RunnerCount = 21;
    const auto result = engine::runForecast(e.card, e.form, e.odds, gridOf(kExampleRace));
    ASSERT_TRUE(std::holds_alternative<ForecastError>(result));
    EXPECT_EQ(std::get<ForecastError>(result).kind, ForecastError::Kind::RunnerCountOutOfRange);
}

TEST(Forecast, CountsOutsideEightToSixteenRateWhatTheArraysHold)
{
    // With a count the intake does not act on, the grid is not read but the rows are rated.
    Engine e;
    e.card.RunnerCount = 3;
    e.card.PrevRace1 = {0, 3, 1, 2};
    e.card.PlaceOddsLow = {0, 1.0, 2.0, 3.0};
    e.card.PlaceOddsHigh = {0, 1.0, 2.0, 3.0};
    const auto result = e.run(gridOf(kExampleRace));
    EXPECT_EQ(e.card.PrevRace3[1], 0); // the grid's "3" was not read
    EXPECT_EQ(rows(e.form.FormRank, 3), (std::vector<std::int16_t>{3, 1, 2}));
    // With fewer than six runners the ineligible horses' order (the runner count) is a slot
    // number; the later of the two takes slot 3.
    EXPECT_EQ(result.markSlots, (engine::MarkSlots{1, 0, 3, 0, 0}));
}

} // namespace
