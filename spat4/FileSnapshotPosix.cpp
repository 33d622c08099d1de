#include "FileSnapshot.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace spat4 {

namespace {

// Closes the descriptor however the look ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

FileSnapshot takeSnapshot(const std::filesystem::path &path, std::size_t maxBytes,
                          const ReadPacing &pacing)
{
    using Outcome = FileSnapshot::Outcome;
    FileSnapshot snapshot;
    // Not blocking: a FIFO put in the file's place since the listing opens at once, and is then
    // refused as not a regular file. POSIX has no sharing modes, so nothing is ever Locked here,
    // and a deleted file loses its name at once, so nothing is Deleting either.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT)
            snapshot.outcome = Outcome::Missing;
        return snapshot;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return snapshot;

    snapshot.bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(file.get(), snapshot.bytes.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FileSnapshot{};
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    snapshot.bytes.resize(got);
    // The time after the bytes, through the same descriptor: a write during the read shows in
    // one or the other, and a rename or removal meanwhile does not matter.
    if (::fstat(file.get(), &info) != 0)
        return FileSnapshot{};
    snapshot.written = systemTimeOf(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    snapshot.outcome = Outcome::Read;
    pacing.whileFileOpen();
    return snapshot;
}

} // namespace spat4
