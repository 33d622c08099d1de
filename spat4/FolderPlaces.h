#pragma once

#include "Spat4Folder.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace spat4 {

// The environment values that decide where "C:\" lies when the SPAT4 client runs under Wine.
// An empty value counts as unset.
struct WineEnvironment {
    std::optional<std::string> winePrefix; // WINEPREFIX
    std::optional<std::string> home;       // HOME
};

// The drive_c folder of the Wine prefix: $WINEPREFIX/drive_c, else $HOME/.wine/drive_c; empty
// when neither is set.
std::optional<std::filesystem::path> wineDriveC(const WineEnvironment &env);

// Where the SPAT4 folder may lie. The virtual store (Windows only) holds copies that a
// program without administrator rights wrote "into" Program Files; Windows shows them in
// place of the originals, so its entries come first.
struct FolderPlaces {
    std::optional<std::filesystem::path> driveRoot;    // what "C:\" is
    std::optional<std::filesystem::path> virtualStore; // %LOCALAPPDATA%\VirtualStore
};

// The places of this machine, read from the process environment.
FolderPlaces systemFolderPlaces();

// "PROGRAM FILES\南関東４競馬場" below root, every component matched to the folder on disk
// without regard to ASCII case (the Japanese component compares exactly); when that folder
// does not exist, the same folder under "Program Files (x86)". Empty when neither exists.
std::optional<std::filesystem::path> findSpat4Directory(const std::filesystem::path &root);

// The ordinary files of a folder in the folder's own listing order: no folders, no hidden
// files (dot-files on Linux, hidden or system files on Windows). A missing or unreadable
// folder lists as empty.
std::vector<FolderEntry> listOrdinaryFiles(const std::filesystem::path &dir);

// The virtual-store entries first, then every real entry whose name (without regard to ASCII
// case) the virtual store does not also hold: the store's copy wins.
std::vector<FolderEntry> mergeVirtualStore(std::vector<FolderEntry> store,
                                           std::vector<FolderEntry> real);

// Compares without regard to ASCII case; every other byte must be equal.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The SPAT4 folder at the given places, looked up anew on every listing so a folder that
// appears or vanishes while the program runs is seen as it is.
class PlacesSpat4Folder : public Spat4Folder {
public:
    explicit PlacesSpat4Folder(FolderPlaces places) : places_(std::move(places)) {}
    std::vector<FolderEntry> list() const override;

private:
    FolderPlaces places_;
};

} // namespace spat4
