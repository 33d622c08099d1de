#pragma once

#include <QString>

// What the main window's layout and its behaviour both need from the design tables.
namespace form1 {

// Race buttons Option1..Option12.
constexpr int kRaceButtons = 12;

// The heading of entry-grid column 1..5 as messages name it: "前3走" .. "複勝オッズ上限".
QString columnHeading(int column);

// How many characters the user may type into a box of entry-grid column 1..5.
int typingLength(int column);

} // namespace form1
