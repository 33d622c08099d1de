#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

// The layout of a SPAT4 place-odds file as far as the program reads it: its name and the two
// windows of its content. The reader takes files apart by it and the sample writer puts them
// together by it.
namespace spat4 {

// The name: "ZO-", the two-digit venue code, two characters nobody interprets, the race
// character, ".PAT"; "ZO-6101B.PAT" is 大井 race 11.
inline constexpr std::string_view kNamePrefix = "ZO-";
inline constexpr std::string_view kNameSuffix = ".PAT";
inline constexpr std::size_t kNameCharacters = 12; // an 8.3 name

// "ZO-" + code + what follows the code up to ".PAT" (a probe's "???" or "??A", a file's "01A").
inline std::string spat4FileName(int venueCode, std::string_view afterCode)
{
    return std::string(kNamePrefix) + std::to_string(venueCode) + std::string(afterCode) +
           std::string(kNameSuffix);
}

// Races 1 to 12 of a day; in a name, "1" to "9" stand for races 1 to 9, then "A", "B", "C".
inline constexpr int kRacesPerDay = 12;
inline constexpr std::string_view kRaceCharacters = "123456789ABC";

// Race 1..12 as its name character; 0 for anything else.
constexpr char raceCharacter(int race)
{
    return (race >= 1 && race <= kRacesPerDay) ? kRaceCharacters[race - 1] : 0;
}

// The race a name character stands for; 0 for any other character.
constexpr int raceNumberOf(char raceChar)
{
    const std::size_t at = kRaceCharacters.find(raceChar);
    return (raceChar != 0 && at != std::string_view::npos) ? static_cast<int>(at) + 1 : 0;
}

// The content. Positions count characters from 1 (a double-byte character is one character),
// except the odds window's start, which is a byte offset: a double-byte title does not move the
// odds.
inline constexpr std::size_t kHeaderCharacters = 600;
inline constexpr std::size_t kTitleFirst = 69, kTitleWidth = 19;
inline constexpr std::size_t kRunnerCountFirst = 155, kRunnerCountWidth = 2;
inline constexpr std::size_t kOddsWindowSkippedBytes = 675;
// The odds window: one record per horse 1..16, back to back.
inline constexpr std::size_t kRecordCount = 16;
inline constexpr std::size_t kRecordCharacters = 17;
inline constexpr std::size_t kOddsCharacters = kRecordCount * kRecordCharacters;
// Within a record: characters 1-7 are not read, then the lower and the upper place odds.
inline constexpr std::size_t kLowOddsFirst = 8, kHighOddsFirst = 13, kOddsWidth = 5;

// A Shift-JIS character takes at most two bytes, so these many bytes always hold both windows;
// nothing past them is ever read, however large the file.
inline constexpr std::size_t kBytesNeeded =
    std::max(kHeaderCharacters * 2, kOddsWindowSkippedBytes + kOddsCharacters * 2);

} // namespace spat4
