// Writing a whole buffer through a POSIX file descriptor, shared by the saving of pictures and
// the recovery store (PlatformPosix.cpp holds it).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {
// Writes all `size` bytes, going on after interrupted and partial writes; false on an error,
// with errno telling which.
bool WriteAll(int descriptor, const std::uint8_t* bytes, std::size_t size);
} // namespace platform
