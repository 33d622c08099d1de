#pragma once

#include "OddsFileLayout.h"
#include "Spat4Folder.h"
#include "Spat4State.h"

#include <array>

namespace spat4 {

// The lowest and highest venue codes the start-up scan probes; 58 to 60 are probed like the
// others but belong to no venue button.
inline constexpr int kFirstScannedCode = 56;
inline constexpr int kLastScannedCode = 62;

// The start-up scan: the venue probe of every code 56..62, then the twelve race probes of every
// code whose venue probe found a file. Writes VenueFileFlags and RaceFileTable (0 or 1) and the
// pattern and first-file tables (name parts only, "ZO-56???.PAT"; the first file is the first
// matching name in name order, empty when none).
// Codes whose venue probe finds nothing keep their race entries untouched. The folder is listed
// once and every probe is answered from that listing, which gives the same result as one
// listing per probe of an unchanging folder.
void scanAvailability(const Spat4Folder &folder, Availability &availability);

// The enabled state of race buttons 1..12 (element r - 1) after a click on the venue button of
// venueCode: enabled exactly when RaceFileTable has a non-zero entry for the code and race.
std::array<bool, kRacesPerDay> raceButtonStates(const Availability &availability, int venueCode);

} // namespace spat4
