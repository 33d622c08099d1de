#include "OddsFileReader.h"
#include "Cp932.h"
#include "Spat4TestSupport.h"
#ifndef _WIN32
#include "Cp932IcuOracle.h"
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace spat4 {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string hex(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
        out += ' ';
    }
    return out;
}

TEST(OddsFileReaderTest, DecodesLikeWindowsCodePage932)
{
    struct Case {
        std::string bytes;
        std::size_t maxCharacters;
        std::u32string expected;
    };
    // clang-format off
    const Case cases[] = {
        {"\x1a\x1c\x7f",        10, U"\u001a\u001c\u007f"},  // ICU's table swaps these three
        {std::string("\0A", 2), 10, std::u32string(U"\0A", 2)},
        {"\xb1\xdf",            10, U"\uff71\uff9f"},        // half-width katakana, one byte each
        {"\x82\xa0" "A",        10, U"\u3042A"},
        {"\x81\x60",            10, U"\uff5e"},              // ～ as Windows has it, not 〜
        {"\x87\x40",            10, U"\u2460"},              // NEC row 13: ①
        {"\x80" "1",            10, U"\ufffd1"},
        {"\xa0\xfd\xfe\xff",    10, U"\ufffd\ufffd\ufffd\ufffd"},
        {"\x85\x40" "1",        10, U"\ufffd1"},             // unassigned pair: one character
        {"\x81 1",              10, U"\ufffd 1"},            // lead byte without trail byte
        {"\x81\r\n",            10, U"\ufffd\r\n"},
        {"12\x81",              10, U"12\ufffd"},            // lead byte at the very end
        {"\r\nab",               3, U"\r\na"},
        {"\x82\xa0\x82\xa2",     1, U"\u3042"},
        {"",                     5, U""},
    };
    // clang-format on
    for (const Case &c : cases)
        EXPECT_EQ(decodeCp932(c.bytes, c.maxCharacters), c.expected) << "bytes " << hex(c.bytes);
}

#ifndef _WIN32
// The whole input space of the converter, against ICU's windows-31j, which decoded it before:
// every single byte and every two-byte string (each lead byte with every trail byte, valid or
// not), and every character back to bytes, where ICU's bytes read back as the character (ICU
// alone writes U+F86F as 0x8782, which reads back as №; Windows writes nothing for it).
TEST(OddsFileReaderTest, EveryByteAndPairDecodesAsIcuDid)
{
    ASSERT_TRUE(test::icuOracle::available());
    int differences = 0;
    const auto compare = [&](std::string_view bytes) {
        const char32_t now = cp932::toUnicode(bytes), before = test::icuOracle::toUnicode(bytes);
        if (now != before && ++differences <= 10)
            ADD_FAILURE() << "bytes " << hex(bytes) << "now U+" << std::hex << unsigned(now)
                          << ", before U+" << unsigned(before);
    };
    for (int b = 0x80; b <= 0xFF; ++b)
        compare(std::string(1, static_cast<char>(b)));
    for (int lead = 0; lead <= 0xFF; ++lead)
        for (int trail = 0; trail <= 0xFF; ++trail)
            compare(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    EXPECT_EQ(differences, 0);

    int encoded = 0;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        std::optional<std::string> expected = test::icuOracle::fromUnicode(c);
        if (expected && test::icuOracle::toUnicode(*expected) != c)
            expected.reset();
        const std::optional<std::string> now = cp932::fromUnicode(c);
        encoded += now.has_value();
        if (now != expected && ++differences <= 10)
            ADD_FAILURE() << "U+" << std::hex << unsigned(c) << " now "
                          << (now ? hex(*now) : "nothing") << ", expected "
                          << (expected ? hex(*expected) : "nothing");
    }
    EXPECT_EQ(differences, 0);
    EXPECT_GT(encoded, 7000); // JIS X 0208, the NEC and IBM rows, the user-defined area
}
#endif

TEST(OddsFileReaderTest, FieldsAndTitleBlanks)
{
    const std::u32string window = U"abc馬de";
    EXPECT_EQ(fieldOf(window, 3, 3), "c馬d");
    EXPECT_EQ(fieldOf(window, 5, 5), "de"); // cut at the window's end
    EXPECT_EQ(fieldOf(window, 7, 2), "");
    EXPECT_EQ(fieldOf(window, 0, 2), "");

    struct Case {
        const char *text, *expected;
    };
    const Case titles[] = {
        {"  東京大賞典  ", "東京大賞典  "},
        {"東京大賞典", "東京大賞典"},
        {"　東京", "　東京"}, // a full-width blank is the title's own
        {"   ", ""},
        {"", ""},
    };
    for (const Case &c : titles)
        EXPECT_EQ(withoutLeadingBlanks(c.text), c.expected) << "title [" << c.text << "]";
}

// A header of 600 single- and double-byte characters and an odds window whose records start
// with double-byte text: fields stay at their character positions, the odds window at byte 676.
TEST(OddsFileReaderTest, CountsDoubleByteCharactersAsOne)
{
    struct Case {
        const char *name;
        std::string before;       // characters 1..68, bytes that may hold double-byte characters
        std::string recordPrefix; // characters 1..7 of every record, UTF-8
    };
    const Case cases[] = {
        {"single-byte", std::string(68, ' '), "01     "},
        {"double-byte before the title",
         test::shiftJis("２０２４年１２月２９日") + std::string(57, ' '), "０１番　　　Ａ"},
        {"invalid bytes before the title", std::string("\x80\xff\x85\x40") + std::string(65, ' '),
         "馬番01   "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // 68 characters, then the title, blanks, the runner count at 155-156, blanks to 600.
        std::string header = c.before + test::shiftJis("大井　東京大賞典") + std::string(11, ' ') +
                             std::string(67, ' ') + "12" + std::string(444, ' ');
        ASSERT_EQ(decodeCp932(header, 1000).size(), 600u);
        header.resize(675, ' ');
        std::string odds;
        for (int k = 1; k <= 16; ++k)
            odds += test::shiftJis(c.recordPrefix) + (k == 3 ? "  1.510.0 " : " 12.3 14.5");
        ASSERT_EQ(decodeCp932(odds, 1000).size(), 272u);

        TempDir dir;
        const fs::path path = dir.path() / "ZO-6101B.PAT";
        test::writeBytes(path, header + odds);
        auto read = readOddsFile(path);
        ASSERT_TRUE(std::holds_alternative<OddsFile>(read));
        const OddsFile &file = std::get<OddsFile>(read);
        EXPECT_EQ(file.titleField(), "大井　東京大賞典" + std::string(11, ' '));
        EXPECT_EQ(file.runnerCountField(), "12");
        EXPECT_EQ(file.lowOddsField(1), " 12.3");
        EXPECT_EQ(file.highOddsField(1), " 14.5");
        EXPECT_EQ(file.lowOddsField(3), "  1.5");
        EXPECT_EQ(file.highOddsField(3), "10.0 ");
        EXPECT_EQ(file.highOddsField(16), " 14.5");
        EXPECT_EQ(file.lowOddsField(17), "");
    }
}

TEST(OddsFileReaderTest, SizesAtTheEdges)
{
    using Kind = LoadProblem::Kind;
    struct Case {
        const char *name;
        std::string bytes;
        std::optional<Kind> problem;
    };
    const std::string jp600 = [] {
        std::string s;
        for (int i = 0; i < 600; ++i)
            s += "\x82\xa0";
        return s;
    }();
    const Case cases[] = {
        {"empty", "", Kind::TooShortForHeader},
        {"599 characters", std::string(599, ' '), Kind::TooShortForHeader},
        {"599 characters in 1198 bytes", jp600.substr(0, 1198), Kind::TooShortForHeader},
        {"600 characters", std::string(600, ' '), Kind::TooShortForOdds},
        {"946 bytes", std::string(946, ' '), Kind::TooShortForOdds},
        {"947 bytes", std::string(947, ' '), std::nullopt},
        // 1200 bytes but the odds window from byte 676 holds only 262 characters.
        {"double-byte to the end", jp600, Kind::TooShortForOdds},
        // The last character of the odds window is a lone lead byte: still one character.
        {"lone lead byte ends the odds window", std::string(946, ' ') + "\x81", std::nullopt},
    };
    for (const Case &c : cases) {
        TempDir dir;
        const fs::path path = dir.path() / "ZO-61011.PAT";
        test::writeBytes(path, c.bytes);
        const auto read = readOddsFile(path);
        if (c.problem) {
            ASSERT_TRUE(std::holds_alternative<LoadProblem>(read)) << c.name;
            EXPECT_EQ(std::get<LoadProblem>(read).kind, *c.problem) << c.name;
            EXPECT_EQ(std::get<LoadProblem>(read).detail, "ZO-61011.PAT") << c.name;
        } else {
            ASSERT_TRUE(std::holds_alternative<OddsFile>(read)) << c.name;
            EXPECT_EQ(std::get<OddsFile>(read).odds.size(), 272u) << c.name;
        }
    }
    TempDir dir;
    test::writeBytes(dir.path() / "x", std::string(946, ' ') + "\x81");
    const auto lone = std::get<OddsFile>(readOddsFile(dir.path() / "x"));
    EXPECT_EQ(lone.odds.back(), U'\ufffd');
}

// Only the bytes of the two windows are read: a 100 MB file (sparse where the file system
// allows) reads like a short one.
TEST(OddsFileReaderTest, LargeFileReadsOnlyItsWindows)
{
    TempDir dir;
    sample::SampleFile f;
    f.title = "大井記念";
    f.runnerField = "16";
    f.records = {{"1.1", "1.3"}};
    const fs::path path = dir.path() / "ZO-6101C.PAT";
    test::writeBytes(path, test::sampleBytes(f));
    fs::resize_file(path, 100u * 1024 * 1024);

    const auto read = readOddsFile(path);
    ASSERT_TRUE(std::holds_alternative<OddsFile>(read));
    EXPECT_EQ(std::get<OddsFile>(read).runnerCountField(), "16");
    EXPECT_EQ(std::get<OddsFile>(read).lowOddsField(1), "  1.1");
}

TEST(OddsFileReaderTest, UnreadableFiles)
{
    TempDir dir;
    fs::create_directories(dir.path() / "ZO-6101A.PAT");
    for (const char *name : {"ZO-6101A.PAT", "ZO-6101B.PAT"}) {
        const auto read = readOddsFile(dir.path() / name);
        ASSERT_TRUE(std::holds_alternative<LoadProblem>(read)) << name;
        EXPECT_EQ(std::get<LoadProblem>(read).kind, LoadProblem::Kind::FileUnreadable) << name;
        EXPECT_EQ(std::get<LoadProblem>(read).detail, name);
    }
}

TEST(OddsFileReaderTest, TimeStampIsTheFilesOwn)
{
    TempDir dir;
    const fs::path path = dir.path() / "ZO-57011.PAT";
    test::writeBytes(path, test::sampleBytes({}));
    // 2024-12-29 15:40:00 UTC, long before the test runs.
    const auto when = std::chrono::sys_seconds(std::chrono::seconds(1735486800));
    fs::last_write_time(path, std::chrono::file_clock::from_sys(when));
    const auto read = readOddsFile(path);
    ASSERT_TRUE(std::holds_alternative<OddsFile>(read));
    EXPECT_EQ(std::chrono::floor<std::chrono::seconds>(std::get<OddsFile>(read).modified), when);

    // Both platforms' time stamps (seconds and nanoseconds since 1970) become the clock's time;
    // one beyond what the clock counts (nanoseconds: the years 1678 to 2262) is held at its
    // end, never wrapped round to another time.
    using namespace std::chrono;
    using Clock = system_clock;
    const std::int64_t year2400 =
        sys_seconds(sys_days(year(2400) / 1 / 1)).time_since_epoch().count();
    const std::int64_t year1601 =
        sys_seconds(sys_days(year(1601) / 1 / 1)).time_since_epoch().count();
    EXPECT_EQ(systemTimeOf(1735486800, 5), Clock::time_point(seconds(1735486800)) +
                                               duration_cast<Clock::duration>(nanoseconds(5)));
    EXPECT_EQ(systemTimeOf(-1, 999'999'999),
              Clock::time_point(duration_cast<Clock::duration>(nanoseconds(-1))));
    EXPECT_EQ(systemTimeOf(year2400, 0), Clock::time_point::max());
    EXPECT_EQ(systemTimeOf(year1601, 0), Clock::time_point::min());
}

// The client at work between the reader's looks, scripted: each pause runs the next step (if
// any) at once instead of sleeping. A load takes a file only when two looks in a row agree on
// its bytes and its time stamp, and a file too short for the two windows only once it is a
// second old or the looks run out.
TEST(OddsFileReaderTest, TakesAFileOnlyWhenTwoLooksAgree)
{
    using Kind = LoadProblem::Kind;
    sample::SampleFile oldFile, newFile;
    oldFile.runnerField = "12";
    oldFile.records = {{"1.1", "1.3"}};
    newFile.runnerField = "10";
    newFile.records = {{"2.2", "2.4"}};
    const std::string oldBytes = test::sampleBytes(oldFile), newBytes = test::sampleBytes(newFile);
    // The new header over the old odds: what a client leaves that paused between its two writes.
    const std::string halfWritten =
        newBytes.substr(0, kOddsWindowSkippedBytes) + oldBytes.substr(kOddsWindowSkippedBytes);
    const auto earlier = std::chrono::sys_seconds(std::chrono::seconds(1735486800));

    struct Script final : ReadPacing {
        std::vector<std::function<void()>> steps;
        mutable std::size_t pauses = 0;
        void pause(std::chrono::milliseconds length) const override
        {
            EXPECT_EQ(length, kReadPause);
            if (pauses < steps.size())
                steps[pauses]();
            ++pauses;
        }
    };
    struct Case {
        const char *name;
        std::string before;                                       // the file at the first look
        std::vector<std::function<void(const fs::path &)>> steps; // one per pause
        std::optional<std::string> loads;                         // the bytes it loads, or
        Kind problem;                                             // the problem
        std::size_t pauses;
        bool writtenEarlier = false; // before dated `earlier` instead of now
    };
    const auto write = [](std::string bytes) {
        return [bytes](const fs::path &path) { test::writeBytes(path, bytes); };
    };
    const auto alternately = [&](int count) {
        std::vector<std::function<void(const fs::path &)>> steps;
        for (int i = 0; i < count; ++i)
            steps.push_back(write(i % 2 == 0 ? newBytes : oldBytes));
        return steps;
    };
    const std::size_t most = kMaxLooks - 1; // pauses of a load that never settles
    const Case cases[] = {
        {"settled", oldBytes, {}, oldBytes, {}, 1},
        {"second write during the first pause", halfWritten, {write(newBytes)}, newBytes, {}, 2},
        {"same bytes written again, a new time stamp",
         oldBytes,
         {[&](const fs::path &path) {
             fs::last_write_time(path, std::chrono::file_clock::from_sys(earlier));
         }},
         oldBytes,
         {},
         2},
        {"settles at the last look",
         oldBytes,
         alternately(static_cast<int>(most) - 1),
         (most - 2) % 2 == 0 ? newBytes : oldBytes,
         {},
         most},
        {"changes at every pause", oldBytes, alternately(static_cast<int>(most)), std::nullopt,
         Kind::FileNotSettled, most},
        // Gone after a look has read it: the client between deleting it and writing it anew.
        {"removed during the first pause",
         oldBytes,
         {[](const fs::path &path) { fs::remove(path); }},
         std::nullopt,
         Kind::FileNotSettled,
         most},
        // Too short, just written: the client may write the rest at any moment.
        {"header only, the odds written at the second pause",
         newBytes.substr(0, kOddsWindowSkippedBytes),
         {{}, write(newBytes)},
         newBytes,
         {},
         3},
        {"too short throughout",
         oldBytes.substr(0, 599),
         {},
         std::nullopt,
         Kind::TooShortForHeader,
         most},
        {"too short, a second old",
         oldBytes.substr(0, 599),
         {},
         std::nullopt,
         Kind::TooShortForHeader,
         1,
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path path = dir.path() / "ZO-6101B.PAT";
        test::writeBytes(path, c.before);
        if (c.writtenEarlier)
            fs::last_write_time(path, std::chrono::file_clock::from_sys(earlier));
        Script script;
        for (const auto &step : c.steps)
            script.steps.push_back([&path, step] {
                if (step)
                    step(path);
            });

        const auto read = readOddsFile(path, script);
        EXPECT_EQ(script.pauses, c.pauses);
        // A row that fails lets the rows after it run.
        if (c.loads) {
            if (!std::holds_alternative<OddsFile>(read)) {
                ADD_FAILURE() << "refused, problem "
                              << static_cast<int>(std::get<LoadProblem>(read).kind);
                continue;
            }
            const auto expected = std::get<OddsFile>(oddsFileFromBytes(*c.loads, "x"));
            EXPECT_EQ(std::get<OddsFile>(read).header, expected.header);
            EXPECT_EQ(std::get<OddsFile>(read).odds, expected.odds);
        } else {
            if (!std::holds_alternative<LoadProblem>(read)) {
                ADD_FAILURE() << "loaded";
                continue;
            }
            EXPECT_EQ(std::get<LoadProblem>(read).kind, c.problem);
            EXPECT_EQ(std::get<LoadProblem>(read).detail, "ZO-6101B.PAT");
        }
    }
}

} // namespace
} // namespace spat4
