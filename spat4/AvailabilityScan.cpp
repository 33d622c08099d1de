#include "AvailabilityScan.h"

#include "FolderPlaces.h"
#include "OddsLoad.h"

namespace spat4 {

namespace {

bool hasProbeShape(std::string_view name)
{
    return name.size() >= kNamePrefix.size() + kNameSuffix.size() &&
           equalsIgnoringAsciiCase(name.substr(0, kNamePrefix.size()), kNamePrefix) &&
           equalsIgnoringAsciiCase(name.substr(name.size() - kNameSuffix.size()), kNameSuffix);
}

} // namespace

void scanAvailability(const Spat4Folder &folder, Availability &availability)
{
    const std::vector<FolderEntry> entries = folder.list();

    // Every probe begins with the name prefix and ends with the suffix, so only names that do
    // can answer one. Picking those out once leaves the 91 probes a handful of names to try
    // instead of the whole folder; the first match of each probe in name order stays the same.
    std::vector<FolderEntry> candidates;
    for (const FolderEntry &e : entries)
        if (hasProbeShape(e.name))
            candidates.push_back(e);

    auto probe = [&candidates](const std::string &pattern, std::string &firstFile) {
        const auto match = firstMatch(candidates, pattern);
        firstFile = match ? match->name : std::string();
        return static_cast<std::int16_t>(match ? 1 : 0);
    };

    for (int code = kFirstScannedCode; code <= kLastScannedCode; ++code) {
        availability.VenuePattern[code] = venueProbe(code);
        availability.VenueFileFlags[code] =
            probe(availability.VenuePattern[code], availability.VenueFirstFile[code]);
    }
    for (int code = kFirstScannedCode; code <= kLastScannedCode; ++code) {
        if (availability.VenueFileFlags[code] != 1)
            continue;
        for (int race = 1; race <= kRacesPerDay; ++race) {
            availability.RacePattern[code][race] = raceProbe(code, race);
            availability.RaceFileTable[code][race] =
                probe(availability.RacePattern[code][race], availability.RaceFirstFile[code][race]);
        }
    }
}

std::array<bool, kRacesPerDay> raceButtonStates(const Availability &availability, int venueCode)
{
    std::array<bool, kRacesPerDay> enabled{};
    if (venueCode < 0 || venueCode >= static_cast<int>(availability.RaceFileTable.size()))
        return enabled;
    for (int race = 1; race <= kRacesPerDay; ++race)
        enabled[race - 1] = availability.RaceFileTable[venueCode][race] != 0;
    return enabled;
}

} // namespace spat4
