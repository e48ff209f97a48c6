// Available memory from the kernel's figures and the process's limits.
#include "raster/MemoryGuard.h"

#include "raster/Errors.h"
#include "raster/PixelStore.h"

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <utility>

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

namespace {
std::mutex reservationGuard;
std::condition_variable reservationReleased;
std::uint64_t reserved = 0; // by every reservation alive
} // namespace

MemoryReservation ReserveMemory(std::uint64_t bytes) {
    std::unique_lock<std::mutex> lock(reservationGuard);
    for (;;) {
        // Memory a reservation holder has already taken counts twice here, as taken and as
        // reserved: a check beside others errs on the safe side, and waits rather than fails.
        std::uint64_t available = AvailableMemory();
        if (available < reserved || bytes > available - reserved) {
            // Memory kept for reuse by this program counts as taken until it is given back.
            pixel_store::GiveBackKeptMemory();
            available = AvailableMemory();
        }
        if (available >= reserved && bytes <= available - reserved) {
            reserved += bytes;
            return MemoryReservation(bytes);
        }
        if (reserved == 0) {
            throw ENotEnoughMemory(bytes, available);
        }
        reservationReleased.wait(lock);
    }
}

MemoryReservation::~MemoryReservation() {
    if (bytes_ != 0) {
        const std::lock_guard<std::mutex> lock(reservationGuard);
        reserved -= bytes_;
        reservationReleased.notify_all();
    }
}

MemoryReservation::MemoryReservation(MemoryReservation&& other) noexcept
    : bytes_(std::exchange(other.bytes_, 0)) {}

MemoryReservation& MemoryReservation::operator=(MemoryReservation&& other) noexcept {
    if (this != &other) {
        MemoryReservation released(std::move(*this));
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

void RequireMemory(std::uint64_t bytes) {
    const MemoryReservation checked = ReserveMemory(bytes);
}
