// How much memory this process can still take, and the refusal of a command that needs more.
#pragma once

#include <cstdint>

// The bytes this process can still take: the memory the system has available (MemAvailable),
// and no more than the address-space and data-size limits (RLIMIT_AS, RLIMIT_DATA) leave above
// what the process already uses.
std::uint64_t AvailableMemory();

// Raises ENotEnoughMemory when `bytes` is more than AvailableMemory().
void RequireMemory(std::uint64_t bytes);
