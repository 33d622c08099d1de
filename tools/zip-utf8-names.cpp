// zip-utf8-names ZIP: marks every entry name of ZIP that is not plain ASCII as UTF-8 (bit 11 of
// the general-purpose flags, in the central directory and in the entry's local header).
//
// Info-ZIP's zip stores the names' bytes as they are, UTF-8 on Debian, but sets no flag: Explorer
// and most unpackers on a Japanese Windows then read them in the OEM code page (CP932) and show
// mojibake. With the flag they read UTF-8. Nothing else in the file changes: the flags are not
// covered by any checksum. A name that is not valid UTF-8, or an archive this does not understand
// (ZIP64, a local header that disagrees with the directory), is refused and the file left as it
// was.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint16_t kUtf8Flag = 1u << 11;

struct Refused {
    std::string why;
};

class Bytes {
public:
    explicit Bytes(std::vector<unsigned char> &data) : m_data(data) {}

    std::uint32_t u16(std::size_t at) const
    {
        need(at, 2);
        return m_data[at] | m_data[at + 1] << 8;
    }
    std::uint32_t u32(std::size_t at) const
    {
        need(at, 4);
        return u16(at) | u16(at + 2) << 16;
    }
    std::string_view text(std::size_t at, std::size_t size) const
    {
        need(at, size);
        return {reinterpret_cast<const char *>(m_data.data() + at), size};
    }
    void setFlag(std::size_t at, std::uint16_t flag)
    {
        need(at, 2);
        m_data[at] |= flag & 0xff;
        m_data[at + 1] |= flag >> 8;
    }

private:
    void need(std::size_t at, std::size_t size) const
    {
        if (at > m_data.size() || size > m_data.size() - at)
            throw Refused{"it ends inside a header"};
    }
    std::vector<unsigned char> &m_data;
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

// The offset of the end-of-central-directory record: the last one, within the comment's reach.
std::size_t findEndOfDirectory(const std::vector<unsigned char> &data, const Bytes &bytes)
{
    if (data.size() < 22)
        throw Refused{"it is too short to be a zip"};
    const std::size_t lowest = data.size() > 22 + 0xffff ? data.size() - 22 - 0xffff : 0;
    for (std::size_t at = data.size() - 22;; --at) {
        if (bytes.u32(at) == kEndOfDirectory)
            return at;
        if (at == lowest)
            throw Refused{"no end of central directory"};
    }
}

// Flags the names in data; returns how many were flagged.
int markNames(std::vector<unsigned char> &data)
{
    Bytes bytes(data);
    const std::size_t end = findEndOfDirectory(data, bytes);
    const std::uint32_t count = bytes.u16(end + 10);
    const std::uint32_t directory = bytes.u32(end + 16);
    if (count == 0xffff || directory == 0xffffffff)
        throw Refused{"it is a ZIP64 archive"};
    int flagged = 0;
    std::size_t at = directory;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (bytes.u32(at) != kDirectoryEntry)
            throw Refused{"entry " + std::to_string(i + 1) + " of the central directory is broken"};
        const std::uint32_t nameSize = bytes.u16(at + 28);
        const std::uint32_t extraSize = bytes.u16(at + 30);
        const std::uint32_t commentSize = bytes.u16(at + 32);
        const std::uint32_t local = bytes.u32(at + 42);
        const std::string_view name = bytes.text(at + 46, nameSize);
        if (!isUtf8(name))
            throw Refused{"the name of entry " + std::to_string(i + 1) + " is not UTF-8"};
        if (bytes.u32(local) != kLocalHeader || bytes.text(local + 30, bytes.u16(local + 26)) != name)
            throw Refused{"the local header of " + std::string(name) + " disagrees with the directory"};
        if (!isAscii(name)) {
            bytes.setFlag(at + 8, kUtf8Flag);
            bytes.setFlag(local + 6, kUtf8Flag);
            ++flagged;
        }
        at += 46 + nameSize + extraSize + commentSize;
    }
    return flagged;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: zip-utf8-names ZIP\n";
        return 2;
    }
    const std::string path = argv[1];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "zip-utf8-names: cannot read " << path << '\n';
        return 1;
    }
    std::vector<unsigned char> data{std::istreambuf_iterator<char>(in), {}};
    in.close();
    int flagged = 0;
    try {
        flagged = markNames(data);
    } catch (const Refused &refused) {
        std::cerr << "zip-utf8-names: " << path << ": " << refused.why << "; left as it was\n";
        return 1;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data.data()), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) {
        std::cerr << "zip-utf8-names: cannot write " << path << '\n';
        return 1;
    }
    std::cout << "zip-utf8-names: " << flagged << " name(s) marked as UTF-8 in " << path << '\n';
    return 0;
}
