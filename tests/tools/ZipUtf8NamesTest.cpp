// zip-utf8-names, run as tools/package-windows runs it, on small zips made here byte by byte: a
// good archive gets the UTF-8 flag in exactly the bytes that hold it, and every archive it must
// refuse, or cannot write back, is left byte for byte as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void put16(std::string &out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>(value >> 8 & 0xff);
}
void put32(std::string &out, std::uint32_t value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}
// Overwrites the little-endian field of size bytes at an offset.
void setField(std::string &zip, std::size_t at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        zip[at + i] = static_cast<char>(value >> 8 * i & 0xff);
}
std::uint32_t get16(const std::string &zip, std::size_t at)
{
    return static_cast<unsigned char>(zip[at]) | static_cast<unsigned char>(zip[at + 1]) << 8;
}
std::uint32_t get32(const std::string &zip, std::size_t at)
{
    return get16(zip, at) | get16(zip, at + 2) << 16;
}

std::uint32_t crc32(const std::string &data)
{
    std::uint32_t crc = 0xffffffff;
    for (unsigned char c : data) {
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (crc & 1 ? 0xedb88320 : 0);
    }
    return ~crc;
}

struct Entry {
    std::string name;
    std::uint32_t flags = 0;
};

// A stored zip laid out as Info-ZIP's zip writes one: each local header with its data, then the
// central directory, then the end record without a comment.
std::string storedZip(const std::vector<Entry> &entries)
{
    std::string zip, directory;
    for (const Entry &entry : entries) {
        const std::string data = "contents of " + entry.name + std::string(2000, '.');
        const auto local = static_cast<std::uint32_t>(zip.size());
        auto common = [&](std::string &out) {
            put16(out, 10); // version needed
            put16(out, entry.flags);
            put16(out, 0);          // stored
            put32(out, 0x5a210000); // time and date
            put32(out, crc32(data));
            put32(out, static_cast<std::uint32_t>(data.size()));
            put32(out, static_cast<std::uint32_t>(data.size()));
            put16(out, static_cast<std::uint32_t>(entry.name.size()));
            put16(out, 0); // extra field
        };
        put32(zip, 0x04034b50);
        common(zip);
        zip += entry.name + data;
        put32(directory, 0x02014b50);
        put16(directory, 0x031e); // made by Unix, zip 3.0
        common(directory);
        put16(directory, 0);          // comment
        put16(directory, 0);          // disk
        put16(directory, 0);          // internal attributes
        put32(directory, 0x81a40000); // -rw-r--r--
        put32(directory, local);
        directory += entry.name;
    }
    const auto count = static_cast<std::uint32_t>(entries.size());
    const auto at = static_cast<std::uint32_t>(zip.size());
    zip += directory;
    put32(zip, 0x06054b50);
    put32(zip, 0); // disks
    put16(zip, count);
    put16(zip, count);
    put32(zip, static_cast<std::uint32_t>(directory.size()));
    put32(zip, at);
    put16(zip, 0); // comment
    return zip;
}

const std::vector<Entry> kNames = {{"説明書.txt"}, {"readme.txt"}};
const std::vector<Entry> kMarked = {{"説明書.txt", 1u << 11}, {"readme.txt"}};

// Offsets in a zip as storedZip made it: the end record, entry i's directory and local header.
std::size_t endAt(const std::string &zip)
{
    return zip.size() - 22;
}
std::size_t entryAt(const std::string &zip, int i)
{
    std::size_t at = get32(zip, endAt(zip) + 16);
    for (; i > 0; --i)
        at += 46 + get16(zip, at + 28) + get16(zip, at + 30) + get16(zip, at + 32);
    return at;
}
std::size_t localAt(const std::string &zip, int i)
{
    return get32(zip, entryAt(zip, i) + 42);
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string firstDifference(const std::string &a, const std::string &b)
{
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
           ", first difference at byte " + std::to_string(at);
}

// Runs the tool on zip with its output in log; with a limit, no file it writes may grow past
// it, as on a full disk. Returns the exit code (128 + the signal when killed).
int runTool(const fs::path &zip, const fs::path &log, rlim_t limit)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0)
            _exit(126);
        const rlimit size{limit, limit};
        if (limit != RLIM_INFINITY &&
            (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &size) != 0))
            _exit(126);
        execl(ZIP_UTF8_NAMES, ZIP_UTF8_NAMES, zip.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(ZipUtf8NamesTest, MarksJapaneseNamesOrLeavesTheFileAsItWas)
{
    struct Row {
        const char *what;
        std::function<void(std::string &)> mangle; // of storedZip(kNames)
        const char *refusal; // part of the message; nullptr: marked, to storedZip(kMarked)
        rlim_t fileSizeLimit = RLIM_INFINITY;
    };
    const auto none = [](std::string &) {};
    const Row rows[] = {
        {"Japanese and ASCII names", none, nullptr},
        {"already marked", [](std::string &z) { z = storedZip(kMarked); }, nullptr},
        {"disk full while writing", none, "cannot write", 1024},
        {"truncated", [](std::string &z) { z.resize(z.size() - 5); }, "truncated"},
        {"comment longer than the bytes after the end record",
         [](std::string &z) {
             setField(z, endAt(z) + 20, 10, 2);
             z += "abcd";
         },
         "truncated"},
        {"bytes after the end record", [](std::string &z) { z += "\n\n\n"; },
         "3 byte(s) follow the end-of-central-directory record"},
        {"two end records that both end at the end",
         [](std::string &z) {
             const std::string end = z.substr(endAt(z));
             setField(z, endAt(z) + 20, 22, 2);
             z += end;
         },
         "more than one end-of-central-directory record"},
        {"end-record signature in the comment",
         [](std::string &z) {
             setField(z, endAt(z) + 20, 7, 2);
             z += "PK\x05\x06...";
         },
         "comment holds another end-of-central-directory signature"},
        {"ZIP64 counts, size and offset",
         [](std::string &z) {
             const std::size_t end = endAt(z);
             setField(z, end + 8, 0xffffffff, 4);
             setField(z, end + 12, 0xffffffff, 4);
             setField(z, end + 16, 0xffffffff, 4);
         },
         "ZIP64"},
        {"ZIP64 end record and locator",
         [](std::string &z) {
             // The ZIP64 end record (its 64-bit fields as pairs of 32-bit halves), then the
             // locator that points to it, both just before the end record.
             const std::size_t end = endAt(z);
             std::string zip64;
             for (std::uint32_t field : {0x06064b50u, 44u, 0u, 45u | 45u << 16, 0u, 0u})
                 put32(zip64, field);
             for (std::uint32_t field :
                  {get16(z, end + 8), get16(z, end + 10), get32(z, end + 12), get32(z, end + 16)}) {
                 put32(zip64, field);
                 put32(zip64, 0);
             }
             for (std::uint32_t field : {0x07064b50u, 0u, static_cast<std::uint32_t>(end), 0u, 1u})
                 put32(zip64, field);
             z.insert(end, zip64);
         },
         "ZIP64 end locator"},
        {"central directory outside the file",
         [](std::string &z) {
             setField(z, endAt(z) + 16, static_cast<std::uint32_t>(z.size()), 4);
         },
         "does not lie just before the end record"},
        {"fewer entries counted than the directory holds",
         [](std::string &z) { setField(z, endAt(z) + 8, 1 | 1 << 16, 4); }, // on this disk, in all
         "more than the 1 entries"},
        // readme.txt's name 10 bytes longer: into the end record, not past the file.
        {"name running past the directory",
         [](std::string &z) { setField(z, entryAt(z, 1) + 28, 10 + 10, 2); },
         "runs past the central directory"},
        {"local header signature", [](std::string &z) { z[localAt(z, 0)] = 'X'; },
         "is not where the central directory says"},
        // 説明書.txt is 13 bytes: its last, and one byte fewer.
        {"local header name", [](std::string &z) { z[localAt(z, 0) + 30 + 12] = 'x'; },
         "disagrees with the central directory"},
        {"local header name length", [](std::string &z) { setField(z, localAt(z, 0) + 26, 12, 2); },
         "disagrees with the central directory"},
        {"encrypted",
         [](std::string &z) {
             z[entryAt(z, 0) + 8] |= 1;
             z[localAt(z, 0) + 6] |= 1;
         },
         "encrypted"},
        {"name in CP932",
         [](std::string &z) {
             z = storedZip({{"\x90\xe0.txt"}, {"readme.txt"}});
         },
         "name is not UTF-8"},
    };
    const bool haveUnzip = std::system("unzip -v >/dev/null 2>&1") == 0;
    std::string folderName = fs::temp_directory_path() / "zip-utf8-names-test-XXXXXX";
    ASSERT_NE(mkdtemp(folderName.data()), nullptr);
    const struct Removed {
        fs::path folder;
        ~Removed() { fs::remove_all(folder); }
    } removed{folderName};
    const fs::path folder = folderName, zipFolder = folder / "zip";
    const fs::path zip = zipFolder / "milka.zip", log = folder / "log";
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(zipFolder);
        fs::create_directory(zipFolder);
        std::string before = storedZip(kNames);
        row.mangle(before);
        std::ofstream(zip, std::ios::binary) << before;
        // Not the mode a new file gets, so a rewritten zip keeps it only if it is carried over.
        fs::permissions(zip, fs::perms(0640));
        struct stat old {};
        ASSERT_EQ(stat(zip.c_str(), &old), 0);

        const int code = runTool(zip, log, row.fileSizeLimit);

        const std::string message = readFile(log);
        const std::string expected = row.refusal ? before : storedZip(kMarked);
        const std::string after = readFile(zip);
        EXPECT_EQ(code, row.refusal ? 1 : 0) << message;
        EXPECT_TRUE(after == expected) << firstDifference(after, expected);
        if (row.refusal) {
            EXPECT_NE(message.find(zip.string() + ": "), std::string::npos) << message;
            EXPECT_NE(message.find(row.refusal), std::string::npos) << message;
        }
        struct stat now {};
        ASSERT_EQ(stat(zip.c_str(), &now), 0);
        EXPECT_EQ(now.st_mode & 07777, 0640u);
        // A file with nothing to change is not written at all.
        if (before == expected) {
            EXPECT_EQ(now.st_ino, old.st_ino);
        }
        // No temporary file is left beside it.
        EXPECT_EQ(std::distance(fs::directory_iterator(zipFolder), fs::directory_iterator()), 1);
        if (!row.refusal && haveUnzip) {
            EXPECT_EQ(std::system(("unzip -tqq " + zip.string() + " >/dev/null").c_str()), 0);
        }
    }
}

} // namespace
