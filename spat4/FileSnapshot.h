#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace spat4 {

// One look at a file that another program may be writing: its first bytes and its last-write
// time, taken through one handle that is open only for the look, the time of one read of a few
// kilobytes. On Windows the handle shares reading, writing and deleting, so while it is open the
// SPAT4 client may still open the file in a mode that shares reading, write it, rename it away
// and delete it. It is refused some things meanwhile, as with any reader: an open for writing
// that does not share reading (a sharing violation), a rename of another file over this one
// (unless the rename asks for POSIX semantics), and, after deleting the file, a new file of the
// same name until the look closes its handle (unless the deletion had POSIX semantics). A client
// that tries again a moment later gets through; one that gives up at once does not.
struct FileSnapshot {
    enum class Outcome {
        Read,       // bytes and written hold the file's
        Locked,     // Windows refused the open or the read for the client's sharing mode or lock
        Deleting,   // Windows refused the open: the file is deleted, and a handle still holds it
        Missing,    // no file of that name
        Unreadable, // not a regular file, no permission, or a read error
    };
    Outcome outcome = Outcome::Unreadable;
    std::string bytes; // at most maxBytes, fewer when the file is shorter
    std::chrono::system_clock::time_point written;

    bool sameAs(const FileSnapshot &other) const
    {
        return outcome == Outcome::Read && other.outcome == Outcome::Read && bytes == other.bytes &&
               written == other.written;
    }
};

// How a read of an odds file waits between two looks at it, and what happens while it has the
// file open: the program sleeps and does nothing; tests replace either to act as the SPAT4
// client would at that moment, without sleeping long.
class ReadPacing {
public:
    virtual ~ReadPacing() = default;
    // Between two looks, with the file closed.
    virtual void pause(std::chrono::milliseconds length) const;
    // During each look, after the bytes and time stamp are read and before the file is closed.
    virtual void whileFileOpen() const {}
};

// The pacing of the program itself.
const ReadPacing &systemReadPacing();

// Opens the file for reading only, reads up to maxBytes from its start and its last-write
// time, calls pacing.whileFileOpen(), and closes it.
FileSnapshot takeSnapshot(const std::filesystem::path &path, std::size_t maxBytes,
                          const ReadPacing &pacing);

// A time given as whole seconds since 1970-01-01 UTC and nanoseconds into that second, held
// to what system_clock can count (about the years 1678 to 2262 where it counts nanoseconds):
// a time stamp beyond that shows as its end, never as a wrapped-round time.
std::chrono::system_clock::time_point systemTimeOf(std::int64_t seconds, std::int64_t nanoseconds);

} // namespace spat4
