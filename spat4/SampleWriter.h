#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Writes SPAT4 place-odds files to the layout the reader expects, for the sample tool and for
// the tests' fixtures. Kept apart from the spat4 library, which never writes a file.
namespace spat4::sample {

// The two odds texts of one horse record as they stand in the file (each at most 5 characters,
// right-aligned with blanks).
struct SampleRecord {
    std::string low, high;
};

struct SampleFile {
    int venueCode = 61;
    char raceChar = '1';               // '1'..'9', 'A'..'C'; any other character for odd names
    std::string freeChars = "01";      // name characters 6-7, never interpreted by the reader
    std::string title;                 // UTF-8, at most 19 characters, padded with blanks after
    std::string runnerField = "8";     // UTF-8, at most 2 characters, right-aligned
    std::vector<SampleRecord> records; // horses 1.. in order; missing ones blank; one per record
};

struct SampleError {
    std::string message;
};

// UTF-8 text in Shift-JIS bytes (ASCII unchanged), for fixtures built byte by byte.
std::variant<std::string, SampleError> shiftJisOf(std::string_view utf8);

// "ZO-" + code + free characters + race character + ".PAT".
std::string sampleFileName(const SampleFile &file);

// The file's bytes in Shift-JIS: the header window, blanks up to the odds window's first byte,
// then the odds window and a line break.
std::variant<std::string, SampleError> sampleFileBytes(const SampleFile &file);

// Writes the file into folder (which must exist) under its sample name; the path written.
std::variant<std::filesystem::path, SampleError>
writeSampleFile(const std::filesystem::path &folder, const SampleFile &file);

// "<prefix>/drive_c/Program Files/南関東４競馬場": where the client under Wine keeps its files.
std::filesystem::path demoFolder(const std::filesystem::path &winePrefix);

// A few races of each of the four venues, with runner counts from 8 to 16 and plausible odds.
std::vector<SampleFile> demoRaces();

} // namespace spat4::sample
