// make-spat4-sample: writes SPAT4 place-odds files for trying the program without the client.
#include "SampleWriter.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;
namespace sample = spat4::sample;

namespace {

constexpr std::string_view kUsage = R"(Usage:
  make-spat4-sample --demo WINEPREFIX
      Creates WINEPREFIX/drive_c/Program Files/南関東４競馬場/ and writes three races of
      each venue (浦和 56, 川崎 62, 大井 61, 船橋 57) with 8 to 16 runners.
      Run the program with WINEPREFIX=WINEPREFIX to read them.

  make-spat4-sample --file FOLDER --venue CODE --race CHAR [--free XY] [--title TEXT]
                    [--runners TEXT] [--odds LOW:HIGH,LOW:HIGH,...]
      Writes one file FOLDER/ZO-<CODE><XY><CHAR>.PAT (FOLDER must exist).
      --venue   venue code, e.g. 61
      --race    race character: 1-9, A (10), B (11), C (12); any other character is
                written as given
      --free    the two name characters the reader ignores (default 01)
      --title   race title, UTF-8, at most 19 characters (default empty)
      --runners runner-count field text, at most 2 characters (default 8)
      --odds    odds texts of horses 1, 2, ... as LOW:HIGH pairs, each text at most
                5 characters, e.g. 1.2:1.5,10.5:14.2; horses not given are blank

  make-spat4-sample --help
      Shows this text.
)";

int fail(const std::string &message)
{
    std::cerr << "make-spat4-sample: " << message << "\n";
    return 2;
}

std::string pathText(const fs::path &p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// "1.2:1.5,10.5:14.2" into records; an empty optional for a malformed list.
std::optional<std::vector<sample::SampleRecord>> parseOdds(std::string_view list)
{
    std::vector<sample::SampleRecord> records;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view pair = list.substr(0, comma);
        const std::size_t colon = pair.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        records.push_back(
            {std::string(pair.substr(0, colon)), std::string(pair.substr(colon + 1))});
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return records;
}

int runDemo(const fs::path &prefix)
{
    const fs::path folder = sample::demoFolder(prefix);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return fail("cannot create " + pathText(folder) + ": " + ec.message());
    for (const sample::SampleFile &race : sample::demoRaces()) {
        auto written = sample::writeSampleFile(folder, race);
        if (auto *e = std::get_if<sample::SampleError>(&written))
            return fail(e->message);
        std::cout << pathText(std::get<fs::path>(written)) << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::cout << kUsage;
        return argc < 2 ? 2 : 0;
    }
    const std::string_view mode = argv[1];
    if (mode == "--demo") {
        if (argc != 3)
            return fail("--demo takes one WINEPREFIX folder");
        return runDemo(fs::path(std::u8string(argv[2], argv[2] + std::strlen(argv[2]))));
    }
    if (mode != "--file" || argc < 3)
        return fail("unknown command; see --help");

    const std::string folderArg = argv[2];
    const fs::path folder(std::u8string(folderArg.begin(), folderArg.end()));
    sample::SampleFile file;
    bool haveVenue = false, haveRace = false;
    for (int i = 3; i < argc; i += 2) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc)
            return fail("option " + std::string(option) + " needs a value");
        const std::string value = argv[i + 1];
        if (option == "--venue") {
            std::size_t used = 0;
            try {
                file.venueCode = std::stoi(value, &used);
            } catch (const std::exception &) {
                used = 0;
            }
            if (used != value.size() || file.venueCode < 0)
                return fail("--venue wants a number such as 61, not " + value);
            haveVenue = true;
        } else if (option == "--race") {
            if (value.size() != 1)
                return fail("--race wants one character such as 1 or B, not " + value);
            file.raceChar = value[0];
            haveRace = true;
        } else if (option == "--free") {
            if (value.size() != 2)
                return fail("--free wants two characters, not " + value);
            file.freeChars = value;
        } else if (option == "--title") {
            file.title = value;
        } else if (option == "--runners") {
            file.runnerField = value;
        } else if (option == "--odds") {
            auto records = parseOdds(value);
            if (!records)
                return fail("--odds wants LOW:HIGH pairs separated by commas");
            file.records = *records;
        } else {
            return fail("unknown option " + std::string(option) + "; see --help");
        }
    }
    if (!haveVenue || !haveRace)
        return fail("--file needs --venue and --race");

    auto written = sample::writeSampleFile(folder, file);
    if (auto *e = std::get_if<sample::SampleError>(&written))
        return fail(e->message);
    std::cout << pathText(std::get<fs::path>(written)) << "\n";
    return 0;
}
