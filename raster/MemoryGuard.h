// How much memory this process can still take, and the refusal of a command that needs more.
#pragma once

#include <cstdint>

// The bytes this process can still take: the memory the system has available, and no more than
// the process's limits leave above what it already uses (platform::AvailableMemory).
std::uint64_t AvailableMemory();

// Memory promised to one piece of work while others run beside it (velmora-batch's jobs): as
// long as it lives, every other check counts it as taken.
class MemoryReservation {
  public:
    MemoryReservation() = default;
    ~MemoryReservation();
    MemoryReservation(MemoryReservation&& other) noexcept;
    MemoryReservation& operator=(MemoryReservation&& other) noexcept;
    MemoryReservation(const MemoryReservation&) = delete;
    MemoryReservation& operator=(const MemoryReservation&) = delete;

  private:
    friend MemoryReservation ReserveMemory(std::uint64_t bytes);
    explicit MemoryReservation(std::uint64_t bytes) : bytes_(bytes) {}
    std::uint64_t bytes_ = 0;
};

// Reserves `bytes` when they fit in AvailableMemory() beside every other reservation. When they
// fit only once others are released, waits for that; when they do not fit even with none held,
// raises ENotEnoughMemory.
[[nodiscard]] MemoryReservation ReserveMemory(std::uint64_t bytes);

// Raises ENotEnoughMemory when `bytes` do not fit, as ReserveMemory, and reserves nothing.
void RequireMemory(std::uint64_t bytes);
