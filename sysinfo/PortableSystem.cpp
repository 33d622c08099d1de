#ifndef _WIN32

#include "SysInfo.h"

#include <filesystem>
#include <system_error>

namespace sysinfo {

namespace {

// No registry here, so the system-information program is never found.
class EmptyRegistry final : public Registry {
public:
    bool queryValue(std::uint32_t, const std::string &, const std::string &, RawValue &) override
    {
        return false;
    }
};

class NoProcessStarter final : public ProcessStarter {
public:
    bool start(const std::string &) override { return false; }
};

} // namespace

Registry &platformRegistry()
{
    static EmptyRegistry registry;
    return registry;
}

ProcessStarter &platformProcessStarter()
{
    static NoProcessStarter starter;
    return starter;
}

bool platformFileExists(const std::string &path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace sysinfo

#endif // !_WIN32
