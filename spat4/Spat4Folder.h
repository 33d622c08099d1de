#pragma once

#include "FileSnapshot.h"

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
// list() returns the ordinary files (no folders, no hidden or system files, no names that are
// not text) in whatever order the system lists them; a missing or unreadable folder lists as
// empty. Nothing depends on that order: which of several files is first is name order's say.
class Spat4Folder {
public:
    virtual ~Spat4Folder() = default;
    virtual std::vector<FolderEntry> list() const = 0;
    // How its files are read while the client may be writing them: the program's own pacing.
    virtual const ReadPacing &readPacing() const { return systemReadPacing(); }
};

// The real folder: "C:\PROGRAM FILES\南関東４競馬場\" on Windows (plus the virtual store),
// the same path inside the Wine prefix's drive_c elsewhere, matched without regard to case.
std::unique_ptr<Spat4Folder> systemSpat4Folder();

// "?" stands for any one character; names are compared without regard to ASCII case.
bool matchesProbe(std::string_view pattern, std::string_view name);

// True when name a comes before name b in the order Windows lists an NTFS folder: by UTF-16
// code units, each folded to upper case as NTFS folds it (every letter with a simple upper case,
// full-width, Greek and Cyrillic ones too, so "_" comes after every ASCII letter), other units as
// they are. Linux and Wine list in the file system's hash order, so the program sorts for itself
// and every platform takes the same file. Names equal but for case, which a case-sensitive file
// system can hold side by side, are ordered by their units as they are (upper case first), so
// the order is total.
bool precedesInNameOrder(std::string_view a, std::string_view b);

// The entry of a listing that matches the probe and comes first in name order, whatever the
// order of the listing.
std::optional<FolderEntry> firstMatch(const std::vector<FolderEntry> &entries,
                                      std::string_view pattern);

} // namespace spat4
