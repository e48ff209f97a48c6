// Available memory from the kernel's figures and the process's limits.
#include "raster/MemoryGuard.h"

#include "raster/Errors.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <sys/resource.h>

namespace {

constexpr std::uint64_t kUnknown = std::numeric_limits<std::uint64_t>::max();

// A "Name:   1234 kB" line of a /proc file, in bytes; nothing where the system has no such file.
std::optional<std::uint64_t> KibiField(const char* file, const std::string& name) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, name.size(), name) == 0) {
            return std::stoull(line.substr(name.size())) * 1024;
        }
    }
    return std::nullopt;
}

// What a limit leaves above the `used` the kernel holds it against.
std::uint64_t LeftUnder(int resource, const char* usedField) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return kUnknown;
    }
    const std::uint64_t used = KibiField("/proc/self/status", usedField).value_or(0);
    const std::uint64_t cap = limit.rlim_cur;
    return cap > used ? cap - used : 0;
}

} // namespace

std::uint64_t AvailableMemory() {
    const std::uint64_t system = KibiField("/proc/meminfo", "MemAvailable:").value_or(kUnknown);
    return std::min({system, LeftUnder(RLIMIT_AS, "VmSize:"), LeftUnder(RLIMIT_DATA, "VmData:")});
}

void RequireMemory(std::uint64_t bytes) {
    const std::uint64_t available = AvailableMemory();
    if (bytes > available) {
        throw ENotEnoughMemory(bytes, available);
    }
}
