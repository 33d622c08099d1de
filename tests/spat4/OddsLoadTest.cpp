#include "OddsLoad.h"
#include "FolderPlaces.h"
#include "Spat4TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace spat4 {
namespace {

namespace fs = std::filesystem;
using Kind = LoadProblem::Kind;
using sample::SampleFile;
using test::TempDir;

const char *kindName(Kind k)
{
    switch (k) {
    case Kind::NoSelection:
        return "NoSelection";
    case Kind::NoMatchingFile:
        return "NoMatchingFile";
    case Kind::FileUnreadable:
        return "FileUnreadable";
    case Kind::FileNotSettled:
        return "FileNotSettled";
    case Kind::TooShortForHeader:
        return "TooShortForHeader";
    case Kind::TooShortForOdds:
        return "TooShortForOdds";
    case Kind::RunnerCountNotANumber:
        return "RunnerCountNotANumber";
    case Kind::RunnerCountOutOfRange:
        return "RunnerCountOutOfRange";
    case Kind::OddsNotFinite:
        return "OddsNotFinite";
    }
    return "?";
}

// 大井 race 11 with twelve runners and plain odds; rows change one thing each.
SampleFile goodRace()
{
    SampleFile f;
    f.venueCode = 61;
    f.raceChar = 'B';
    f.title = "  東京大賞典  ";
    f.runnerField = "12";
    for (int k = 1; k <= 16; ++k)
        f.records.push_back({std::to_string(k) + ".1", std::to_string(k + 1) + ".5"});
    return f;
}

std::string withOdds(int horse, const char *low)
{
    SampleFile f = goodRace();
    f.records[horse - 1].low = low;
    return test::sampleBytes(f);
}

std::string withRunners(const char *field)
{
    SampleFile f = goodRace();
    f.runnerField = field;
    return test::sampleBytes(f);
}

// One row per kind of unusable file: how the SPAT4 folder is set up, then the problem expected.
struct BrokenCase {
    const char *name;
    std::function<void(const fs::path &folder)> setUp;
    Kind kind;
    const char *detail;
};

void file(const fs::path &folder, const std::string &bytes)
{
    test::writeBytes(folder / "ZO-6101B.PAT", bytes);
}

TEST(OddsLoadTest, UnusableFilesGiveTheirProblem)
{
    const std::string good = test::sampleBytes(goodRace());
    // clang-format off
    const BrokenCase cases[] = {
        {"no file", [](const fs::path &) {}, Kind::NoMatchingFile, "ZO-61??B.PAT"},
        {"other race only", [](const fs::path &d) { test::writeBytes(d / "ZO-6101A.PAT", "x"); },
         Kind::NoMatchingFile, "ZO-61??B.PAT"},
        {"empty", [](const fs::path &d) { file(d, ""); }, Kind::TooShortForHeader, "ZO-6101B.PAT"},
        {"599 characters", [&](const fs::path &d) { file(d, good.substr(0, 599)); },
         Kind::TooShortForHeader, "ZO-6101B.PAT"},
        {"946 bytes", [&](const fs::path &d) { file(d, good.substr(0, 946)); },
         Kind::TooShortForOdds, "ZO-6101B.PAT"},
        {"runner count 7", [](const fs::path &d) { file(d, withRunners("7")); },
         Kind::RunnerCountOutOfRange, "7"},
        {"runner count 17", [](const fs::path &d) { file(d, withRunners("17")); },
         Kind::RunnerCountOutOfRange, "17"},
        {"runner count -8", [](const fs::path &d) { file(d, withRunners("-8")); },
         Kind::RunnerCountOutOfRange, "-8"},
        {"runner count .5", [](const fs::path &d) { file(d, withRunners(".5")); },
         Kind::RunnerCountOutOfRange, "0"},
        {"runner count blank", [](const fs::path &d) { file(d, withRunners("")); },
         Kind::RunnerCountNotANumber, "  "},
        {"runner count text", [](const fs::path &d) { file(d, withRunners("十二")); },
         Kind::RunnerCountNotANumber, "十二"},
        {"runner count &H", [](const fs::path &d) { file(d, withRunners("&H")); },
         Kind::RunnerCountNotANumber, "&H"},
        {"odds 9E400", [](const fs::path &d) { file(d, withOdds(5, "9E400")); },
         Kind::OddsNotFinite, "5"},
        {"odds 1E999", [](const fs::path &d) { file(d, withOdds(12, "1E999")); },
         Kind::OddsNotFinite, "12"},
    };
    // clang-format on
    for (const BrokenCase &c : cases) {
        TempDir dir;
        c.setUp(dir.path());
        struct DirFolder : Spat4Folder {
            fs::path dir;
            std::vector<FolderEntry> list() const override { return listOrdinaryFiles(dir); }
        } real;
        real.dir = dir.path();
        const auto result = planLoad(real, 61, 11);
        ASSERT_TRUE(std::holds_alternative<LoadProblem>(result)) << c.name;
        const LoadProblem &p = std::get<LoadProblem>(result);
        EXPECT_STREQ(kindName(p.kind), kindName(c.kind)) << c.name;
        EXPECT_EQ(p.detail, c.detail) << c.name;
    }
}

TEST(OddsLoadTest, ListedFilesThatCannotBeRead)
{
    TempDir dir;
    fs::create_directories(dir.path() / "ZO-6101B.PAT");
    const test::FakeFolder folder({{"ZO-6101B.PAT", dir.path() / "ZO-6101B.PAT"},
                                   {"ZO-6102B.PAT", dir.path() / "ZO-6102B.PAT"}});
    const test::FakeFolder vanished({{"ZO-6102B.PAT", dir.path() / "ZO-6102B.PAT"}});
    for (const test::FakeFolder *f : {&folder, &vanished}) {
        const auto result = planLoad(*f, 61, 11);
        ASSERT_TRUE(std::holds_alternative<LoadProblem>(result));
        EXPECT_EQ(std::get<LoadProblem>(result).kind, Kind::FileUnreadable);
        EXPECT_EQ(std::get<LoadProblem>(result).detail, f->list()[0].name);
    }
}

TEST(OddsLoadTest, NothingChosenListsNothing)
{
    const std::pair<int, int> selections[] = {{0, 0},  {61, 0},  {0, 11},
                                              {58, 1}, {61, 13}, {61, -1}};
    for (auto [code, race] : selections) {
        const auto folder = test::FakeFolder::named({"ZO-6101B.PAT", "ZO-58011.PAT"});
        const auto result = planLoad(folder, code, race);
        ASSERT_TRUE(std::holds_alternative<LoadProblem>(result)) << code << "/" << race;
        EXPECT_EQ(std::get<LoadProblem>(result).kind, Kind::NoSelection) << code << "/" << race;
        EXPECT_EQ(folder.listings, 0) << code << "/" << race;
    }
}

// A whole file through the loader: 船橋 race 11 with the number-rule examples in its fields.
TEST(OddsLoadTest, PlansTheWholeLoad)
{
    SampleFile f = goodRace();
    f.venueCode = 57;
    f.freeChars = "XY";
    f.runnerField = "12";
    // clang-format off
    const struct { const char *text; double value; } odds[] = {
        {" 1.2", 1.2}, {"  1.5", 1.5}, {"10.0 ", 10}, {"     ", 0}, {"1.2.3", 1.2},
        {"1 2.5", 12.5}, {"&HA", 10}, {"-1.5", -1.5}, {".1234", 0.1234}, {"1E3", 1000},
        {"1E300", 1e300}, {"1.5円", 1.5},
    };
    // clang-format on
    for (std::size_t k = 0; k < std::size(odds); ++k)
        f.records[k].low = odds[k].text;
    f.records[13].low = "1E300"; // beyond the runner count: present, never used

    TempDir dir;
    const fs::path path = dir.path() / "ZO-57XYB.PAT";
    test::writeBytes(path, test::sampleBytes(f));
    test::writeBytes(dir.path() / "ZO-57XYA.PAT", "race 10, not read");
    const test::FakeFolder folder(
        {{"ZO-57XYA.PAT", dir.path() / "ZO-57XYA.PAT"}, {"ZO-57XYB.PAT", path}});

    const auto result = planLoad(folder, 57, 11);
    ASSERT_TRUE(std::holds_alternative<LoadPlan>(result))
        << kindName(std::get<LoadProblem>(result).kind);
    const LoadPlan &plan = std::get<LoadPlan>(result);
    EXPECT_EQ(plan.filePath, path.string());
    EXPECT_EQ(plan.venueName, "船橋");
    EXPECT_EQ(plan.raceChar, 'B');
    EXPECT_EQ(plan.raceNumber, 11);
    EXPECT_EQ(plan.runnerCount, 12);
    EXPECT_EQ(plan.title, "東京大賞典" + std::string(12, ' '));
    EXPECT_EQ(plan.headerText.substr(0, 12), "ZO-57XYB.PAT");
    for (std::size_t k = 0; k < std::size(odds); ++k) {
        EXPECT_EQ(plan.lowValue[k], odds[k].value)
            << "horse " << k + 1 << " [" << odds[k].text << "]";
        EXPECT_EQ(plan.highValue[k], k + 2 + 0.5) << "horse " << k + 1;
    }
    EXPECT_EQ(plan.lowText[13], "1E300");
    EXPECT_EQ(plan.lowValue[13], 0);
    EXPECT_EQ(plan.highText[15], " 17.5");
}

TEST(OddsLoadTest, RunnerCountField)
{
    // clang-format off
    const struct { const char *field; int expected; } cases[] = {
        {" 9", 9}, {"9 ", 9}, {"12", 12}, {" 8", 8}, {"16", 16}, {"8.", 8}, {"&H", 0}, {"1E", 0},
        {"-8", 0},
    };
    // clang-format on
    for (const auto &c : cases) {
        SampleFile f = goodRace();
        f.runnerField = c.field;
        TempDir dir;
        test::writeBytes(dir.path() / "ZO-6101B.PAT", test::sampleBytes(f));
        const auto folder = test::FakeFolder({{"ZO-6101B.PAT", dir.path() / "ZO-6101B.PAT"}});
        const auto result = planLoad(folder, 61, 11);
        if (c.expected == 0) {
            ASSERT_TRUE(std::holds_alternative<LoadProblem>(result)) << c.field;
            const Kind kind = std::get<LoadProblem>(result).kind;
            EXPECT_TRUE(kind == Kind::RunnerCountOutOfRange || kind == Kind::RunnerCountNotANumber)
                << c.field;
        } else {
            ASSERT_TRUE(std::holds_alternative<LoadPlan>(result)) << c.field;
            EXPECT_EQ(std::get<LoadPlan>(result).runnerCount, c.expected) << c.field;
        }
    }
}

} // namespace
} // namespace spat4
