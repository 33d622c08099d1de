#include "FileSnapshot.h"

#include <windows.h>

// The NT status of the calling thread's last failed call, from ntdll (not in the SDK headers).
extern "C" __declspec(dllimport) LONG NTAPI RtlGetLastNtStatus();

namespace spat4 {

namespace {

// Closes the handle however the look ends.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// The client holds the file in a way that shuts readers out for now: it opened the file
// without read sharing, or locked the bytes the read wanted.
bool heldByAnother(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Why an open failed, as far as the reader cares. A deleted file that a handle still holds keeps
// its name, and opening it fails with ERROR_ACCESS_DENIED, as a refusal by the file's security
// does; only the system's own status for the failure, STATUS_DELETE_PENDING, tells the two apart.
FileSnapshot::Outcome outcomeOfFailedOpen()
{
    using Outcome = FileSnapshot::Outcome;
    constexpr LONG kStatusDeletePending = static_cast<LONG>(0xC0000056);
    const LONG status = RtlGetLastNtStatus(); // before any other call can change it
    const DWORD error = GetLastError();
    if (heldByAnother(error))
        return Outcome::Locked;
    if (error == ERROR_FILE_NOT_FOUND)
        return Outcome::Missing;
    if (error == ERROR_ACCESS_DENIED && status == kStatusDeletePending)
        return Outcome::Deleting;
    return Outcome::Unreadable;
}

// A FILETIME counts 100-nanosecond ticks from 1601-01-01 UTC.
std::chrono::system_clock::time_point timeOfFileTime(const FILETIME &time)
{
    constexpr std::uint64_t kTicksPerSecond = 10'000'000;
    constexpr std::int64_t kSeconds1601To1970 = 11'644'473'600;
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return systemTimeOf(static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSeconds1601To1970,
                        static_cast<std::int64_t>(ticks % kTicksPerSecond) * 100);
}

} // namespace

FileSnapshot takeSnapshot(const std::filesystem::path &path, std::size_t maxBytes,
                          const ReadPacing &pacing)
{
    using Outcome = FileSnapshot::Outcome;
    FileSnapshot snapshot;
    // Every sharing right, so that while the handle lives the client may still open the file for
    // writing, write it, rename it, replace it or delete it. A folder does not open without
    // FILE_FLAG_BACKUP_SEMANTICS, and only a disk file is read.
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        snapshot.outcome = outcomeOfFailedOpen();
        return snapshot;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return snapshot;

    snapshot.bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        DWORD n = 0;
        if (!ReadFile(file.get(), snapshot.bytes.data() + got, static_cast<DWORD>(maxBytes - got),
                      &n, nullptr)) {
            FileSnapshot failed;
            if (heldByAnother(GetLastError()))
                failed.outcome = Outcome::Locked;
            return failed;
        }
        if (n == 0)
            break;
        got += n;
    }
    snapshot.bytes.resize(got);
    // The time after the bytes, through the same handle: a write during the read shows in one
    // or the other, and a rename or deletion meanwhile does not matter.
    FILETIME written{};
    if (!GetFileTime(file.get(), nullptr, nullptr, &written))
        return FileSnapshot{};
    snapshot.written = timeOfFileTime(written);
    snapshot.outcome = Outcome::Read;
    pacing.whileFileOpen();
    return snapshot;
}

} // namespace spat4
