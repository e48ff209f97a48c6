// The lowered data-size limit (RLIMIT_DATA) against the data /proc says the process holds.
#include "tests/support/MemoryLimit.h"

#include "raster/PixelStore.h"

#include <sys/resource.h>

#include <fstream>

namespace test_support {

std::uint64_t DataInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmData:", 0) == 0) {
            return std::stoull(line.substr(7)) * 1024;
        }
    }
    return 0;
}

struct MemoryLimit::Saved {
    rlimit limit{};
};

MemoryLimit::MemoryLimit(std::uint64_t headroom) : saved_(std::make_unique<Saved>()) {
    // Memory kept for reuse would be given back by the first check under the limit, leaving
    // more headroom than asked for: it goes first.
    pixel_store::GiveBackKeptMemory();
    // The first reading of /proc grows the heap for its own buffer; the limit is set from a
    // reading taken as every later check takes it.
    DataInUse();
    getrlimit(RLIMIT_DATA, &saved_->limit);
    rlimit lowered = saved_->limit;
    lowered.rlim_cur = DataInUse() + headroom;
    setrlimit(RLIMIT_DATA, &lowered);
}

MemoryLimit::~MemoryLimit() {
    setrlimit(RLIMIT_DATA, &saved_->limit);
}

} // namespace test_support
