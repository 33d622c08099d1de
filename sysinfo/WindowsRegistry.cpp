#ifdef _WIN32

#include "SysInfo.h"
#include "WindowsApi.h"

namespace sysinfo {

static_assert(kKeyRead == KEY_READ);

namespace {

// advapi32, narrow (ANSI) calls: the key is closed again after each read.
class WindowsRegistry final : public Registry {
public:
    bool queryValue(std::uint32_t root, const std::string &keyName, const std::string &valueName,
                    RawValue &value) override
    {
        // Predefined handles are 32-bit values, sign-extended in a 64-bit process.
        const HKEY rootKey =
            reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
        HKEY key = nullptr;
        if (RegOpenKeyExA(rootKey, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
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
