#include "OddsFileReader.h"

#include "Cp932.h"
#include "FileSnapshot.h"

#include <system_error>

namespace spat4 {

namespace fs = std::filesystem;

namespace {

constexpr char32_t kReplacement = U'\uFFFD';

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

std::string recordField(const std::u32string &odds, int horse, std::size_t first)
{
    if (horse < 1 || horse > static_cast<int>(kRecordCount))
        return {};
    return fieldOf(odds, kRecordCharacters * static_cast<std::size_t>(horse - 1) + first,
                   kOddsWidth);
}

} // namespace

std::u32string decodeCp932(std::string_view bytes, std::size_t maxCharacters)
{
    std::u32string out;
    std::size_t i = 0;
    while (out.size() < maxCharacters && i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            // ASCII is itself, as Windows has it (some converters swap 0x1A, 0x1C and 0x7F).
            out.push_back(b);
            ++i;
        } else if (isLeadByte(b)) {
            if (i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
                out.push_back(cp932::toUnicode(bytes.substr(i, 2)));
                i += 2;
            } else {
                // A lead byte without its trail: only the lead byte is lost, so a digit right
                // after it still reads as a digit.
                out.push_back(kReplacement);
                ++i;
            }
        } else {
            out.push_back(cp932::toUnicode(bytes.substr(i, 1)));
            ++i;
        }
    }
    return out;
}

std::string fieldOf(std::u32string_view window, std::size_t first, std::size_t width)
{
    if (first == 0 || first > window.size())
        return {};
    return toUtf8(window.substr(first - 1, width));
}

std::string withoutLeadingBlanks(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string() : std::string(text.substr(start));
}

std::string OddsFile::lowOddsField(int horse) const
{
    return recordField(odds, horse, kLowOddsFirst);
}

std::string OddsFile::highOddsField(int horse) const
{
    return recordField(odds, horse, kHighOddsFirst);
}

std::variant<OddsFile, LoadProblem> readOddsFile(const fs::path &path, const ReadPacing &pacing)
{
    using Kind = LoadProblem::Kind;
    using Outcome = FileSnapshot::Outcome;
    const std::string name = pathText(path.filename());

    // A folder or device with the file's name would open on some systems and then fail or
    // block on reading; only a regular file is read. A name that is not there, or that the
    // system will not tell about (a file being deleted, on Windows), is left to the looks.
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!ec && fs::exists(status) && !fs::is_regular_file(status))
        return LoadProblem{Kind::FileUnreadable, name};

    // Found by a look (read, held by the client or being deleted): from then on, no file is the
    // client between deleting it and writing it anew. A file that no look ever found, or that
    // cannot be read for good, is reported at once.
    bool found = false;
    bool agreed = false;
    FileSnapshot last;
    for (int look = 1; look <= kMaxLooks; ++look) {
        if (look > 1)
            pacing.pause(kReadPause);
        FileSnapshot now = takeSnapshot(path, kBytesNeeded, pacing);
        if (now.outcome == Outcome::Unreadable || (now.outcome == Outcome::Missing && !found))
            return LoadProblem{Kind::FileUnreadable, name};
        found = found || now.outcome != Outcome::Missing;
        agreed = now.sameAs(last);
        if (agreed) {
            auto parsed = oddsFileFromBytes(now.bytes, name);
            if (auto *file = std::get_if<OddsFile>(&parsed)) {
                file->modified = now.written;
                return parsed;
            }
            // Too short: the client may have cut it and be about to write it again.
            const auto at = std::chrono::system_clock::now();
            if (now.written <= at - kJustWritten || now.written >= at + kJustWritten)
                return parsed;
        }
        last = std::move(now);
    }
    // A file that stayed short is too short; one that never settled is being written.
    if (agreed)
        return oddsFileFromBytes(last.bytes, name);
    return LoadProblem{Kind::FileNotSettled, name};
}

std::variant<OddsFile, LoadProblem> oddsFileFromBytes(std::string_view bytes,
                                                      const std::string &name)
{
    using Kind = LoadProblem::Kind;
    OddsFile file;
    file.header = decodeCp932(bytes, kHeaderCharacters);
    if (file.header.size() < kHeaderCharacters)
        return LoadProblem{Kind::TooShortForHeader, name};
    if (bytes.size() <= kOddsWindowSkippedBytes)
        return LoadProblem{Kind::TooShortForOdds, name};
    file.odds = decodeCp932(bytes.substr(kOddsWindowSkippedBytes), kOddsCharacters);
    if (file.odds.size() < kOddsCharacters)
        return LoadProblem{Kind::TooShortForOdds, name};
    return file;
}

} // namespace spat4
