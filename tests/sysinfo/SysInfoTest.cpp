#include "SysInfo.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

using sysinfo::RawValue;

// A value as the Windows registry hands it back: the 1024-byte zeroed buffer with the data at
// its start, and the size the query reported.
RawValue registryValue(std::uint32_t type, const std::string &data, std::uint32_t size)
{
    RawValue value;
    value.type = type;
    value.bytes.assign(sysinfo::kValueBufferSize, 0);
    std::copy(data.begin(), data.end(), value.bytes.begin());
    value.size = size;
    return value;
}

// A string value written the usual way, with its terminating zero counted in the size.
RawValue stringValue(const std::string &text)
{
    return registryValue(sysinfo::kRegSz, text, static_cast<std::uint32_t>(text.size() + 1));
}

// A registry holding values by root, key and value name; anything else cannot be read.
class FakeRegistry : public sysinfo::Registry {
public:
    std::map<std::tuple<std::uint32_t, std::string, std::string>, RawValue> values;

    bool queryValue(std::uint32_t root, const std::string &keyName, const std::string &valueName,
                    RawValue &value) override
    {
        const auto it = values.find({root, keyName, valueName});
        if (it == values.end())
            return false;
        value = it->second;
        return true;
    }
};

class FakeStarter : public sysinfo::ProcessStarter {
public:
    enum class Outcome { Starts, Fails, Throws };
    Outcome outcome = Outcome::Starts;
    std::vector<std::string> started;

    bool start(const std::string &path) override
    {
        started.push_back(path);
        if (outcome == Outcome::Throws)
            throw std::runtime_error("start failed");
        return outcome == Outcome::Starts;
    }
};

constexpr char kPath[] = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
constexpr char kFolder[] = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
constexpr char kFolderProgram[] =
    "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\MSINFO32.EXE";

struct StartCase {
    const char *name;
    std::optional<RawValue> pathValue;   // "PATH" under ...\Shared Tools\MSINFO
    std::optional<RawValue> folderValue; // "MSINFO" under ...\Shared Tools Location
    bool folderHasProgram;
    FakeStarter::Outcome outcome;
    bool expectProbe; // whether the folder's program was looked for on disk
    bool expectStarted;
    std::vector<std::string> expectStartAttempts;
};

// Test names and failure messages show the row's name, not the row's bytes.
void PrintTo(const StartCase &c, std::ostream *os)
{
    *os << c.name;
}

// clang-format off
const StartCase kStartCases[] = {
    {"PathWins",             stringValue(kPath),        stringValue(kFolder), true,  FakeStarter::Outcome::Starts, false, true,  {kPath}},
    {"PathNotCheckedOnDisk", stringValue(kPath),        std::nullopt,         false, FakeStarter::Outcome::Starts, false, true,  {kPath}},
    {"FolderWithProgram",    std::nullopt,              stringValue(kFolder), true,  FakeStarter::Outcome::Starts, true,  true,  {kFolderProgram}},
    {"FolderWithoutProgram", std::nullopt,              stringValue(kFolder), false, FakeStarter::Outcome::Starts, true,  false, {}},
    {"Neither",              std::nullopt,              std::nullopt,         false, FakeStarter::Outcome::Starts, false, false, {}},
    {"EmptyPath",            stringValue(""),           stringValue(kFolder), true,  FakeStarter::Outcome::Starts, false, false, {}},
    {"EmptyFolder",          std::nullopt,              stringValue(""),      true,  FakeStarter::Outcome::Starts, false, false, {}},
    {"PathOfSizeZero",       registryValue(1, "x", 0),  stringValue(kFolder), true,  FakeStarter::Outcome::Starts, true,  true,  {kFolderProgram}},
    {"StartFails",           stringValue(kPath),        std::nullopt,         false, FakeStarter::Outcome::Fails,  false, false, {kPath}},
    {"StartThrows",          std::nullopt,              stringValue(kFolder), true,  FakeStarter::Outcome::Throws, true,  false, {kFolderProgram}},
};
// clang-format on

class StartSysInfoTest : public testing::TestWithParam<StartCase> {};

TEST_P(StartSysInfoTest, StartsTheRegisteredProgramOrReportsFalse)
{
    const StartCase &c = GetParam();
    FakeRegistry registry;
    if (c.pathValue)
        registry.values[{sysinfo::kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                         "PATH"}] = *c.pathValue;
    if (c.folderValue)
        registry.values[{sysinfo::kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location",
                         "MSINFO"}] = *c.folderValue;
    FakeStarter starter;
    starter.outcome = c.outcome;
    std::vector<std::string> probed;
    const auto fileExists = [&](const std::string &path) {
        probed.push_back(path);
        return c.folderHasProgram && path == kFolderProgram;
    };

    EXPECT_EQ(sysinfo::StartSysInfo(registry, starter, fileExists), c.expectStarted);
    EXPECT_EQ(starter.started, c.expectStartAttempts);
    // The registered path is started as it is; only the folder's program is looked for.
    EXPECT_EQ(probed, c.expectProbe ? std::vector<std::string>{kFolderProgram}
                                    : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Cases, StartSysInfoTest, testing::ValuesIn(kStartCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct DecodeCase {
    const char *name;
    RawValue value;
    bool expectRead;
    std::string expectText; // KeyVal passed in as "before"
};

// Test names and failure messages show the row's name, not the row's bytes.
void PrintTo(const DecodeCase &c, std::ostream *os)
{
    *os << c.name;
}

// clang-format off
const DecodeCase kDecodeCases[] = {
    {"StringDropsTrailingZero",    registryValue(1, std::string("C:\\A.EXE\0", 9), 9), true,  "C:\\A.EXE"},
    {"StringWithoutZero",          registryValue(1, "C:\\A.EXE", 8),                   true,  "C:\\A.EXE"},
    {"StringCutAtReportedSize",    registryValue(1, "C:\\A.EXE", 4),                   true,  "C:\\A"},
    {"OnlyOneZeroDropped",         registryValue(1, std::string("AB\0\0", 4), 4),      true,  std::string("AB\0", 3)},
    {"EmptyString",                registryValue(1, "", 1),                            true,  ""},
    {"DwordLastByteFirst",         registryValue(4, "\x78\x56\x34\x12", 4),            true,  "&h12345678"},
    {"DwordNoLeadingZeros",        registryValue(4, "\x0D\x0C\x0B\x0A", 4),            true,  "&hABCD"},
    {"DwordZeroHighByteDropped",   registryValue(4, "\x0A\x02\x01", 4),                true,  "&h12A"},
    {"DwordInnerZeroKept",         registryValue(4, std::string("\xFF\x00\x10\x01", 4), 4), true, "&h1100FF"},
    {"OtherTypeLeavesValue",       registryValue(3, "\x01\x02", 2),                    true,  "before"},
    {"ExpandStringLeavesValue",    registryValue(2, "%SystemRoot%", 13),               true,  "before"},
    {"SizeZero",                   registryValue(1, "C:\\A.EXE", 0),                   false, "before"},
};
// clang-format on

class DecodeKeyValueTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeKeyValueTest, TurnsBytesIntoText)
{
    const DecodeCase &c = GetParam();
    std::string keyVal = "before";
    EXPECT_EQ(sysinfo::DecodeKeyValue(c.value, keyVal), c.expectRead);
    EXPECT_EQ(keyVal, c.expectText);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeKeyValueTest, testing::ValuesIn(kDecodeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(GetKeyValueTest, EmptiesTheTextWhenNothingIsRead)
{
    FakeRegistry registry;
    registry.values[{sysinfo::kHKeyLocalMachine, "K", "size0"}] = registryValue(1, "x", 0);
    registry.values[{sysinfo::kHKeyLocalMachine, "K", "binary"}] = registryValue(3, "x", 1);

    for (const char *name : {"missing", "size0"}) {
        std::string keyVal = "before";
        EXPECT_FALSE(sysinfo::GetKeyValue(registry, sysinfo::kHKeyLocalMachine, "K", name, keyVal))
            << name;
        EXPECT_EQ(keyVal, "") << name;
    }
    std::string keyVal = "before";
    EXPECT_TRUE(sysinfo::GetKeyValue(registry, sysinfo::kHKeyLocalMachine, "K", "binary", keyVal));
    EXPECT_EQ(keyVal, "before");
}

#ifndef _WIN32
TEST(PlatformTest, WithoutARegistryTheProgramIsNotFound)
{
    EXPECT_FALSE(sysinfo::StartSysInfo());
}
#else
// The real advapi32 calls, against values that tests/tools/wine-test adds to a throwaway Wine
// prefix (MILKA_TEST_REGISTRY=1 says they are there; on any other Windows the test is skipped).
// Some are in both registry views, some in one only, as 32-bit and 64-bit installers leave
// them; a value in both views is read from the 32-bit one.
TEST(PlatformTest, ReadsRealRegistryValues)
{
    if (std::getenv("MILKA_TEST_REGISTRY") == nullptr)
        GTEST_SKIP() << "the test values are not in this registry";
    struct Row {
        const char *key;
        const char *name;
        std::optional<std::string> expect; // nullopt: not read, and the text emptied
    };
    const char *const test = "SOFTWARE\\MilkaTest";
    // clang-format off
    const Row rows[] = {
        {test, "Text",          "C:\\Tools\\MSINFO32.EXE"},
        {test, "Number",        "&h12A"}, // 0x0001020A: bytes 0A 02 01 00, the trailing zero dropped
        {test, "Missing",       std::nullopt},
        {"SOFTWARE\\NoSuchKeyForMilka", "Text", std::nullopt},
        {test, "Only32",        "in the 32-bit view"},
        {test, "Only64",        "in the 64-bit view"},
        {test, "Both",          "the 32-bit view's"},
        // The program's own lookup: the path under the MSINFO key in the 32-bit view only, the
        // folder under Shared Tools Location in the 64-bit view only.
        {sysinfo::kMsinfoKey,      sysinfo::kMsinfoPathValue,        "C:\\Tools\\Missing\\msinfo32.exe"},
        {sysinfo::kSharedToolsKey, sysinfo::kSharedToolsMsinfoValue, "C:\\Tools\\Missing"},
    };
    // clang-format on
    sysinfo::Registry &registry = sysinfo::platformRegistry();
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.key) + " " + row.name);
        std::string value = "before";
        EXPECT_EQ(
            sysinfo::GetKeyValue(registry, sysinfo::kHKeyLocalMachine, row.key, row.name, value),
            row.expect.has_value());
        EXPECT_EQ(value, row.expect.value_or(""));
    }
}
#endif

} // namespace
