#include "OddsLoad.h"

#include "NumberRule.h"
#include "OddsFileReader.h"

#include <cmath>

namespace spat4 {

namespace {

// The odds boxes take five characters; a longer text would be cut and read back as another
// number by the forecast.
constexpr std::size_t kOddsBoxLength = 5;
constexpr std::int16_t kFewestRunners = 8, kMostRunners = 16;

const Venue *venueOf(int code)
{
    for (const Venue &v : kVenues)
        if (v.code == code)
            return &v;
    return nullptr;
}

bool displayable(double value)
{
    return std::isfinite(value) && engine::shortestDecimal(value).size() <= kOddsBoxLength;
}

std::string utf8Path(const std::filesystem::path &p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

} // namespace

char raceCharacter(int race)
{
    static constexpr char kRaceCharacters[] = "123456789ABC";
    return (race >= 1 && race <= 12) ? kRaceCharacters[race - 1] : 0;
}

int raceNumberOf(char raceChar)
{
    for (int race = 1; race <= 12; ++race)
        if (raceCharacter(race) == raceChar)
            return race;
    return 0;
}

std::string venueProbe(int venueCode)
{
    return "ZO-" + std::to_string(venueCode) + "???.PAT";
}

std::string raceProbe(int venueCode, int race)
{
    return "ZO-" + std::to_string(venueCode) + "??" + std::string(1, raceCharacter(race)) + ".PAT";
}

std::variant<LoadPlan, LoadProblem> planLoad(const Spat4Folder &folder, int venueCode, int race)
{
    using Kind = LoadProblem::Kind;
    const Venue *venue = venueOf(venueCode);
    const char raceChar = raceCharacter(race);
    // The window only offers the four venues and races 1..12; anything else is no selection.
    if (venue == nullptr || raceChar == 0)
        return LoadProblem{Kind::NoSelection, {}};

    const std::string pattern = raceProbe(venueCode, race);
    const auto entry = firstMatch(folder.list(), pattern);
    if (!entry)
        return LoadProblem{Kind::NoMatchingFile, pattern};

    auto read = readOddsFile(entry->path);
    if (auto *problem = std::get_if<LoadProblem>(&read))
        return LoadProblem{problem->kind, entry->name};
    return planFromOddsFile(std::get<OddsFile>(read), venueCode, race, utf8Path(entry->path));
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
    const auto count = engine::wholeNumberOf(countField);
    if (!count || *count < kFewestRunners || *count > kMostRunners)
        return LoadProblem{Kind::BadRunnerCount, countField};

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
        if (!displayable(low) || !displayable(high))
            return LoadProblem{Kind::OddsNotDisplayable, std::to_string(k)};
        plan.lowValue[k - 1] = low;
        plan.highValue[k - 1] = high;
    }
    return plan;
}

} // namespace spat4
