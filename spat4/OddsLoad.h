#pragma once

#include "Spat4Folder.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <variant>

namespace spat4 {

// The four Southern-Kanto venues and their codes in SPAT4 file names.
struct Venue {
    int code;         // 56, 62, 61, 57
    const char *name; // "浦和", "川崎", "大井", "船橋" (UTF-8)
};
inline constexpr std::array<Venue, 4> kVenues{
    {{56, "浦和"}, {62, "川崎"}, {61, "大井"}, {57, "船橋"}}};

// Race 1..12 as its file-name character "1".."9", "A", "B", "C"; 0 for anything else.
char raceCharacter(int race);
int raceNumberOf(char raceChar);

std::string venueProbe(int venueCode);          // "ZO-56???.PAT"
std::string raceProbe(int venueCode, int race); // "ZO-61??A.PAT"

// Everything the odds loader writes to the window, read and checked before anything changes.
struct LoadPlan {
    std::string filePath;                           // OddsFilePath (UTF-8)
    std::chrono::system_clock::time_point modified; // the file's last-modified time
    std::string headerText;                         // the 600-character header window (UTF-8)
    std::int16_t runnerCount = 0;                   // 8..16
    char raceChar = 0;                              // '1'..'9', 'A', 'B', 'C'
    std::int16_t raceNumber = 0;                    // 1..12
    std::string venueName;                          // for Label22
    std::string title;                              // characters 69..87, leading blanks removed
    // Element k - 1 belongs to horse k. The texts are those of all 16 records; the numbers are
    // filled for horses 1..runnerCount only (the rest stay 0 and are not for the window).
    std::array<std::string, 16> lowText, highText;  // the 5-character odds texts of records 1..16
    std::array<double, 16> lowValue{}, highValue{}; // their numbers (only 1..runnerCount used)
};

// Why a load cannot go ahead; the window shows a message and changes nothing.
struct LoadProblem {
    enum class Kind {
        NoSelection,           // venue without race, race without venue, or neither
        NoMatchingFile,        // the race probe matches nothing
        FileUnreadable,        // vanished since the listing, no permission, not a file
        TooShortForHeader,     // fewer than 600 characters
        TooShortForOdds,       // fewer than 675 bytes plus 272 characters
        RunnerCountNotANumber, // the field holds no number at all
        RunnerCountOutOfRange, // the field's number, rounded, is not 8 to 16
        OddsNotFinite,         // an odds field of horses 1..runnerCount reads as infinity
    };
    Kind kind;
    // What a message needs, UTF-8:
    //   NoSelection                     empty
    //   NoMatchingFile                  the probe's name part, "ZO-61??A.PAT"
    //   FileUnreadable, TooShortFor...  the file name, "ZO-6101A.PAT"
    //   RunnerCountNotANumber           the two characters of the field as read, " X"
    //   RunnerCountOutOfRange           the count as read, in plain decimal, "7", "17", "-8"
    //   OddsNotFinite                   the horse number of the first bad record, "7"
    std::string detail;
};

// The odds loader without the window: find the race's file, read both windows and every field,
// and check that the file can be used, so the window changes nothing unless all is well.
// venueCode 0 or race 0 means not chosen; so does a code that is not one of kVenues or a race
// outside 1..12. The folder is listed anew on every call.
std::variant<LoadPlan, LoadProblem> planLoad(const Spat4Folder &folder, int venueCode, int race);

// The checks and fields of planLoad for a file already read (filePath goes to the plan as is).
struct OddsFile;
std::variant<LoadPlan, LoadProblem> planFromOddsFile(const OddsFile &file, int venueCode, int race,
                                                     const std::string &filePath);

} // namespace spat4
