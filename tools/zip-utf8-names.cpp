// zip-utf8-names ZIP: marks every entry name of ZIP that is not plain ASCII as UTF-8 (bit 11 of
// the general-purpose flags, in the central directory and in the entry's local header).
//
// Info-ZIP's zip stores the names' bytes as they are, UTF-8 on Debian, but sets no flag: Explorer
// and most unpackers on a Japanese Windows then read them in the OEM code page (CP932) and show
// mojibake. With the flag they read UTF-8. Nothing else in the file changes: the flags are not
// covered by any checksum.
//
// Only a plain archive as zip writes it is touched. A name that is not valid UTF-8, or anything
// this does not understand for certain (ZIP64, a split or encrypted archive, an end record that is
// not the file's last bytes, a local header that disagrees with the directory), is refused. The
// result is written to a temporary file beside ZIP and renamed over it, so whatever fails (a full
// disk included) ZIP is either marked completely or left byte for byte as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::size_t kEndSize = 22, kEntrySize = 46, kLocalSize = 30;
constexpr std::uint32_t kUtf8Flag = 1u << 11;
// Traditional encryption, strong encryption, and local headers masked by directory encryption.
constexpr std::uint32_t kEncrypted = 1u << 0 | 1u << 6 | 1u << 13;

// Why the file is left as it was.
struct Failure {
    std::string why;
};

[[noreturn]] void failWithErrno(const std::string &what)
{
    throw Failure{what + ": " + std::strerror(errno)};
}

// [at, at + size) lies inside [0, limit), without overflow.
bool fits(std::size_t at, std::size_t size, std::size_t limit)
{
    return at <= limit && size <= limit - at;
}

// Little-endian fields of the file; any read past its end is a refusal.
class Bytes {
public:
    explicit Bytes(const std::vector<unsigned char> &data) : m_data(data) {}

    std::size_t size() const { return m_data.size(); }
    std::uint32_t u16(std::size_t at) const
    {
        need(at, 2);
        return m_data[at] | m_data[at + 1] << 8;
    }
    std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::string_view text(std::size_t at, std::size_t size) const
    {
        need(at, size);
        return {reinterpret_cast<const char *>(m_data.data() + at), size};
    }

private:
    void need(std::size_t at, std::size_t size) const
    {
        if (!fits(at, size, m_data.size()))
            throw Failure{"it ends inside a header (truncated)"};
    }
    const std::vector<unsigned char> &m_data;
};

bool isAscii(std::string_view name)
{
    for (unsigned char c : name)
        if (c >= 0x80)
            return false;
    return true;
}

// Well-formed UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing past U+10FFFF.
bool isUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = text[i];
        int extra = 0;
        std::uint32_t lowest = 0, code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xe0) == 0xc0) {
            extra = 1, lowest = 0x80, code = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            extra = 2, lowest = 0x800, code = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            extra = 3, lowest = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = text[i + k];
            if ((next & 0xc0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3f);
        }
        if (code < lowest || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
        i += extra + 1;
    }
    return true;
}

// The end-of-central-directory record: the one whose comment ends exactly where the file ends.
// Unpackers that search backwards for the signature would take one inside that comment instead,
// so a second signature there is as ambiguous as a second record that also fits.
std::size_t findEndOfDirectory(const Bytes &bytes)
{
    const std::size_t size = bytes.size();
    const std::size_t first = size > kEndSize + 0xffff ? size - kEndSize - 0xffff : 0;
    std::vector<std::size_t> found, fitting;
    for (std::size_t at = first; at + 4 <= size; ++at) {
        if (bytes.u32(at) != kEndOfDirectory)
            continue;
        found.push_back(at);
        if (at + kEndSize <= size && at + kEndSize + bytes.u16(at + 20) == size)
            fitting.push_back(at);
    }
    if (found.empty())
        throw Failure{"no end-of-central-directory record (not a zip, or truncated)"};
    if (fitting.size() > 1)
        throw Failure{"more than one end-of-central-directory record ends at the end of the file"};
    if (fitting.empty()) {
        const std::size_t last = found.back();
        if (last + kEndSize > size || last + kEndSize + bytes.u16(last + 20) > size)
            throw Failure{"the file ends inside its end-of-central-directory record or comment "
                          "(truncated)"};
        throw Failure{std::to_string(size - last - kEndSize - bytes.u16(last + 20)) +
                      " byte(s) follow the end-of-central-directory record and its comment"};
    }
    if (found.back() != fitting.front())
        throw Failure{"the archive comment holds another end-of-central-directory signature"};
    return fitting.front();
}

// The offsets of the flag fields to mark, two per entry (directory, local header).
std::vector<std::size_t> flagsToMark(const Bytes &bytes)
{
    const std::size_t end = findEndOfDirectory(bytes);
    if (end >= 20 && bytes.u32(end - 20) == kZip64Locator)
        throw Failure{"it is a ZIP64 archive (it has a ZIP64 end locator)"};
    const std::uint32_t disk = bytes.u16(end + 4), directoryDisk = bytes.u16(end + 6);
    const std::uint32_t countHere = bytes.u16(end + 8), count = bytes.u16(end + 10);
    const std::uint32_t directorySize = bytes.u32(end + 12), directory = bytes.u32(end + 16);
    if (disk == 0xffff || directoryDisk == 0xffff || countHere == 0xffff || count == 0xffff ||
        directorySize == 0xffffffff || directory == 0xffffffff)
        throw Failure{"it is a ZIP64 archive (its end record defers to a ZIP64 one)"};
    if (disk != 0 || directoryDisk != 0 || countHere != count)
        throw Failure{"it is split over several disks"};
    // zip writes the directory just before the end record; anything else (data prepended to the
    // archive, a directory outside the file) would make every offset below mean something else.
    if (!fits(directory, directorySize, end) || directory + directorySize != end)
        throw Failure{"the central directory (" + std::to_string(directorySize) + " bytes at " +
                      std::to_string(directory) + ") does not lie just before the end record at " +
                      std::to_string(end)};
    std::vector<std::size_t> marks;
    std::size_t at = directory;
    for (std::uint32_t i = 1; i <= count; ++i) {
        const std::string entry = "central-directory entry " + std::to_string(i);
        if (!fits(at, kEntrySize, end) || bytes.u32(at) != kDirectoryEntry)
            throw Failure{entry + " is missing or broken"};
        const std::uint32_t flags = bytes.u16(at + 8), packedSize = bytes.u32(at + 20);
        const std::uint32_t nameSize = bytes.u16(at + 28);
        const std::size_t next =
            at + kEntrySize + nameSize + bytes.u16(at + 30) + bytes.u16(at + 32);
        const std::uint32_t local = bytes.u32(at + 42);
        if (next > end)
            throw Failure{entry +
                          ": its name, extra field or comment runs past the central directory"};
        if (packedSize == 0xffffffff || bytes.u32(at + 24) == 0xffffffff ||
            bytes.u16(at + 34) == 0xffff || local == 0xffffffff)
            throw Failure{entry + " has ZIP64 sizes or offsets"};
        if (flags & kEncrypted)
            throw Failure{entry + " is encrypted"};
        const std::string_view name = bytes.text(at + kEntrySize, nameSize);
        if (!isUtf8(name))
            throw Failure{entry + ": its name is not UTF-8"};
        // The local header, its name, extra field and data lie before the directory and agree with
        // it on the name and, but for the UTF-8 flag, on the flags.
        const std::string header = "the local header of " + std::string(name);
        if (!fits(local, kLocalSize, directory) || bytes.u32(local) != kLocalHeader)
            throw Failure{header + " is not where the central directory says"};
        const std::uint32_t localFlags = bytes.u16(local + 6),
                            localNameSize = bytes.u16(local + 26);
        if (localNameSize != nameSize ||
            !fits(local + kLocalSize,
                  std::size_t{localNameSize} + bytes.u16(local + 28) + packedSize, directory) ||
            bytes.text(local + kLocalSize, localNameSize) != name ||
            ((flags ^ localFlags) & ~kUtf8Flag) != 0)
            throw Failure{header + " disagrees with the central directory"};
        if (!isAscii(name) && (flags & localFlags & kUtf8Flag) == 0) {
            marks.push_back(at + 8);
            marks.push_back(local + 6);
        }
        at = next;
    }
    if (at != end)
        throw Failure{"the central directory holds more than the " + std::to_string(count) +
                      " entries its end record counts"};
    return marks;
}

// Closes the descriptor when reading stops early; a failed close of a file only read loses nothing.
struct ReadOnly {
    int fd;
    ~ReadOnly() { ::close(fd); }
};

std::vector<unsigned char> readZip(const std::string &path, mode_t &mode)
{
    const ReadOnly file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)};
    if (file.fd < 0 && errno == ELOOP)
        throw Failure{"it is a symbolic link"};
    if (file.fd < 0)
        failWithErrno("cannot open it");
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        failWithErrno("cannot read its size");
    if (!S_ISREG(info.st_mode))
        throw Failure{"it is not a regular file"};
    mode = info.st_mode & 07777;
    std::vector<unsigned char> data(static_cast<std::size_t>(info.st_size));
    for (std::size_t done = 0; done < data.size();) {
        const ssize_t got = ::read(file.fd, data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failWithErrno("cannot read it");
        if (got == 0)
            throw Failure{"it got shorter while being read"};
        done += static_cast<std::size_t>(got);
    }
    return data;
}

// Writes data to a new file beside path, with path's mode, and renames it over path once all of it
// is on disk. On any failure the new file is removed and path is as it was.
void replaceZip(const std::string &path, const std::vector<unsigned char> &data, mode_t mode)
{
    std::string temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        failWithErrno("cannot create a temporary file beside it");
    try {
        if (::fchmod(fd, mode) != 0)
            failWithErrno("cannot set the mode of " + temporary);
        for (std::size_t done = 0; done < data.size();) {
            const ssize_t put = ::write(fd, data.data() + done, data.size() - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                failWithErrno("cannot write " + temporary);
            done += static_cast<std::size_t>(put);
        }
        if (::fsync(fd) != 0)
            failWithErrno("cannot flush " + temporary + " to disk");
        const int written = fd;
        fd = -1;
        if (::close(written) != 0)
            failWithErrno("cannot close " + temporary);
        if (::rename(temporary.c_str(), path.c_str()) != 0)
            failWithErrno("cannot rename " + temporary + " over it");
    } catch (const Failure &) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
}

// Puts the rename itself on disk; 0, or the error. The new file is in place by now, so a failure
// here is reported, but the file is no longer as it was.
int syncFolder(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const ReadOnly dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    return dir.fd >= 0 && ::fsync(dir.fd) == 0 ? 0 : errno;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: zip-utf8-names ZIP\n";
        return 2;
    }
    const std::string path = argv[1];
    std::size_t marked = 0;
    try {
        mode_t mode = 0;
        std::vector<unsigned char> data = readZip(path, mode);
        const std::vector<std::size_t> marks = flagsToMark(Bytes(data));
        if (marks.empty()) {
            std::cout << "zip-utf8-names: nothing to mark in " << path << '\n';
            return 0;
        }
        for (std::size_t at : marks)
            data[at + 1] |= kUtf8Flag >> 8;
        replaceZip(path, data, mode);
        marked = marks.size() / 2;
    } catch (const Failure &failure) {
        std::cerr << "zip-utf8-names: " << path << ": " << failure.why << "; left as it was\n";
        return 1;
    }
    if (const int error = syncFolder(path)) {
        std::cerr << "zip-utf8-names: " << path
                  << ": marked, but its folder could not be flushed to disk: "
                  << std::strerror(error) << '\n';
        return 1;
    }
    std::cout << "zip-utf8-names: " << marked << " name(s) marked as UTF-8 in " << path << '\n';
    return 0;
}
