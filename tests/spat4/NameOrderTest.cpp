#include "AvailabilityScan.h"
#include "FolderPlaces.h"
#include "OddsFileReader.h"
#include "OddsLoad.h"
#include "Spat4TestSupport.h"
#include "Unicode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace spat4 {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::u8path;

// Pairs of names in the order an NTFS folder lists them, each row telling which rule decides.
TEST(NameOrderTest, ComparesAsAnNtfsFolderLists)
{
    struct Case {
        const char *rule;
        const char *first, *second;
    };
    // clang-format off
    const Case cases[] = {
        {"case does not matter",            "ZO-62AB5.PAT", "ZO-62cd5.PAT"},
        {"case does not matter, reversed",  "zo-62ab5.pat", "ZO-62CD5.PAT"},
        {"letters fold up: _ after Z",      "ZO-62zz5.PAT", "ZO-62_A5.PAT"},
        {"letters fold up: _ after a",      "ZO-62ax5.PAT", "ZO-62_x5.PAT"},
        {"digits before letters",           "ZO-62095.PAT", "ZO-62a05.PAT"},
        {"a name before its extension",     "ZO-62",        "ZO-62AB5.PAT"},
        // Every letter with an upper case folds, as NTFS's upper-case table folds it.
        {"full-width folds: ａ before Ｂ",   "ZO-62ａ5.PAT",  "ZO-62Ｂ5.PAT"},
        {"Latin folds: ä before Å",         "ZO-62ä5.PAT",  "ZO-62Å5.PAT"},
        {"Greek folds: α before Β",         "ZO-62α5.PAT",  "ZO-62Β5.PAT"},
        {"Cyrillic folds: а before Б",      "ZO-62а5.PAT",  "ZO-62Б5.PAT"},
        {"one unit for one: ä before ß",    "ZO-62ä5.PAT",  "ZO-62ß5.PAT"},
        // Only letters that pair both ways fold: ı and ſ would fold to I and S, before J and T.
        {"ı keeps its case: J before ı",    "ZO-62J5.PAT",  "ZO-62ı5.PAT"},
        {"ſ keeps its case: T before ſ",    "ZO-62T5.PAT",  "ZO-62ſ5.PAT"},
#ifndef _WIN32
        // Windows leaves these as they are; Wine's table folds them (to U+1C90 and U+13A0).
        {"Georgian keeps its case",         "ZO-62ა5.PAT",  "ZO-62ᄀ5.PAT"},
        {"Cherokee keeps its case",         "ZO-62あ5.PAT",  "ZO-62ꭰ5.PAT"},
        // A Unicode 16 pair, which Debian 13's C library folds (ɤ to U+A7CB).
        {"ɤ keeps its case",                "ZO-62ɤ5.PAT",  "ZO-62あ5.PAT"},
#endif
        // U+2000B is the surrogate pair D840 DC0B, below U+FF71 in code units though above it
        // as a code point.
        {"UTF-16 units, not code points",   "ZO-62\xf0\xa0\x80\x8b" "a5.PAT", "ZO-62ｱｲ5.PAT"},
        {"UTF-16 units, private use",       "ZO-62\xf0\xa0\x80\x8b" "a5.PAT", "ZO-62\xee\x80\x80" "a5.PAT"},
        {"equal but for case: upper first", "ZO-62AB5.PAT", "ZO-62ab5.PAT"},
        {"equal but for case, later",       "ZO-62aB5.PAT", "ZO-62ab5.PAT"},
        {"equal but for case, full-width",  "ZO-62Ａ5.PAT",  "ZO-62ａ5.PAT"},
        {"stray bytes order by value",      "ZO-62\xfe" "5.PAT", "ZO-62\xff" "5.PAT"},
    };
    // clang-format on
    for (const Case &c : cases) {
        EXPECT_TRUE(precedesInNameOrder(c.first, c.second)) << c.rule;
        EXPECT_FALSE(precedesInNameOrder(c.second, c.first)) << c.rule;
        EXPECT_FALSE(precedesInNameOrder(c.first, c.first)) << c.rule;
    }
}

// Files for 川崎 race 5 written into a real SPAT4 folder in an order that is not name order; the
// system lists them in its own order (a hash order on ext4, and so under Wine). The loader and
// the start-up scan must both take the first in name order.
struct FolderCase {
    const char *name;
    std::vector<std::string> created; // in this order
    std::string first;
};

void PrintTo(const FolderCase &c, std::ostream *os)
{
    *os << c.name;
}

class RealFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(RealFolderTest, LoaderAndScanTakeTheFirstInNameOrder)
{
    const FolderCase &c = GetParam();
    TempDir root;
    const fs::path dir = root.path() / "Program Files" / u8path("南関東４競馬場");
    fs::create_directories(dir);
    // Every file is a good one; its title tells which was read.
    std::string firstTitle;
    for (std::size_t i = 0; i < c.created.size(); ++i) {
        sample::SampleFile file;
        file.venueCode = 62;
        file.raceChar = '5';
        file.title = "FILE " + std::to_string(i);
        file.runnerField = std::to_string(8 + i % 9);
        test::writeBytes(dir / u8path(c.created[i]), test::sampleBytes(file));
        if (c.created[i] == c.first)
            firstTitle = file.title;
    }
    ASSERT_FALSE(firstTitle.empty()) << "the expected file is one of those created";

    const PlacesSpat4Folder folder({root.path(), std::nullopt});
    ASSERT_EQ(folder.list().size(), c.created.size());

    const auto planned = planLoad(folder, 62, 5);
    ASSERT_TRUE(std::holds_alternative<LoadPlan>(planned));
    const LoadPlan &plan = std::get<LoadPlan>(planned);
    EXPECT_EQ(plan.title.substr(0, plan.title.find_last_not_of(' ') + 1), firstTitle);
    EXPECT_EQ(u8path(plan.filePath).filename(), u8path(c.first));

    Availability a;
    scanAvailability(folder, a);
    EXPECT_EQ(a.VenueFileFlags[62], 1);
    EXPECT_EQ(a.RaceFileTable[62][5], 1);
    EXPECT_EQ(a.VenueFirstFile[62], c.first);
    EXPECT_EQ(a.RaceFirstFile[62][5], c.first);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Folders, RealFolderTest, ::testing::Values(
    FolderCase{"MixedCase",
               {"ZO-62st5.PAT", "ZO-62jk5.PAT", "ZO-62cd5.PAT", "ZO-62pq5.PAT", "ZO-62AB5.PAT",
                "ZO-62mn5.PAT", "ZO-62gh5.PAT", "ZO-62ef5.PAT"},
               "ZO-62AB5.PAT"},
    // Byte order would take ZO-62B_5.PAT, lower-case folding ZO-62_x5.PAT.
    FolderCase{"LettersFoldUp",
               {"ZO-62_x5.PAT", "ZO-62bx5.PAT", "ZO-62B_5.PAT", "ZO-62Zz5.PAT", "ZO-62~a5.PAT",
                "ZO-62a~5.PAT", "ZO-62Ba5.PAT", "zo-62ax5.pat"},
               "zo-62ax5.pat"},
    // Code-point order would take the private-use character U+E000.
    FolderCase{"Utf16Units",
               {"ZO-62ｱｲ5.PAT", "ZO-62\xee\x80\x80" "a5.PAT", "ZO-62ﾝa5.PAT",
                "ZO-62\xf0\xa0\x80\x8b" "a5.PAT"},
               "ZO-62\xf0\xa0\x80\x8b" "a5.PAT"}),
    [](const auto &info) { return std::string(info.param.name); });
// clang-format on

#ifdef _WIN32
// NTFS allows a name that is not valid UTF-16 (a lone surrogate); it can match no probe and must
// never end the program. Wine refuses to create such a file, so the paths are made by hand.
std::wstring withLoneSurrogate(const std::wstring &before, const std::wstring &after)
{
    return before + wchar_t(0xD800) + after;
}

TEST(UnnamedEntryTest, LoneSurrogatesNeverThrow)
{
    const fs::path bad = withLoneSurrogate(L"ZO-61", L"1B.PAT");
    EXPECT_FALSE(nameText(bad).has_value());
    EXPECT_EQ(pathText(bad), "ZO-61\xef\xbf\xbd"
                             "1B.PAT");
    EXPECT_EQ(nameText(fs::path(L"ZO-61\xD840\xDC0B"
                                L"B.PAT")),
              "ZO-61\xf0\xa0\x80\x8b"
              "B.PAT");

    TempDir root;
    const fs::path dir = root.path() / "Program Files" / u8path("南関東４競馬場");
    fs::create_directories(dir);
    sample::SampleFile file;
    file.venueCode = 61;
    file.raceChar = 'B';
    test::writeBytes(dir / "ZO-6101B.PAT", test::sampleBytes(file));
    // On NTFS the file can be made; it is then passed over, and the good one still loads.
    {
        std::ofstream(dir / withLoneSurrogate(L"ZO-61", L"2B.PAT")) << "x";
    }

    // A virtual store, a drive root or a SPAT4 folder whose own path cannot be named.
    const fs::path badRoot = root.path() / withLoneSurrogate(L"store", {});
    const PlacesSpat4Folder folder({root.path(), badRoot});
    std::vector<FolderEntry> listed;
    ASSERT_NO_THROW(listed = folder.list());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "ZO-6101B.PAT");
    EXPECT_NO_THROW(EXPECT_TRUE(PlacesSpat4Folder({badRoot, badRoot}).list().empty()));
    EXPECT_NO_THROW(EXPECT_TRUE(listOrdinaryFiles(dir / withLoneSurrogate({}, {})).empty()));
    EXPECT_NO_THROW(EXPECT_FALSE(findSpat4Directory(badRoot).has_value()));

    const auto planned = planLoad(folder, 61, 11);
    ASSERT_TRUE(std::holds_alternative<LoadPlan>(planned));
    EXPECT_EQ(u8path(std::get<LoadPlan>(planned).filePath).filename(), "ZO-6101B.PAT");

    // A file the loader was told of under such a path: a message, not a crash.
    const auto read = readOddsFile(badRoot / "ZO-6101B.PAT");
    ASSERT_TRUE(std::holds_alternative<LoadProblem>(read));
    EXPECT_EQ(std::get<LoadProblem>(read).kind, LoadProblem::Kind::FileUnreadable);
    EXPECT_EQ(std::get<LoadProblem>(read).detail, "ZO-6101B.PAT");
}
#else
// On Linux a name is its bytes; one that is not UTF-8 is listed, compared and read like any
// other, without a throw.
TEST(UnnamedEntryTest, BytesThatAreNotUtf8AreStillNames)
{
    TempDir dir;
    const std::string stray = "ZO-61\xff"
                              "1B.PAT";
    test::writeBytes(dir.path() / "ZO-6101B.PAT", "x");
    test::writeBytes(dir.path() / stray, "x");
    std::vector<std::string> names;
    for (const FolderEntry &e : listOrdinaryFiles(dir.path()))
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ZO-6101B.PAT", stray}));
    EXPECT_EQ(pathText(dir.path() / stray), (dir.path() / stray).native());
}

// Where a case-sensitive file system holds two spellings of a folder that Windows would see as
// one, the first in name order is taken, never the one the listing happens to yield first.
TEST(FolderSpellingTest, SeveralSpellingsTakeTheFirstInNameOrder)
{
    struct Case {
        std::vector<std::string> created;
        std::string taken;
    };
    const Case cases[] = {
        {{"program files", "Program Files"}, "Program Files"},
        {{"Program Files", "program files"}, "Program Files"},
        {{"program Files", "PROGRAM files", "pROGRAM FILES"}, "PROGRAM files"},
    };
    for (const Case &c : cases) {
        TempDir root;
        for (const std::string &s : c.created)
            fs::create_directories(root.path() / s / u8path("南関東４競馬場"));
        const auto found = findSpat4Directory(root.path());
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->parent_path().filename().string(), c.taken) << c.created[0];
    }
}
#endif

} // namespace
} // namespace spat4
