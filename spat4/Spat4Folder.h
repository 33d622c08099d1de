#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spat4 {

// One ordinary file of the SPAT4 folder, as a listing yields it.
struct FolderEntry {
    std::string name;           // file name only, as spelled on disk
    std::filesystem::path path; // full path
};

// The SPAT4 client's install folder, behind an interface so tests can point it anywhere.
// list() returns the ordinary files (no folders, no hidden or system files) in listing order;
// a missing or unreadable folder lists as empty.
class Spat4Folder {
public:
    virtual ~Spat4Folder() = default;
    virtual std::vector<FolderEntry> list() const = 0;
};

// The real folder: "C:\PROGRAM FILES\南関東４競馬場\" on Windows (plus the virtual store),
// the same path inside the Wine prefix's drive_c elsewhere, matched without regard to case.
std::unique_ptr<Spat4Folder> systemSpat4Folder();

// "?" stands for any one character; names are compared without regard to ASCII case.
bool matchesProbe(std::string_view pattern, std::string_view name);

// The first entry of a listing that matches the probe, in listing order.
std::optional<FolderEntry> firstMatch(const std::vector<FolderEntry> &entries,
                                      std::string_view pattern);

} // namespace spat4
