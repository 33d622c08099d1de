#pragma once

#include "LoadProblem.h"
#include "OddsFileLayout.h"
#include "Spat4Folder.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <variant>

namespace spat4 {

std::string venueProbe(int venueCode);          // "ZO-56???.PAT"
std::string raceProbe(int venueCode, int race); // "ZO-61??A.PAT"

// Everything the odds loader writes to the window, read and checked before anything changes.
struct LoadPlan {
    std::string filePath;                           // OddsFilePath (UTF-8)
    std::chrono::system_clock::time_point modified; // the file's last-modified time
    std::string headerText;                         // the header window (UTF-8)
    std::int16_t runnerCount = 0;                   // within the runner range
    char raceChar = 0;                              // '1'..'9', 'A', 'B', 'C'
    std::int16_t raceNumber = 0;                    // 1..12
    std::string venueName;                          // for Label22
    std::string title;                              // the title field, leading blanks removed
    // Element k - 1 belongs to horse k. The texts are those of all records; the numbers are
    // filled for horses 1..runnerCount only (the rest stay 0 and are not for the window).
    std::array<std::string, kRecordCount> lowText, highText;  // the odds texts of every record
    std::array<double, kRecordCount> lowValue{}, highValue{}; // their numbers
};

// The odds loader without the window: find the race's file, read both windows and every field,
// and check that the file can be used, so the window changes nothing unless all is well.
// venueCode 0 or race 0 means not chosen; so does a code that is not one of kVenues or a race
// outside 1..kRacesPerDay. The folder is listed anew on every call.
std::variant<LoadPlan, LoadProblem> planLoad(const Spat4Folder &folder, int venueCode, int race);

// The checks and fields of planLoad for a file already read (filePath goes to the plan as is).
struct OddsFile;
std::variant<LoadPlan, LoadProblem> planFromOddsFile(const OddsFile &file, int venueCode, int race,
                                                     const std::string &filePath);

} // namespace spat4
