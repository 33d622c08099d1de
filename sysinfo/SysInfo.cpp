#include "SysInfo.h"

#include <algorithm>

namespace sysinfo {

namespace {

void appendHexWithoutLeadingZero(std::string &text, unsigned char byte)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (byte >= 0x10)
        text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
}

} // namespace

bool DecodeKeyValue(const RawValue &value, std::string &KeyVal)
{
    if (value.size == 0)
        return false;

    const std::size_t size = std::min<std::size_t>(value.size, value.bytes.size());
    std::string text(value.bytes.begin(), value.bytes.begin() + static_cast<std::ptrdiff_t>(size));
    if (!text.empty() && text.back() == '\0')
        text.pop_back();

    switch (value.type) {
    case kRegSz:
        KeyVal = text;
        break;
    case kRegDword: {
        // The dropped trailing zero above is the number's high byte when that byte is 0, so
        // 0x0001020A reads "&h12A": the rendering follows the text, not the number.
        std::string hex = "&h";
        for (auto it = text.rbegin(); it != text.rend(); ++it)
            appendHexWithoutLeadingZero(hex, static_cast<unsigned char>(*it));
        KeyVal = hex;
        break;
    }
    default:
        break;
    }
    return true;
}

bool GetKeyValue(Registry &registry, std::uint32_t KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal)
{
    RawValue value;
    if (!registry.queryValue(KeyRoot, KeyName, SubKeyRef, value) ||
        !DecodeKeyValue(value, KeyVal)) {
        KeyVal.clear();
        return false;
    }
    return true;
}

bool StartSysInfo(Registry &registry, ProcessStarter &starter, const FileExists &fileExists)
{
    // Any error on the way, from the registry or from the start, ends in "unavailable".
    try {
        std::string path;
        if (!GetKeyValue(registry, kHKeyLocalMachine, kMsinfoKey, kMsinfoPathValue, path)) {
            std::string folder;
            if (!GetKeyValue(registry, kHKeyLocalMachine, kSharedToolsKey, kSharedToolsMsinfoValue,
                             folder))
                return false;
            // An empty folder value would probe the root of the current drive.
            if (folder.empty())
                return false;
            path = folder + kMsinfoProgram;
            if (!fileExists(path))
                return false;
        }
        // The registered path is started as it is, without a test that the file exists; an
        // empty one cannot be started.
        if (path.empty())
            return false;
        return starter.start(path);
    } catch (...) {
        return false;
    }
}

bool StartSysInfo()
{
    return StartSysInfo(platformRegistry(), platformProcessStarter(), platformFileExists);
}

} // namespace sysinfo
