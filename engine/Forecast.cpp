#include "Forecast.h"

#include "NumberRule.h"

#include <cmath>
#include <optional>
#include <utility>

namespace engine {

namespace {

bool isIntakeCount(int n)
{
    return n >= kMinRunners && n <= kMaxRunners;
}

// The sum of one horse's numbers as a 16-bit machine adds them: PrevRace2 + PrevRace3 first,
// then PrevRace1. Empty when either addition leaves the 16-bit range.
std::optional<std::int16_t> formSum(std::int16_t race2, std::int16_t race3, std::int16_t race1)
{
    const int partial = race2 + race3;
    if (partial < -32768 || partial > 32767)
        return std::nullopt;
    const int total = partial + race1;
    if (total < -32768 || total > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(total);
}

std::optional<ForecastError> checkLimits(const RaceCard &card)
{
    for (int i = 1; i <= card.RunnerCount; ++i) {
        if (!formSum(card.PrevRace2[i], card.PrevRace3[i], card.PrevRace1[i]))
            return ForecastError{ForecastError::Kind::FormSumOutOfRange, i, Column::PrevRace3};
        if (!std::isfinite(card.PlaceOddsLow[i]))
            return ForecastError{ForecastError::Kind::OddsNotFinite, i, Column::PlaceOddsLow};
        if (!std::isfinite(card.PlaceOddsHigh[i]))
            return ForecastError{ForecastError::Kind::OddsNotFinite, i, Column::PlaceOddsHigh};
        if (!std::isfinite(card.PlaceOddsHigh[i] + card.PlaceOddsLow[i]))
            return ForecastError{ForecastError::Kind::OddsMidNotFinite, i, Column::PlaceOddsLow};
    }
    return std::nullopt;
}

} // namespace

void stableAscendingRank(const HorseArray<double> &values, int n, HorseArray<std::int16_t> &rank,
                         HorseArray<std::int16_t> &tieCount)
{
    for (int i = 1; i <= n; ++i) {
        std::int16_t count = 0;
        for (int j = 1; j <= n; ++j)
            if (values[i] >= values[j])
                ++count;
        rank[i] = count;
    }
    // After the count, a group of k equal values all hold the group's highest rank. Walking the
    // rows in order, each row counts the rows that still share its rank (earlier rows of the
    // group have already moved down) and steps back by that count less one.
    for (int i = 1; i <= n; ++i) {
        std::int16_t same = 0;
        for (int j = 1; j <= n; ++j)
            if (rank[j] == rank[i])
                ++same;
        tieCount[i] = same;
        if (same >= 2 && same <= 16)
            rank[i] = static_cast<std::int16_t>(rank[i] - (same - 1));
    }
}

std::variant<RaceCard, ForecastError> intake(const RaceCard &card, const GridTexts &grid)
{
    if (card.RunnerCount < 0 || card.RunnerCount >= kArraySize)
        return ForecastError{ForecastError::Kind::RunnerCountOutOfRange, 0, Column::PrevRace3};

    RaceCard next = card;
    if (isIntakeCount(next.RunnerCount)) {
        for (int i = 1; i <= next.RunnerCount; ++i) {
            const std::array<std::pair<Column, HorseArray<std::int16_t> *>, 3> wholeFields{{
                {Column::PrevRace3, &next.PrevRace3},
                {Column::PrevRace2, &next.PrevRace2},
                {Column::PrevRace1, &next.PrevRace1},
            }};
            for (const auto &[column, array] : wholeFields) {
                const auto value = wholeNumberOf(grid.at(i, column));
                if (!value)
                    return ForecastError{ForecastError::Kind::WholeNumberOutOfRange, i, column};
                (*array)[i] = *value;
            }
            next.PlaceOddsLow[i] = numberOf(grid.at(i, Column::PlaceOddsLow));
            next.PlaceOddsHigh[i] = numberOf(grid.at(i, Column::PlaceOddsHigh));
        }
    }
    if (const auto error = checkLimits(next))
        return *error;
    return next;
}

void rateForm(const RaceCard &card, FormRating &form)
{
    const int n = card.RunnerCount;
    for (int i = 1; i <= n; ++i) {
        std::int16_t missing = 0;
        for (const auto value : {card.PrevRace3[i], card.PrevRace2[i], card.PrevRace1[i]})
            if (value == 0)
                ++missing;
        form.MissingCount[i] = missing;
        form.FormDivisor[i] = static_cast<std::int16_t>(missing == 3 ? 1 : 3 - missing);
        // intake() has checked that the sum stays in range.
        const std::int16_t sum = *formSum(card.PrevRace2[i], card.PrevRace3[i], card.PrevRace1[i]);
        form.FormAverage[i] = static_cast<double>(sum) / form.FormDivisor[i];
    }
    stableAscendingRank(form.FormAverage, n, form.FormRank, form.FormTieCount);
}

MarkSlots rateOddsAndSelect(const RaceCard &card, const FormRating &form, OddsRating &odds)
{
    const int n = card.RunnerCount;
    for (int i = 1; i <= n; ++i)
        odds.OddsMid[i] = (card.PlaceOddsHigh[i] + card.PlaceOddsLow[i]) / 2;
    stableAscendingRank(odds.OddsMid, n, odds.OddsRank, odds.OddsTieCount);

    for (int i = 1; i <= n; ++i) {
        // Four tests in this order, each later one overriding an earlier one.
        if (form.FormRank[i] == odds.OddsRank[i])
            odds.MarkEligible[i] = 1;
        if (form.FormRank[i] > odds.OddsRank[i])
            odds.MarkEligible[i] = 1;
        if (form.FormRank[i] < odds.OddsRank[i])
            odds.MarkEligible[i] = 0;
        if (form.FormAverage[i] == 0 && odds.OddsMid[i] == 0)
            odds.MarkEligible[i] = 0;
        odds.PickScore[i] = odds.MarkEligible[i] == 1 ? odds.OddsRank[i] : std::int16_t{100};
    }
    for (int i = 1; i <= n; ++i) {
        std::int16_t order = 0;
        for (int j = 1; j <= n; ++j)
            if (odds.PickScore[i] >= odds.PickScore[j])
                ++order;
        odds.PickOrder[i] = order;
    }

    MarkSlots slots{};
    for (int i = 1; i <= n; ++i) {
        const int k = odds.PickOrder[i];
        if (k >= 1 && k <= 5)
            slots[k - 1] = static_cast<std::int16_t>(i);
    }
    return slots;
}

std::string numberCaption(std::int16_t horse)
{
    const std::string suffix = "\u3000番";
    return horse == 0 ? suffix : std::to_string(horse) + suffix;
}

std::string pairCaption(std::int16_t firstSlotHorse, std::int16_t secondSlotHorse)
{
    // An empty slot counts as 0 in the order and adds no text to the caption.
    const auto text = [](std::int16_t horse) {
        return horse == 0 ? std::string() : std::to_string(horse);
    };
    if (firstSlotHorse < secondSlotHorse)
        return text(firstSlotHorse) + " - " + text(secondSlotHorse);
    return text(secondSlotHorse) + " - " + text(firstSlotHorse);
}

ResultTexts resultTexts(const MarkSlots &slots)
{
    ResultTexts texts;
    for (int k = 0; k < 5; ++k)
        texts.numberCaptions[k] = numberCaption(slots[k]);
    // ◎–○, ◎–▲, ○–▲, ◎–△, ◎–△ as slot indexes.
    constexpr std::array<std::pair<int, int>, 5> pairs{{{0, 1}, {0, 2}, {1, 2}, {0, 3}, {0, 4}}};
    for (int p = 0; p < 5; ++p)
        texts.pairCaptions[p] = pairCaption(slots[pairs[p].first], slots[pairs[p].second]);
    return texts;
}

std::variant<ForecastResult, ForecastError> runForecast(RaceCard &card, FormRating &form,
                                                        OddsRating &odds, const GridTexts &grid)
{
    auto next = intake(card, grid);
    if (auto *error = std::get_if<ForecastError>(&next))
        return *error;
    card = std::get<RaceCard>(std::move(next));

    rateForm(card, form);
    ForecastResult result;
    result.markSlots = rateOddsAndSelect(card, form, odds);
    result.texts = resultTexts(result.markSlots);
    return result;
}

} // namespace engine
