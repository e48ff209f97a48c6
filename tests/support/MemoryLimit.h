// The memory fault tests' means: a data-size limit just above what the test process uses, so
// that a picture's memory check finds little available whatever the machine has, and files of
// pictures far too large for any memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace test_support {

// The data this process uses now (its VmData; its private bytes on Windows), in bytes.
std::uint64_t DataInUse();

// While it lives, the process may take only `headroom` bytes more data than it holds now: the
// data-size limit on POSIX, the memory limit of a job object the process is put in on Windows.
class MemoryLimit {
  public:
    explicit MemoryLimit(std::uint64_t headroom);
    ~MemoryLimit();
    MemoryLimit(const MemoryLimit&) = delete;
    MemoryLimit& operator=(const MemoryLimit&) = delete;

    // Whether the system reports the limit to the process, as the memory guard reads it (Wine
    // neither keeps nor reports a job object's memory limit).
    bool Holds() const { return holds_; }
    static constexpr const char* kDoesNotHold =
        "the system reports no job object memory limit to the process (Wine keeps none), so no "
        "memory limit can be set for the test";

  private:
    bool holds_ = true;
    struct Saved; // what the limit replaced, restored at the end
    std::unique_ptr<Saved> saved_;
};

inline constexpr std::uint64_t kLimitHeadroom = std::uint64_t{256} << 20;

// A plain picture of 16000 x 16000 that its two bytes of run-length data describe rightly:
// gigabytes for any command that makes it, a file of 60 bytes.
std::string PlainGiantBmp();

// A file of 100 bytes announcing an uncompressed 16000 x 16000 picture of 24 bits: it holds
// almost none of the pixels its header announces.
std::string AnnouncedButAbsentBmp();

} // namespace test_support
