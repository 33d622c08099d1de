#ifdef _WIN32

#include "SysInfo.h"
#include <windows.h>

namespace sysinfo {

static_assert(kKeyRead == KEY_READ);

namespace {

// advapi32, narrow (ANSI) calls: the key is closed again after each read.
class WindowsRegistry final : public Registry {
public:
    bool queryValue(std::uint32_t root, const std::string &keyName, const std::string &valueName,
                    RawValue &value) override
    {
        // The values the program looks for were written by 32-bit installers, which on 64-bit
        // Windows land in the 32-bit view (WOW6432Node) that a 64-bit process does not see by
        // default; a 64-bit installer's are in the 64-bit view. So each value is looked up in
        // the 32-bit view, then in the 64-bit one, whatever the program's own width. On 32-bit
        // Windows there is one view and both flags are ignored.
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
            if (queryValueIn(view, root, keyName, valueName, value))
                return true;
        return false;
    }

private:
    static bool queryValueIn(REGSAM view, std::uint32_t root, const std::string &keyName,
                             const std::string &valueName, RawValue &value)
    {
        // Predefined handles are 32-bit values, sign-extended in a 64-bit process.
        const HKEY rootKey =
            reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
        HKEY key = nullptr;
        if (RegOpenKeyExA(rootKey, keyName.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
            return false;

        value.bytes.assign(kValueBufferSize, 0);
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(value.bytes.size());
        const LONG result =
            RegQueryValueExA(key, valueName.c_str(), nullptr, &type, value.bytes.data(), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return false;

        value.type = type;
        value.size = size;
        return true;
    }
};

} // namespace

Registry &platformRegistry()
{
    static WindowsRegistry registry;
    return registry;
}

} // namespace sysinfo

#endif // _WIN32
