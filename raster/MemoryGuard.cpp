// Memory reservations against what the platform says is available.
#include "raster/MemoryGuard.h"

#include "raster/Errors.h"
#include "raster/PixelStore.h"
#include "raster/Platform.h"

#include <condition_variable>
#include <mutex>
#include <utility>

std::uint64_t AvailableMemory() {
    return platform::AvailableMemory();
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
