#pragma once

#include <fstream>
#include <string>

namespace bench {

// A "Vm...:   1234 kB" line of /proc/self/status, in kB; -1 when absent.
inline long procStatusKb(const std::string &key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::stol(line.substr(key.size() + 1));
    }
    return -1;
}

} // namespace bench
