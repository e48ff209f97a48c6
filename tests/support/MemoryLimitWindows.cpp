// The lowered memory limit on Windows: the process is put in a job object of its own, whose
// per-process memory limit is set above the private bytes it holds and lifted again afterwards.
#include "tests/support/MemoryLimit.h"

#include "raster/PixelStore.h"

#include <windows.h>

#include <psapi.h>

namespace test_support {

namespace {

// The job this process runs in for the tests; a process cannot leave a job, only its limits go.
HANDLE TestJob() {
    static const HANDLE job = [] {
        const HANDLE made = ::CreateJobObjectW(nullptr, nullptr);
        ::AssignProcessToJobObject(made, ::GetCurrentProcess());
        return made;
    }();
    return job;
}

void SetProcessLimit(std::uint64_t bytes) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    if (bytes != 0) {
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
        limits.ProcessMemoryLimit = static_cast<SIZE_T>(bytes);
    }
    ::SetInformationJobObject(TestJob(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

} // namespace

std::uint64_t DataInUse() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

struct MemoryLimit::Saved {};

MemoryLimit::MemoryLimit(std::uint64_t headroom) {
    // Memory kept for reuse would be given back by the first check under the limit, leaving
    // more headroom than asked for: it goes first.
    pixel_store::GiveBackKeptMemory();
    SetProcessLimit(DataInUse() + headroom);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION reported{};
    holds_ = ::QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &reported,
                                         sizeof reported, nullptr) &&
             (reported.BasicLimitInformation.LimitFlags & JOB_OBJECT_LIMIT_PROCESS_MEMORY);
}

MemoryLimit::~MemoryLimit() {
    SetProcessLimit(0);
}

} // namespace test_support
