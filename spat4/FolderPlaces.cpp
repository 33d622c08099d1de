#include "FolderPlaces.h"

#include "Unicode.h"

#include <cstdlib>
#include <memory>
#include <system_error>
#include <unordered_set>

#ifdef _WIN32
#include <windows.h>
#endif

namespace spat4 {

namespace fs = std::filesystem;

namespace {

// The components of "C:\PROGRAM FILES\南関東４競馬場\" below the drive, and the folder a
// 32-bit program's installer uses on 64-bit Windows.
constexpr std::string_view kProgramFiles = "PROGRAM FILES";
constexpr std::string_view kProgramFilesX86 = "Program Files (x86)";
constexpr std::u8string_view kSpat4FolderName = u8"南関東４競馬場";

fs::path pathOfUtf8(std::string_view s)
{
    return fs::path(std::u8string(s.begin(), s.end()));
}

char foldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

#ifndef _WIN32
std::optional<std::string> nonEmpty(const char *value)
{
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}
#endif

// The entries of a folder, in its own order, each as its directory entry and its name: visit
// is called for every entry that has one (see nameText), so no conversion can throw out of a
// listing. A folder that cannot be read has no entries.
template <typename Visit> void forEachNamedEntry(const fs::path &dir, Visit visit)
{
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (auto name = nameText(it->path().filename()))
            visit(*it, std::move(*name));
    }
}

// The sub-folder of dir named name without regard to ASCII case. The exact spelling wins;
// otherwise, where a case-sensitive file system holds several spellings, the first of them in
// name order, so the listing's own order never decides.
std::optional<fs::path> findChildFolder(const fs::path &dir, std::string_view name)
{
    std::error_code ec;
    const fs::path exact = dir / pathOfUtf8(name);
    if (fs::is_directory(exact, ec))
        return exact;
    std::optional<fs::path> found;
    std::string foundName;
    forEachNamedEntry(dir, [&](const fs::directory_entry &entry, std::string childName) {
        std::error_code typeEc;
        if (entry.is_directory(typeEc) && equalsIgnoringAsciiCase(childName, name) &&
            (!found || precedesInNameOrder(childName, foundName))) {
            found = entry.path();
            foundName = std::move(childName);
        }
    });
    return found;
}

std::optional<fs::path> findBelow(const fs::path &root, std::string_view programFiles)
{
    const auto pf = findChildFolder(root, programFiles);
    if (!pf)
        return std::nullopt;
    const std::string spat4Name(kSpat4FolderName.begin(), kSpat4FolderName.end());
    return findChildFolder(*pf, spat4Name);
}

bool isHidden(const fs::path &p, std::string_view name)
{
#ifdef _WIN32
    (void)name;
    const DWORD attributes = GetFileAttributesW(p.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    (void)p;
    return !name.empty() && name.front() == '.';
#endif
}

} // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

std::optional<fs::path> wineDriveC(const WineEnvironment &env)
{
    if (env.winePrefix && !env.winePrefix->empty())
        return pathOfUtf8(*env.winePrefix) / "drive_c";
    if (env.home && !env.home->empty())
        return pathOfUtf8(*env.home) / ".wine" / "drive_c";
    return std::nullopt;
}

FolderPlaces systemFolderPlaces()
{
    FolderPlaces places;
#ifdef _WIN32
    places.driveRoot = fs::path(L"C:\\");
    if (const wchar_t *localAppData = _wgetenv(L"LOCALAPPDATA");
        localAppData != nullptr && *localAppData != L'\0')
        places.virtualStore = fs::path(localAppData) / L"VirtualStore";
#else
    places.driveRoot =
        wineDriveC({nonEmpty(std::getenv("WINEPREFIX")), nonEmpty(std::getenv("HOME"))});
#endif
    return places;
}

std::optional<fs::path> findSpat4Directory(const fs::path &root)
{
    if (auto dir = findBelow(root, kProgramFiles))
        return dir;
    return findBelow(root, kProgramFilesX86);
}

std::vector<FolderEntry> listOrdinaryFiles(const fs::path &dir)
{
    std::vector<FolderEntry> entries;
    forEachNamedEntry(dir, [&entries](const fs::directory_entry &entry, std::string name) {
        std::error_code typeEc;
        if (entry.is_regular_file(typeEc) && !isHidden(entry.path(), name))
            entries.push_back({std::move(name), entry.path()});
    });
    return entries;
}

std::vector<FolderEntry> mergeVirtualStore(std::vector<FolderEntry> store,
                                           std::vector<FolderEntry> real)
{
    // Without a virtual store (always so outside Windows) the listing is the real folder's.
    if (store.empty())
        return real;
    auto folded = [](std::string_view name) {
        std::string s(name);
        for (char &c : s)
            c = foldAscii(c);
        return s;
    };
    std::unordered_set<std::string> inStore;
    for (const FolderEntry &e : store)
        inStore.insert(folded(e.name));
    for (FolderEntry &e : real)
        if (!inStore.contains(folded(e.name)))
            store.push_back(std::move(e));
    return store;
}

std::vector<FolderEntry> PlacesSpat4Folder::list() const
{
    auto listBelow = [](const std::optional<fs::path> &root) {
        if (!root)
            return std::vector<FolderEntry>{};
        const auto dir = findSpat4Directory(*root);
        return dir ? listOrdinaryFiles(*dir) : std::vector<FolderEntry>{};
    };
    return mergeVirtualStore(listBelow(places_.virtualStore), listBelow(places_.driveRoot));
}

std::unique_ptr<Spat4Folder> systemSpat4Folder()
{
    return std::make_unique<PlacesSpat4Folder>(systemFolderPlaces());
}

} // namespace spat4
