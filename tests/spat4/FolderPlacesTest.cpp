#include "FolderPlaces.h"
#include "Spat4TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace spat4 {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::u8path;

constexpr const char *kSpat4 = "南関東４競馬場";

std::string utf8(const fs::path &p)
{
    const auto s = p.u8string();
    return std::string(s.begin(), s.end());
}

TEST(FolderPlacesTest, WineDriveCFromTheEnvironment)
{
    struct Case {
        const char *name;
        WineEnvironment env;
        std::optional<fs::path> expected;
    };
    const Case cases[] = {
        {"prefix wins over home", {"/w/prefix", "/home/u"}, fs::path("/w/prefix/drive_c")},
        {"prefix alone", {"/w/prefix", std::nullopt}, fs::path("/w/prefix/drive_c")},
        {"home when no prefix", {std::nullopt, "/home/u"}, fs::path("/home/u/.wine/drive_c")},
        {"empty prefix is unset", {"", "/home/u"}, fs::path("/home/u/.wine/drive_c")},
        {"neither", {std::nullopt, std::nullopt}, std::nullopt},
        {"both empty", {"", ""}, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(wineDriveC(c.env), c.expected) << c.name;
}

// A path as one spelling for comparison: forward slashes, and on Windows, which compares file
// names without regard to case and answers with the spelling it was asked for, ASCII lower case.
std::string comparable(const fs::path &p)
{
    std::string s = utf8(p.lexically_normal());
    std::replace(s.begin(), s.end(), '\\', '/');
#ifdef _WIN32
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
#endif
    return s;
}

// Each row makes these folders below a fresh drive root and expects the SPAT4 folder found
// at the given relative path (empty: none).
TEST(FolderPlacesTest, FindsTheFixedFolderWithoutRegardToCase)
{
    struct Case {
        std::vector<std::string> folders;
        std::string expected;
    };
    const std::string jp = kSpat4;
    const Case cases[] = {
        {{"PROGRAM FILES/" + jp}, "PROGRAM FILES/" + jp},
        {{"Program Files/" + jp}, "Program Files/" + jp},
        {{"program files/" + jp}, "program files/" + jp},
        {{"pRoGrAm fIlEs/" + jp}, "pRoGrAm fIlEs/" + jp},
        {{"Program Files (x86)/" + jp}, "Program Files (x86)/" + jp},
        {{"PROGRAM FILES (X86)/" + jp}, "PROGRAM FILES (X86)/" + jp},
        {{"Program Files/Other", "Program Files (x86)/" + jp}, "Program Files (x86)/" + jp},
        {{"Program Files/" + jp, "Program Files (x86)/" + jp}, "Program Files/" + jp},
        {{"Program Files/南関東4競馬場"}, ""}, // ASCII 4 is not the full-width ４
        {{"Program Files/" + jp + "X"}, ""},
        {{"ProgramFiles/" + jp}, ""},
        {{"Program Files/sub/" + jp}, ""},
        {{}, ""},
    };
    for (const Case &c : cases) {
        TempDir root;
        for (const std::string &f : c.folders)
            fs::create_directories(root.path() / u8path(f));
        const auto found = findSpat4Directory(root.path());
        const std::string got = found ? comparable(fs::relative(*found, root.path())) : "";
        EXPECT_EQ(got, comparable(u8path(c.expected)))
            << "folders starting " << (c.folders.empty() ? "" : c.folders[0]);
    }
}

TEST(FolderPlacesTest, FolderComponentsMustBeFolders)
{
    TempDir root;
    test::writeBytes(root.path() / "Program Files", "a file, not a folder");
    fs::create_directories(root.path() / u8path("Program Files (x86)"));
    test::writeBytes(root.path() / u8path(std::string("Program Files (x86)/") + kSpat4), "file");
    EXPECT_FALSE(findSpat4Directory(root.path()).has_value());
}

TEST(FolderPlacesTest, ListsOrdinaryVisibleFilesOnly)
{
    TempDir dir;
    test::writeBytes(dir.path() / "ZO-61011.PAT", "x");
    // Hidden as each system hides: by a leading dot here, by its attribute on Windows (where a
    // leading dot is an ordinary name, and Wine 10 no longer hides it either).
    test::writeBytes(dir.path() / ".ZO-61012.PAT", "hidden");
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW((dir.path() / ".ZO-61012.PAT").c_str(), FILE_ATTRIBUTE_HIDDEN));
#endif
    fs::create_directories(dir.path() / "ZO-61013.PAT");
    test::writeBytes(dir.path() / u8path("馬.txt"), "x");

    std::vector<std::string> names;
    for (const FolderEntry &e : listOrdinaryFiles(dir.path())) {
        names.push_back(e.name);
        EXPECT_EQ(e.path, dir.path() / u8path(e.name));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ZO-61011.PAT", "馬.txt"}));
    EXPECT_TRUE(listOrdinaryFiles(dir.path() / "missing").empty());
}

TEST(FolderPlacesTest, VirtualStoreEntriesComeFirstAndWin)
{
    const std::vector<FolderEntry> store = {{"ZO-61011.PAT", "/vs/ZO-61011.PAT"},
                                            {"ZO-6101B.PAT", "/vs/ZO-6101B.PAT"}};
    const std::vector<FolderEntry> real = {{"ZO-57013.PAT", "/pf/ZO-57013.PAT"},
                                           {"zo-61011.pat", "/pf/zo-61011.pat"},
                                           {"ZO-6101C.PAT", "/pf/ZO-6101C.PAT"}};
    std::vector<std::string> paths;
    for (const FolderEntry &e : mergeVirtualStore(store, real))
        paths.push_back(e.path.generic_string());
    EXPECT_EQ(paths, (std::vector<std::string>{"/vs/ZO-61011.PAT", "/vs/ZO-6101B.PAT",
                                               "/pf/ZO-57013.PAT", "/pf/ZO-6101C.PAT"}));
    EXPECT_EQ(mergeVirtualStore({}, real).size(), real.size());
}

// The whole mapping as the program uses it: a Wine drive_c with an odd spelling of the path,
// and a virtual store whose copy replaces the original.
TEST(FolderPlacesTest, ListsThroughThePlaces)
{
    TempDir prefix, localAppData;
    const auto driveC = wineDriveC({utf8(prefix.path()), "/nonexistent-home"});
    ASSERT_TRUE(driveC.has_value());
    const fs::path real = *driveC / u8path(std::string("program FILES/") + kSpat4);
    const fs::path store =
        localAppData.path() / u8path(std::string("VirtualStore/Program Files (x86)/") + kSpat4);
    fs::create_directories(real);
    fs::create_directories(store);
    test::writeBytes(real / "ZO-61011.PAT", "original");
    test::writeBytes(real / "ZO-61012.PAT", "original");
    test::writeBytes(store / "ZO-61011.PAT", "copy");

    struct Case {
        const char *name;
        FolderPlaces places;
        std::vector<fs::path> expected; // sorted
    };
    const Case cases[] = {
        {"drive only", {*driveC, std::nullopt}, {real / "ZO-61011.PAT", real / "ZO-61012.PAT"}},
        {"with store",
         {*driveC, localAppData.path() / "VirtualStore"},
         {real / "ZO-61012.PAT", store / "ZO-61011.PAT"}},
        {"store only",
         {std::nullopt, localAppData.path() / "VirtualStore"},
         {store / "ZO-61011.PAT"}},
        {"missing prefix", {prefix.path() / "nowhere" / "drive_c", std::nullopt}, {}},
        {"nothing", {std::nullopt, std::nullopt}, {}},
    };
    for (const Case &c : cases) {
        std::vector<std::string> got;
        for (const FolderEntry &e : PlacesSpat4Folder(c.places).list())
            got.push_back(comparable(e.path));
        std::sort(got.begin(), got.end());
        std::vector<std::string> expected;
        for (const fs::path &p : c.expected)
            expected.push_back(comparable(p));
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << c.name;
    }
}

} // namespace
} // namespace spat4
