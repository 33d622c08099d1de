#pragma once

#include "OddsFileLayout.h"
#include "Venues.h"

#include <QString>

#include <cstddef>

// What the main window's layout and its behaviour both need from the design tables.
namespace form1 {

// Race buttons Option1..Option12, one per race of the day.
constexpr int kRaceButtons = spat4::kRacesPerDay;

// The venue buttons Option21..Option24 are the venues of spat4::kVenues, in its order: each
// takes its caption (the venue's name) and its code from there.
constexpr int kFirstVenueButton = 21;
constexpr int venueButton(std::size_t venueIndex)
{
    return kFirstVenueButton + static_cast<int>(venueIndex);
}
// The venue of a venue button; nullptr for any other option button.
constexpr const spat4::Venue *venueOfButton(int option)
{
    const int index = option - kFirstVenueButton;
    return (index >= 0 && index < static_cast<int>(spat4::kVenues.size())) ? &spat4::kVenues[index]
                                                                           : nullptr;
}

// The heading of entry-grid column 1..5 as messages name it: "前3走" .. "複勝オッズ上限".
QString columnHeading(int column);

// How many characters the user may type into a box of entry-grid column 1..5.
int typingLength(int column);

} // namespace form1
