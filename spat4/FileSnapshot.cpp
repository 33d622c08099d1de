#include "FileSnapshot.h"

#include <thread>

namespace spat4 {

void ReadPacing::pause(std::chrono::milliseconds length) const
{
    std::this_thread::sleep_for(length);
}

const ReadPacing &systemReadPacing()
{
    static const ReadPacing pacing;
    return pacing;
}

std::chrono::system_clock::time_point systemTimeOf(std::int64_t seconds, std::int64_t nanoseconds)
{
    using namespace std::chrono;
    using Clock = system_clock;
    constexpr std::int64_t kPerSecond = 1'000'000'000;
    seconds += nanoseconds / kPerSecond;
    nanoseconds %= kPerSecond;
    if (nanoseconds < 0) {
        nanoseconds += kPerSecond;
        --seconds;
    }
    // Inside these bounds a second and less than one more second always fit.
    const std::int64_t last =
        floor<std::chrono::seconds>(Clock::time_point::max()).time_since_epoch().count();
    const std::int64_t first =
        ceil<std::chrono::seconds>(Clock::time_point::min()).time_since_epoch().count();
    if (seconds >= last)
        return Clock::time_point::max();
    if (seconds <= first)
        return Clock::time_point::min();
    return Clock::time_point(duration_cast<Clock::duration>(std::chrono::seconds(seconds)) +
                             duration_cast<Clock::duration>(std::chrono::nanoseconds(nanoseconds)));
}

} // namespace spat4
