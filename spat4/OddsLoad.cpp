#include "OddsLoad.h"

#include "NumberRule.h"
#include "OddsFileReader.h"
#include "RaceCard.h"
#include "Unicode.h"
#include "Venues.h"

#include <cmath>

namespace spat4 {

std::string venueProbe(int venueCode)
{
    return spat4FileName(venueCode, "???");
}

std::string raceProbe(int venueCode, int race)
{
    return spat4FileName(venueCode, std::string("??") + raceCharacter(race));
}

std::variant<LoadPlan, LoadProblem> planLoad(const Spat4Folder &folder, int venueCode, int race)
{
    using Kind = LoadProblem::Kind;
    const Venue *venue = venueOf(venueCode);
    const char raceChar = raceCharacter(race);
    // The window only offers the venues and races of a day; anything else is no selection.
    if (venue == nullptr || raceChar == 0)
        return LoadProblem{Kind::NoSelection, {}};

    const std::string pattern = raceProbe(venueCode, race);
    const auto entry = firstMatch(folder.list(), pattern);
    if (!entry)
        return LoadProblem{Kind::NoMatchingFile, pattern};

    auto read = readOddsFile(entry->path, folder.readPacing());
    if (auto *problem = std::get_if<LoadProblem>(&read))
        return LoadProblem{problem->kind, entry->name};
    return planFromOddsFile(std::get<OddsFile>(read), venueCode, race, pathText(entry->path));
}

std::variant<LoadPlan, LoadProblem> planFromOddsFile(const OddsFile &file, int venueCode, int race,
                                                     const std::string &filePath)
{
    using Kind = LoadProblem::Kind;
    const Venue *venue = venueOf(venueCode);
    const char raceChar = raceCharacter(race);
    if (venue == nullptr || raceChar == 0)
        return LoadProblem{Kind::NoSelection, {}};

    const std::string countField = file.runnerCountField();
    if (!engine::holdsNumber(countField))
        return LoadProblem{Kind::RunnerCountNotANumber, countField};
    const auto count = engine::wholeNumberOf(countField);
    if (!count || *count < engine::kMinRunners || *count > engine::kMaxRunners) {
        const std::string asRead =
            count ? std::to_string(*count) : engine::shortestDecimal(engine::numberOf(countField));
        return LoadProblem{Kind::RunnerCountOutOfRange, asRead};
    }

    LoadPlan plan;
    plan.filePath = filePath;
    plan.modified = file.modified;
    plan.headerText = file.headerText();
    plan.runnerCount = *count;
    plan.raceChar = raceChar;
    plan.raceNumber = static_cast<std::int16_t>(race);
    plan.venueName = venue->name;
    plan.title = withoutLeadingBlanks(file.titleField());
    for (std::size_t k = 1; k <= kRecordCount; ++k) {
        plan.lowText[k - 1] = file.lowOddsField(static_cast<int>(k));
        plan.highText[k - 1] = file.highOddsField(static_cast<int>(k));
    }
    for (int k = 1; k <= plan.runnerCount; ++k) {
        const double low = engine::numberOf(plan.lowText[k - 1]);
        const double high = engine::numberOf(plan.highText[k - 1]);
        // Any finite value goes into its box whole, as its shortest text: the boxes' five-character
        // limit is for typing, and the forecast then reads the same value the file gave.
        if (!std::isfinite(low) || !std::isfinite(high))
            return LoadProblem{Kind::OddsNotFinite, std::to_string(k)};
        plan.lowValue[k - 1] = low;
        plan.highValue[k - 1] = high;
    }
    return plan;
}

} // namespace spat4
