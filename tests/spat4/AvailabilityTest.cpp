#include "AvailabilityScan.h"
#include "FolderPlaces.h"
#include "OddsLoad.h"
#include "Spat4TestSupport.h"
#include "Venues.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace spat4 {
namespace {

using test::FakeFolder;

// Every (code, race) pair the scan should mark, and every code whose venue flag should be 1;
// all other entries of both tables, codes 0..100 and races 0..100, must be 0.
struct Case {
    const char *name;
    std::vector<std::string> listing;
    std::set<int> venues;
    std::set<std::pair<int, int>> races;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class ScanTest : public ::testing::TestWithParam<Case> {};

TEST_P(ScanTest, FillsTheTablesFromOneListing)
{
    const Case &c = GetParam();
    const FakeFolder folder(FakeFolder::named(c.listing));
    Availability a;
    scanAvailability(folder, a);
    EXPECT_EQ(folder.listings, 1);

    for (int code = 0; code <= 100; ++code) {
        EXPECT_EQ(a.VenueFileFlags[code], c.venues.contains(code) ? 1 : 0) << "code " << code;
        for (int race = 0; race <= 100; ++race)
            EXPECT_EQ(a.RaceFileTable[code][race], c.races.contains({code, race}) ? 1 : 0)
                << "code " << code << " race " << race;
    }
    for (const Venue &v : kVenues) {
        const auto states = raceButtonStates(a, v.code);
        for (int race = 1; race <= 12; ++race)
            EXPECT_EQ(states[race - 1], c.races.contains({v.code, race}))
                << v.name << " race " << race;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Listings, ScanTest, ::testing::Values(
    Case{"Empty", {}, {}, {}},
    Case{"OiRaces1And3And11", {"ZO-61011.PAT", "ZO-61XY3.PAT", "zo-6101b.pat"},
         {61}, {{61, 1}, {61, 3}, {61, 11}}},
    Case{"Code58CountsButHasNoButton", {"ZO-58019.PAT"}, {58}, {{58, 9}}},
    Case{"RaceCharacterDCountsForTheVenueOnly", {"ZO-5601D.PAT"}, {56}, {}},
    Case{"CodesOutsideTheScanAreIgnored", {"ZO-55011.PAT", "ZO-63011.PAT", "ZO-6101.PAT"}, {}, {}},
    Case{"EveryVenueAndRace12", {"ZO-5601C.PAT", "ZO-6201C.PAT", "ZO-6101C.PAT", "ZO-5701C.PAT",
                                 "ZO-59AAA.PAT", "ZO-60ZZ1.PAT", "README.TXT"},
         {56, 57, 59, 60, 61, 62}, {{56, 12}, {62, 12}, {61, 12}, {57, 12}, {59, 10}, {60, 1}}}),
    [](const auto &info) { return std::string(info.param.name); });
// clang-format on

// The first file of each probe is the first matching name in name order, not in the listing's.
TEST(AvailabilityTest, KeepsPatternsAndFirstFiles)
{
    const FakeFolder folder = FakeFolder::named(
        {"ZO-61QQ2.PAT", "ZO-61XY1.PAT", "zo-61ab3.pat", "ZO-61AC1.PAT", "ZO-5601D.PAT"});
    Availability a;
    scanAvailability(folder, a);
    EXPECT_EQ(a.VenuePattern[61], "ZO-61???.PAT");
    EXPECT_EQ(a.VenueFirstFile[61], "zo-61ab3.pat");
    EXPECT_EQ(a.VenuePattern[58], "ZO-58???.PAT");
    EXPECT_EQ(a.VenueFirstFile[58], "");
    EXPECT_EQ(a.RacePattern[61][1], "ZO-61??1.PAT");
    EXPECT_EQ(a.RaceFirstFile[61][1], "ZO-61AC1.PAT");
    EXPECT_EQ(a.RaceFirstFile[61][2], "ZO-61QQ2.PAT");
    EXPECT_EQ(a.RaceFirstFile[61][4], "");
    EXPECT_EQ(a.RacePattern[56][4], "ZO-56??4.PAT");
    // A venue without files gets no race probes at all.
    EXPECT_EQ(a.RacePattern[57][1], "");
}

TEST(AvailabilityTest, MissingFolderScansAsEmpty)
{
    test::TempDir prefix;
    const PlacesSpat4Folder folder({prefix.path() / "drive_c", std::nullopt});
    Availability a;
    scanAvailability(folder, a);
    for (const Venue &v : kVenues)
        EXPECT_EQ(a.VenueFileFlags[v.code], 0) << v.name;
}

TEST(AvailabilityTest, RaceButtonsOfUnknownCodesStayDisabled)
{
    Availability a;
    a.RaceFileTable[61][5] = 1;
    for (int code : {-1, 0, 101, 1000})
        for (bool enabled : raceButtonStates(a, code))
            EXPECT_FALSE(enabled) << "code " << code;
}

} // namespace
} // namespace spat4
