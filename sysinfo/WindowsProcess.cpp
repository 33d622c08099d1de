#ifdef _WIN32

#include "SysInfo.h"
#include <windows.h>

// After windows.h, which it builds on.
#include <shellapi.h>

namespace sysinfo {

namespace {

class WindowsProcessStarter final : public ProcessStarter {
public:
    bool start(const std::string &path) override
    {
        // ShellExecute returns at once; values above 32 mean the program was started.
        const HINSTANCE result =
            ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
};

} // namespace

ProcessStarter &platformProcessStarter()
{
    static WindowsProcessStarter starter;
    return starter;
}

bool platformFileExists(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace sysinfo

#endif // _WIN32
