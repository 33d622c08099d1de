#pragma once

#include "FileSnapshot.h"
#include "LoadProblem.h"
#include "OddsFileLayout.h"
#include "Unicode.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace spat4 {

// Decodes at most maxCharacters characters as Windows' code page 932 does: bytes 0x00-0x7F are
// themselves, a lead byte and a trail byte are one character, and a byte sequence that is not
// Shift-JIS (a stray lead byte, an unassigned pair, 0x80, 0xA0, 0xFD-0xFF) is one character
// U+FFFD, so the positions after it stay where the writer meant them.
std::u32string decodeCp932(std::string_view bytes, std::size_t maxCharacters);

// Characters first .. first + width - 1 (from 1) of a decoded window, as UTF-8; what lies
// beyond the window's end is left out.
std::string fieldOf(std::u32string_view window, std::size_t first, std::size_t width);

// The title as shown: leading ASCII blanks dropped, trailing ones kept. A full-width blank
// (U+3000) is kept, as the client's own indentation of a Japanese title.
std::string withoutLeadingBlanks(std::string_view text);

// The two windows of one SPAT4 file and its time stamp.
struct OddsFile {
    std::chrono::system_clock::time_point modified;
    std::u32string header; // kHeaderCharacters characters
    std::u32string odds;   // kOddsCharacters characters

    std::string headerText() const { return toUtf8(header); }
    std::string titleField() const { return fieldOf(header, kTitleFirst, kTitleWidth); }
    std::string runnerCountField() const
    {
        return fieldOf(header, kRunnerCountFirst, kRunnerCountWidth);
    }
    // horse 1..16: the odds texts of record horse.
    std::string lowOddsField(int horse) const;
    std::string highOddsField(int horse) const;
};

// The SPAT4 client rewrites a file in place, possibly in several writes with pauses between
// them, so one look may show a short file or a mix of the old and the new odds; or it replaces
// the file: it deletes it, or cuts it to nothing, and writes it anew some 100 to 200 ms later.
// A file counts as settled when two looks kReadPause apart give the same bytes and the same
// last-write time; it is looked at up to kMaxLooks times, so a load waits at most
// (kMaxLooks - 1) * kReadPause = 450 ms besides the looks themselves. Every look until then
// that shows the client at work agrees with no other look and is retried the same way:
//   - Windows refused it because the client holds the file (a sharing violation or a lock), or
//     because the file is deleted and a handle still holds it (access denied, delete pending);
//   - it found no file, after an earlier look found one;
//   - it agrees with the look before but the file is too short for the two windows and was
//     written less than kJustWritten before (or after) the look.
// Ten looks take a file cut to nothing just before the second look and whole again 200 ms later
// with one to three looks to spare.
inline constexpr std::chrono::milliseconds kReadPause{50};
inline constexpr int kMaxLooks = 10;
inline constexpr std::chrono::seconds kJustWritten{1};

// Reads the time stamp and both windows of a settled file: each look opens the file for reading
// only (sharing every right with the client), reads at most kBytesNeeded bytes and closes it at
// once. Problems come back with the file name as detail: FileUnreadable (not a regular file, no
// permission, a read error, or no file at the first look), FileNotSettled (the looks ran out
// with the client still at work: the file changing, held, or gone after a look found it), or
// TooShortForHeader or TooShortForOdds (the last two looks agreed on a file that short).
std::variant<OddsFile, LoadProblem> readOddsFile(const std::filesystem::path &path,
                                                 const ReadPacing &pacing = systemReadPacing());

// The windows of a file's first bytes (at least kBytesNeeded of them when the file has that
// many), without the time stamp. Problems come back as TooShortForHeader or TooShortForOdds
// with name as detail.
std::variant<OddsFile, LoadProblem> oddsFileFromBytes(std::string_view bytes,
                                                      const std::string &name);

} // namespace spat4
