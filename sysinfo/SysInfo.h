#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The About box's "system information" button: where the platform keeps the path of its
// system-information program, and how that program is started. Plain C++ so it builds with any
// Windows tool chain and is tested without a window system.
namespace sysinfo {

// Predefined root key handles and value types, numbered as the Windows headers number them.
inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// Keys are opened for reading only. Asking for write rights as well makes the open fail for
// every standard user, and the button would then wrongly report the program as unavailable.
inline constexpr std::uint32_t kKeyRead = 0x20019;

// The value is queried into a zero-filled buffer of this size.
inline constexpr std::size_t kValueBufferSize = 1024;

inline constexpr char kMsinfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr char kMsinfoPathValue[] = "PATH";
inline constexpr char kSharedToolsKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr char kSharedToolsMsinfoValue[] = "MSINFO";
inline constexpr char kMsinfoProgram[] = "\\MSINFO32.EXE";

// One value as the registry returned it: its type, the buffer and the size the query reported.
struct RawValue {
    std::uint32_t type = 0;
    std::vector<unsigned char> bytes;
    std::uint32_t size = 0;
};

// Open the key, query one value, close the key. False when the key or the value cannot be read.
// Windows' registry looks in its 32-bit view first, then in its 64-bit view.
class Registry {
public:
    virtual ~Registry() = default;
    virtual bool queryValue(std::uint32_t root, const std::string &keyName,
                            const std::string &valueName, RawValue &value) = 0;
};

// Starts a program by path in a normal, focused window and does not wait for it.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    virtual bool start(const std::string &path) = 0;
};

using FileExists = std::function<bool(const std::string &path)>;

// Turns the queried bytes into the value's text: string values give their text, 32-bit numbers
// give "&h" and their bytes from the last to the first, each in upper-case hex without a leading
// zero; other types leave KeyVal as it was. A trailing zero character is dropped first. A size
// of 0 reads as an error.
bool DecodeKeyValue(const RawValue &value, std::string &KeyVal);

// Reads one registry value into KeyVal. On failure KeyVal is emptied and the result is false.
bool GetKeyValue(Registry &registry, std::uint32_t KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal);

// Finds the system-information program through the registry and starts it. False when it is
// not registered, not there, or cannot be started; the caller then tells the user.
bool StartSysInfo(Registry &registry, ProcessStarter &starter, const FileExists &fileExists);

// The platform's own registry, process start and file test: Windows, or on other systems a
// registry that holds nothing, so the button ends in its message there.
Registry &platformRegistry();
ProcessStarter &platformProcessStarter();
bool platformFileExists(const std::string &path);

// StartSysInfo with the platform's registry, process start and file test.
bool StartSysInfo();

} // namespace sysinfo
