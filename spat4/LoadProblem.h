#pragma once

#include <string>

namespace spat4 {

// Why a load cannot go ahead; the window shows a message and changes nothing.
struct LoadProblem {
    enum class Kind {
        NoSelection,           // venue without race, race without venue, or neither
        NoMatchingFile,        // the race probe matches nothing
        FileUnreadable,        // vanished before any look, no permission, not a file
        FileNotSettled,        // changed between every two looks, held by the client, or gone
                               // after a look found it, until the looks ran out
        TooShortForHeader,     // ends inside the header window
        TooShortForOdds,       // ends inside the odds window
        RunnerCountNotANumber, // the field holds no number at all
        RunnerCountOutOfRange, // the field's number, rounded, is outside the runner range
        OddsNotFinite,         // an odds field of horses 1..runnerCount reads as infinity
    };
    Kind kind;
    // What a message needs, UTF-8:
    //   NoSelection                     empty
    //   NoMatchingFile                  the probe's name part, "ZO-61??A.PAT"
    //   FileUnreadable, FileNotSettled,
    //   TooShortFor...                  the file name, "ZO-6101A.PAT"
    //   RunnerCountNotANumber           the two characters of the field as read, " X"
    //   RunnerCountOutOfRange           the count as read, in plain decimal, "7", "17", "-8"
    //   OddsNotFinite                   the horse number of the first bad record, "7"
    std::string detail;
};

} // namespace spat4
