#include "SampleWriter.h"

#include "Cp932.h"
#include "OddsFileLayout.h"

#include <cstdio>
#include <fstream>
#include <memory>

namespace spat4::sample {

namespace fs = std::filesystem;

namespace {

// UTF-8 split into characters, one string each; a byte that starts no valid sequence alone.
std::vector<std::string> charactersOf(std::string_view s)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (i + n > s.size())
            n = 1;
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

// One character to Shift-JIS; ASCII is written as is (some converters swap 0x1A, 0x1C, 0x7F).
std::optional<std::string> characterInShiftJis(const std::string &character)
{
    if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80)
        return character;
    // Decode the one UTF-8 character.
    const auto b = static_cast<unsigned char>(character[0]);
    const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0 || character.size() != static_cast<std::size_t>(extra) + 1)
        return std::nullopt;
    char32_t cp = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(character[k]) & 0x3F);
    return cp932::fromUnicode(cp);
}

// Places text into the character grid at first, padded to width on the chosen side.
std::optional<SampleError> place(std::vector<std::string> &grid, std::size_t first,
                                 std::size_t width, std::string_view text, bool rightAligned,
                                 const char *what)
{
    const std::vector<std::string> chars = charactersOf(text);
    if (chars.size() > width)
        return SampleError{std::string(what) + " is longer than " + std::to_string(width) +
                           " characters: " + std::string(text)};
    const std::size_t start = first - 1 + (rightAligned ? width - chars.size() : 0);
    for (std::size_t i = 0; i < chars.size(); ++i)
        grid[start + i] = chars[i];
    return std::nullopt;
}

std::variant<std::string, SampleError> encode(const std::vector<std::string> &grid)
{
    std::string out;
    for (const std::string &ch : grid) {
        const auto bytes = characterInShiftJis(ch);
        if (!bytes)
            return SampleError{"not a Shift-JIS character: " + ch};
        out += *bytes;
    }
    return out;
}

} // namespace

std::variant<std::string, SampleError> shiftJisOf(std::string_view utf8)
{
    return encode(charactersOf(utf8));
}

std::string sampleFileName(const SampleFile &file)
{
    return spat4FileName(file.venueCode, file.freeChars + file.raceChar);
}

std::variant<std::string, SampleError> sampleFileBytes(const SampleFile &file)
{
    if (file.records.size() > kRecordCount)
        return SampleError{"more than " + std::to_string(kRecordCount) + " horse records"};

    std::vector<std::string> header(kHeaderCharacters, " ");
    // The client's own header text is not read; a name and line breaks make the file look
    // like a text file in an editor.
    if (auto e = place(header, 1, kNameCharacters, sampleFileName(file), false, "file name"))
        return *e;
    header[kHeaderCharacters - 2] = "\r";
    header[kHeaderCharacters - 1] = "\n";
    if (auto e = place(header, kTitleFirst, kTitleWidth, file.title, false, "title"))
        return *e;
    if (auto e = place(header, kRunnerCountFirst, kRunnerCountWidth, file.runnerField, true,
                       "runner count"))
        return *e;

    auto headerBytes = encode(header);
    if (auto *e = std::get_if<SampleError>(&headerBytes))
        return *e;
    std::string bytes = std::get<std::string>(std::move(headerBytes));
    // The odds window starts at a byte offset, whatever the header's characters take.
    if (bytes.size() > kOddsWindowSkippedBytes)
        return SampleError{"the header takes more than " + std::to_string(kOddsWindowSkippedBytes) +
                           " bytes"};
    bytes.resize(kOddsWindowSkippedBytes, ' ');

    std::vector<std::string> odds;
    for (std::size_t k = 1; k <= kRecordCount; ++k) {
        std::vector<std::string> record(kRecordCharacters, " ");
        const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
        place(record, 1, 2, number, false, "horse number");
        if (k <= file.records.size()) {
            const SampleRecord &r = file.records[k - 1];
            if (auto e = place(record, kLowOddsFirst, kOddsWidth, r.low, true, "lower odds"))
                return *e;
            if (auto e = place(record, kHighOddsFirst, kOddsWidth, r.high, true, "upper odds"))
                return *e;
        }
        odds.insert(odds.end(), record.begin(), record.end());
    }
    odds.push_back("\r");
    odds.push_back("\n");
    auto oddsBytes = encode(odds);
    if (auto *e = std::get_if<SampleError>(&oddsBytes))
        return *e;
    return bytes + std::get<std::string>(oddsBytes);
}

std::variant<fs::path, SampleError> writeSampleFile(const fs::path &folder, const SampleFile &file)
{
    auto bytes = sampleFileBytes(file);
    if (auto *e = std::get_if<SampleError>(&bytes))
        return *e;
    const fs::path path = folder / sampleFileName(file);
    std::ofstream out(path, std::ios::out | std::ios::binary | std::ios::trunc);
    const std::string &data = std::get<std::string>(bytes);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out)
        return SampleError{"cannot write " + sampleFileName(file)};
    return path;
}

fs::path demoFolder(const fs::path &winePrefix)
{
    return winePrefix / "drive_c" / "Program Files" / fs::path(u8"南関東４競馬場");
}

std::vector<SampleFile> demoRaces()
{
    struct DemoRace {
        int code;
        char raceChar;
        const char *title;
        int runners;
    };
    // clang-format off
    static const DemoRace kRaces[] = {
        {56, '1', "Ｃ３一　　　",         8},
        {56, '7', "桜草特別",             11},
        {56, 'B', "浦和記念",             14},
        {62, '2', "ｻﾗﾌﾞﾚｯﾄ系３歳",       10},
        {62, '9', "スパーキングナイト賞",  12},
        {62, 'C', "川崎記念",             16},
        {61, '1', "  Ｃ２九十",           9},
        {61, '3', "東京湾カップ",          13},
        {61, 'B', "東京大賞典",            16},
        {57, '4', "船橋ナイター特別",      15},
        {57, 'A', "かしわ記念",            12},
        {57, 'C', "船橋最終",              8},
    };
    // clang-format on
    std::vector<SampleFile> files;
    for (const DemoRace &race : kRaces) {
        SampleFile f;
        f.venueCode = race.code;
        f.raceChar = race.raceChar;
        f.freeChars = "01";
        f.title = race.title;
        f.runnerField = std::to_string(race.runners);
        // A spread from a favourite near 1.1 to outsiders beyond 10, the same on every run.
        for (int k = 1; k <= static_cast<int>(kRecordCount); ++k) {
            const int tenths = 11 + ((k * 37 + race.code * 11 + race.raceChar) % 150);
            const int spread = tenths / 3 + 2 + (k % 4);
            char low[16], high[16];
            std::snprintf(low, sizeof low, "%d.%d", tenths / 10, tenths % 10);
            std::snprintf(high, sizeof high, "%d.%d", (tenths + spread) / 10,
                          (tenths + spread) % 10);
            f.records.push_back({low, high});
        }
        files.push_back(f);
    }
    return files;
}

} // namespace spat4::sample
