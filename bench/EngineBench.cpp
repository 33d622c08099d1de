#include "Forecast.h"
#include "NumberRule.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// A full 16-runner card as a user types it: three previous-race numbers and two odds per row.
engine::GridTexts sixteenRunners()
{
    engine::GridTexts grid;
    for (int horse = 1; horse <= 16; ++horse) {
        grid.at(horse, engine::Column::PrevRace3) = std::to_string((horse * 7) % 16 + 1);
        grid.at(horse, engine::Column::PrevRace2) =
            horse % 5 == 0 ? "" : std::to_string(horse % 9 + 1);
        grid.at(horse, engine::Column::PrevRace1) = std::to_string((horse * 3) % 12 + 1);
        grid.at(horse, engine::Column::PlaceOddsLow) = engine::shortestDecimal(1.0 + horse * 0.4);
        grid.at(horse, engine::Column::PlaceOddsHigh) = engine::shortestDecimal(1.5 + horse * 0.7);
    }
    return grid;
}

// From the 80 grid texts to the ten caption texts.
void BM_WholeForecast16Runners(benchmark::State &state)
{
    const engine::GridTexts grid = sixteenRunners();
    engine::RaceCard card;
    card.RunnerCount = 16;
    engine::FormRating form;
    engine::OddsRating odds;
    for (auto _ : state) {
        auto result = engine::runForecast(card, form, odds, grid);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_WholeForecast16Runners);

void BM_NumberRuleTypicalTexts(benchmark::State &state)
{
    const char *texts[] = {"3", "12", " 1.5", "10.0 ", "     ", "1.2.3", "&H1F", "2.5"};
    for (auto _ : state) {
        double sum = 0;
        for (const char *text : texts)
            sum += engine::numberOf(text);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_NumberRuleTypicalTexts);

// The C library's reading of the same texts, as the baseline of the number rule.
void BM_StrtodTypicalTexts(benchmark::State &state)
{
    const char *texts[] = {"3", "12", " 1.5", "10.0 ", "     ", "1.2.3", "&H1F", "2.5"};
    for (auto _ : state) {
        double sum = 0;
        for (const char *text : texts)
            sum += std::strtod(text, nullptr);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_StrtodTypicalTexts);

// The 80 grid texts through the number rule alone: the part of a forecast that only reads input.
void BM_NumberRuleOf80GridTexts(benchmark::State &state)
{
    const engine::GridTexts grid = sixteenRunners();
    for (auto _ : state) {
        double sum = 0;
        for (const auto &row : grid.rows) {
            for (const std::string &text : row)
                sum += engine::numberOf(text);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_NumberRuleOf80GridTexts);

} // namespace

BENCHMARK_MAIN();
