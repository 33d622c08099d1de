#pragma once

#include "FileSnapshot.h"
#include "FolderPlaces.h"
#include "SampleWriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

// Folders the benchmarks read, made once below $MILKA_BENCH_DIR (default /tmp/milka-bench) and
// reused by every later run until bench/run removes them. Each folder is built under a temporary
// name and renamed when complete, so a run that was cut short never leaves half a folder behind.
namespace bench {

namespace fs = std::filesystem;

// The reader's looks without the pause between them: the pause is a fixed wait, not work, and
// the figures are of the work.
class NoPause final : public spat4::ReadPacing {
public:
    void pause(std::chrono::milliseconds) const override {}
};

inline const spat4::ReadPacing &noPause()
{
    static const NoPause pacing;
    return pacing;
}

// The program's folder of SPAT4 files below a drive root, read without the pause.
class UnpausedSpat4Folder final : public spat4::PlacesSpat4Folder {
public:
    explicit UnpausedSpat4Folder(const fs::path &driveRoot)
        : spat4::PlacesSpat4Folder(spat4::FolderPlaces{driveRoot, std::nullopt})
    {
    }
    const spat4::ReadPacing &readPacing() const override { return noPause(); }
};

inline fs::path benchRoot()
{
    const char *dir = std::getenv("MILKA_BENCH_DIR");
    return fs::path(dir && *dir ? dir : "/tmp/milka-bench");
}

// Where the client keeps its files below a drive root, as the program looks for it.
inline fs::path spat4DirBelow(const fs::path &driveRoot)
{
    return driveRoot / fs::path(u8"PROGRAM FILES/南関東４競馬場");
}

// A plausible card of runners horses: odds rising with the horse number, shifted by seed so two
// races of the same size still differ.
inline spat4::sample::SampleFile sampleRace(int venueCode, char raceChar, int runners, int seed)
{
    spat4::sample::SampleFile file;
    file.venueCode = venueCode;
    file.raceChar = raceChar;
    file.title = "東京湾カップ"; // UTF-8 source
    file.runnerField = std::to_string(runners);
    for (int horse = 1; horse <= 16; ++horse) {
        char low[8], high[8];
        std::snprintf(low, sizeof low, "%5.1f", 1.0 + 0.1 * ((horse * 7 + seed) % 40));
        std::snprintf(high, sizeof high, "%5.1f", 2.0 + 0.3 * ((horse * 5 + seed) % 40));
        file.records.push_back({low, high});
    }
    return file;
}

inline void writeSample(const fs::path &dir, const spat4::sample::SampleFile &file)
{
    const auto written = spat4::sample::writeSampleFile(dir, file);
    if (const auto *error = std::get_if<spat4::sample::SampleError>(&written))
        throw std::runtime_error(error->message);
}

// Builds root (a drive root with the client's folder below it) unless it already exists.
template <typename Fill> fs::path ensureFolder(const fs::path &root, Fill fill)
{
    if (fs::exists(root))
        return root;
    fs::path building = root;
    building += ".building";
    fs::remove_all(building);
    fs::create_directories(spat4DirBelow(building));
    fill(spat4DirBelow(building));
    fs::rename(building, root);
    return root;
}

// A drive root whose client folder holds `files` files: mostly other programs' files
// ("data00123.tmp"), plus races 1 to 6 of each of the four venues and one file of each of the
// codes 58 to 60, so every one of the 7 venue probes and the 84 race probes is asked.
inline fs::path scanFolderRoot(int files)
{
    return ensureFolder(benchRoot() / ("scan-" + std::to_string(files)),
                        [files](const fs::path &dir) {
                            int written = 0;
                            for (int code : {56, 57, 61, 62}) {
                                for (char race : {'1', '2', '3', '4', '5', '6'}) {
                                    writeSample(dir, sampleRace(code, race, 12, written));
                                    ++written;
                                }
                            }
                            for (int code : {58, 59, 60}) {
                                writeSample(dir, sampleRace(code, '1', 10, written));
                                ++written;
                            }
                            for (int other = 0; written < files; ++other, ++written) {
                                char name[32];
                                std::snprintf(name, sizeof name, "data%05d.tmp", other);
                                std::ofstream(dir / name).put('x');
                            }
                        });
}

// A drive root for the odds loader: 大井 (61) races 1 (16 runners) and 2 (12 runners), among a
// few hundred other files.
inline fs::path loadFolderRoot()
{
    return ensureFolder(benchRoot() / "load", [](const fs::path &dir) {
        writeSample(dir, sampleRace(61, '1', 16, 0));
        writeSample(dir, sampleRace(61, '2', 12, 3));
        for (int other = 0; other < 300; ++other) {
            char name[32];
            std::snprintf(name, sizeof name, "data%05d.tmp", other);
            std::ofstream(dir / name).put('x');
        }
    });
}

} // namespace bench
