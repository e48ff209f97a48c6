// A data-size limit just above what the test process uses, so that a picture's memory check
// finds little available whatever the machine has.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace gui_test {

// A plain picture of 16000 x 16000 that its two bytes of run-length data describe rightly:
// gigabytes for any command that makes it, a 1 KiB file.
inline std::string PlainGiantBmp() {
    std::string b = "BM";
    const auto put = [&b](std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            b.push_back(static_cast<char>(v >> (8 * i)));
        }
    };
    put(0, 8);
    put(14 + 40 + 4, 4); // pixel data after the one colour-table entry
    put(40, 4);
    put(16000, 4);
    put(16000, 4);
    put(1, 2);
    put(8, 2);
    put(1, 4); // run length, 8 bits
    put(2, 4);
    put(0, 8);
    put(1, 4); // one colour: black
    put(0, 4);
    put(0, 4);
    b.append({'\0', '\1'}); // end of the picture
    return b;
}

// While it lives, the process may take only `headroom` bytes more data than it holds now.
class MemoryLimit {
  public:
    explicit MemoryLimit(std::uint64_t headroom) {
        getrlimit(RLIMIT_DATA, &saved_);
        std::uint64_t used = 0;
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmData:", 0) == 0) {
                used = std::stoull(line.substr(7)) * 1024;
            }
        }
        rlimit lowered = saved_;
        lowered.rlim_cur = used + headroom;
        setrlimit(RLIMIT_DATA, &lowered);
    }
    ~MemoryLimit() { setrlimit(RLIMIT_DATA, &saved_); }
    MemoryLimit(const MemoryLimit&) = delete;
    MemoryLimit& operator=(const MemoryLimit&) = delete;

  private:
    rlimit saved_{};
};

inline constexpr std::uint64_t kLimitHeadroom = std::uint64_t{256} << 20;

} // namespace gui_test
