#include "AvailabilityScan.h"
#include "BenchFolders.h"
#include "FolderPlaces.h"
#include "OddsFileReader.h"
#include "OddsLoad.h"
#include "Spat4Folder.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

spat4::PlacesSpat4Folder folderAt(const fs::path &driveRoot)
{
    return spat4::PlacesSpat4Folder(spat4::FolderPlaces{driveRoot, std::nullopt});
}

fs::path raceOneFile()
{
    return bench::spat4DirBelow(bench::loadFolderRoot()) / "ZO-61011.PAT";
}

// ---- One file ----------------------------------------------------------------------------------

// The floor under the reader: the time stamp and the bytes it needs, with nothing decoded.
void BM_BareReadOfOneFile(benchmark::State &state)
{
    const fs::path path = raceOneFile();
    std::array<char, spat4::kBytesNeeded> buffer{};
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        ::fstat(fd, &info);
        // Not const: DoNotOptimize takes what it keeps as a value that may change (its form for
        // const values lets the compiler optimise around it, and newer Google Benchmarks
        // deprecate it).
        ssize_t got = ::read(fd, buffer.data(), buffer.size());
        ::close(fd);
        benchmark::DoNotOptimize(info.st_mtim);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_BareReadOfOneFile)->UseRealTime();

// Both windows, the time stamp and every field the loader takes: the two looks that agree on a
// settled file, without the pause between them.
void BM_ReadOddsFileAllFields(benchmark::State &state)
{
    const fs::path path = raceOneFile();
    for (auto _ : state) {
        auto read = spat4::readOddsFile(path, bench::noPause());
        auto &file = std::get<spat4::OddsFile>(read);
        std::string header = file.headerText();
        std::string title = spat4::withoutLeadingBlanks(file.titleField());
        std::string runners = file.runnerCountField();
        benchmark::DoNotOptimize(file.modified);
        benchmark::DoNotOptimize(header);
        benchmark::DoNotOptimize(title);
        benchmark::DoNotOptimize(runners);
        for (int horse = 1; horse <= 16; ++horse) {
            std::string low = file.lowOddsField(horse);
            std::string high = file.highOddsField(horse);
            benchmark::DoNotOptimize(low);
            benchmark::DoNotOptimize(high);
        }
    }
}
BENCHMARK(BM_ReadOddsFileAllFields)->UseRealTime();

// The floor under planLoad: one listing of the folder's names and the bare read of the file.
void BM_BareListingAndRead(benchmark::State &state)
{
    const fs::path dir = bench::spat4DirBelow(bench::loadFolderRoot());
    const fs::path path = raceOneFile();
    std::array<char, spat4::kBytesNeeded> buffer{};
    for (auto _ : state) {
        std::vector<std::string> names;
        for (const fs::directory_entry &entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        ::fstat(fd, &info);
        ssize_t got = ::read(fd, buffer.data(), buffer.size());
        ::close(fd);
        benchmark::DoNotOptimize(names);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_BareListingAndRead)->UseRealTime();

void BM_PlanLoad(benchmark::State &state)
{
    const bench::UnpausedSpat4Folder folder(bench::loadFolderRoot());
    for (auto _ : state) {
        auto plan = spat4::planLoad(folder, 61, 1);
        if (!std::holds_alternative<spat4::LoadPlan>(plan))
            state.SkipWithError("the race-1 file did not load");
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_PlanLoad)->UseRealTime();

// ---- Start-up scan -----------------------------------------------------------------------------

// The floor: one directory listing collecting the names, nothing filtered or matched.
void BM_BareListing(benchmark::State &state)
{
    const fs::path dir =
        bench::spat4DirBelow(bench::scanFolderRoot(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        std::vector<std::string> names;
        for (const fs::directory_entry &entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        benchmark::DoNotOptimize(names);
    }
}

// The scan's own listing: the ordinary files of the folder found below the drive root.
void BM_FolderList(benchmark::State &state)
{
    const auto folder = folderAt(bench::scanFolderRoot(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto entries = folder.list();
        benchmark::DoNotOptimize(entries);
    }
}

void BM_Scan(benchmark::State &state)
{
    const auto folder = folderAt(bench::scanFolderRoot(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto availability = std::make_unique<spat4::Availability>();
        spat4::scanAvailability(folder, *availability);
        if (availability->VenueFileFlags[60] != 1)
            state.SkipWithError("the scan missed the code-60 file");
        benchmark::DoNotOptimize(availability.get());
    }
}

// The reference: the scan as first described, one listing of the folder per probe.
void naiveScan(const spat4::Spat4Folder &folder, spat4::Availability &availability)
{
    auto probe = [&folder](const std::string &pattern, std::string &firstFile) {
        const auto match = spat4::firstMatch(folder.list(), pattern);
        firstFile = match ? match->name : std::string();
        return static_cast<std::int16_t>(match ? 1 : 0);
    };
    for (int code = spat4::kFirstScannedCode; code <= spat4::kLastScannedCode; ++code) {
        availability.VenuePattern[code] = spat4::venueProbe(code);
        availability.VenueFileFlags[code] =
            probe(availability.VenuePattern[code], availability.VenueFirstFile[code]);
    }
    for (int code = spat4::kFirstScannedCode; code <= spat4::kLastScannedCode; ++code) {
        if (availability.VenueFileFlags[code] != 1)
            continue;
        for (int race = 1; race <= spat4::kRacesPerDay; ++race) {
            availability.RacePattern[code][race] = spat4::raceProbe(code, race);
            availability.RaceFileTable[code][race] =
                probe(availability.RacePattern[code][race], availability.RaceFirstFile[code][race]);
        }
    }
}

void BM_NaiveScan(benchmark::State &state)
{
    const auto folder = folderAt(bench::scanFolderRoot(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto availability = std::make_unique<spat4::Availability>();
        naiveScan(folder, *availability);
        benchmark::DoNotOptimize(availability.get());
    }
}

BENCHMARK(BM_BareListing)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FolderList)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scan)->Arg(100)->Arg(10000)->Arg(100000)->UseRealTime()->Unit(benchmark::kMicrosecond);
// 91 listings of 100,000 names take seconds; a few single passes are enough to see the factor.
BENCHMARK(BM_NaiveScan)->Arg(100)->Arg(10000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NaiveScan)
    ->Arg(100000)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
