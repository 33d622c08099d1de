#include "OddsLoad.h"
#include "Spat4Folder.h"
#include "Spat4TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace spat4 {
namespace {

TEST(ProbeTest, MatchesNamesLikeTheWindowsListing)
{
    struct Case {
        const char *pattern;
        const char *name;
        bool matches;
    };
    // clang-format off
    const Case cases[] = {
        {"ZO-56???.PAT", "ZO-56XY1.PAT",  true},
        {"ZO-57???.PAT", "ZO-57AB9.PAT",  true},
        {"ZO-57???.PAT", "ZO-57ABC.PAT",  true},
        {"ZO-57??B.PAT", "ZO-57ABC.PAT",  false},  // race character C, not B
        {"ZO-61??A.PAT", "zo-61xya.pat",  true},   // ASCII case does not matter
        {"zo-61??a.pat", "ZO-61XYA.PAT",  true},
        {"ZO-56??A.PAT", "ZO-56010.PAT",  false},  // race 10 is A, never "10"
        {"ZO-56???.PAT", "ZO-56XY.PAT",   false},  // a "?" never stands for nothing
        {"ZO-56???.PAT", "ZO-56XY12.PAT", false},
        {"ZO-56???.PAT", "ZO-56XY1.PATX", false},
        {"ZO-56???.PAT", "ZO-57XY1.PAT",  false},
        {"ZO-56???.PAT", "",              false},
        {"ZO-56???.PAT", "ZO-56馬1.PAT",   false},  // 馬 is one character, not three
        {"ZO-56???.PAT", "ZO-56馬馬1.PAT", true},
        {"ZO-56???.PAT", "ZO-56\xff\xfe" "1.PAT", true},   // broken UTF-8: a byte each
        {"ZO-56???.PAT", "ZO-56\xe9\xa6" "1.PAT", true},   // cut sequence: a byte each
        {"ZO-56???.PAT", "ZO-56XY1.PA\xe9", false},
        {"ZO-56???.PAT", "ＺO-56XY1.PAT", false},  // only ASCII letters fold
        {"ZO-56??\xc3\xa4.PAT", "ZO-56XY\xc3\x84.PAT", false},  // ä is not Ä
    };
    // clang-format on
    for (const Case &c : cases)
        EXPECT_EQ(matchesProbe(c.pattern, c.name), c.matches)
            << "pattern " << c.pattern << " name " << c.name;
}

// Whatever order the listing comes in, the match first in name order is taken.
TEST(ProbeTest, FirstMatchIsFirstInNameOrder)
{
    struct Case {
        std::vector<std::string> listing;
        const char *expected; // nullptr: no match
    };
    const Case cases[] = {
        {{"ZO-56XY1.PAT", "ZO-56QQ1.PAT"}, "ZO-56QQ1.PAT"},
        {{"ZO-56QQ2.PAT", "ZO-56xy1.pat", "zo-56ab1.pat", "ZO-56AC1.PAT"}, "zo-56ab1.pat"},
        {{"ZO-56_A1.PAT", "ZO-56ZZ1.PAT", "ZO-5601A.PAT"}, "ZO-56ZZ1.PAT"},
        {{"ZO-57XY1.PAT", "ZO-56XY1.PA"}, nullptr},
        {{}, nullptr},
    };
    for (const Case &c : cases) {
        // Every rotation of the listing gives the same answer.
        std::vector<std::string> listing = c.listing;
        for (std::size_t turn = 0; turn < std::max<std::size_t>(listing.size(), 1); ++turn) {
            const auto match =
                firstMatch(test::FakeFolder::named(listing).list(), raceProbe(56, 1));
            const std::string got = match ? match->name : "(none)";
            EXPECT_EQ(got, c.expected ? c.expected : "(none)")
                << "listing starting " << (listing.empty() ? "(empty)" : listing[0]);
            if (!listing.empty())
                std::rotate(listing.begin(), listing.begin() + 1, listing.end());
        }
    }
}

TEST(ProbeTest, RaceCharactersAndProbes)
{
    const char expected[] = "123456789ABC";
    for (int race = 1; race <= 12; ++race) {
        EXPECT_EQ(raceCharacter(race), expected[race - 1]) << "race " << race;
        EXPECT_EQ(raceNumberOf(expected[race - 1]), race) << "race " << race;
    }
    for (int bad : {0, 13, -1, 100})
        EXPECT_EQ(raceCharacter(bad), 0) << "race " << bad;
    for (char bad : {'0', 'D', 'a', ' '})
        EXPECT_EQ(raceNumberOf(bad), 0) << "character " << bad;

    EXPECT_EQ(venueProbe(56), "ZO-56???.PAT");
    EXPECT_EQ(raceProbe(62, 10), "ZO-62??A.PAT");
    EXPECT_EQ(raceProbe(57, 11), "ZO-57??B.PAT");
    EXPECT_EQ(raceProbe(61, 1), "ZO-61??1.PAT");
}

} // namespace
} // namespace spat4
