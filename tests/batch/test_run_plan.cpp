// velmora-batch's plan and per-file loop called directly: clashing outputs refused with their
// names, and a file whose progress line fails counted as failed while the others go on.
#include "batch/OutputPlan.h"
#include "batch/Runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Outputs that clash within one file or with an earlier file's: the run is refused before
// anything is made, naming the files, whichever file of the run holds the clash.
TEST(RunPlan, ClashingOutputsAreRefusedWithTheirFiles) {
    struct Case {
        Names inputs;
        std::map<std::string, Names> outputs;
        const char* message;
    };
    const Case cases[] = {
        {{"a.bmp"}, {{"a.bmp", {"am.bmp", "AM.BMP"}}}, "a.bmp would write AM.BMP twice"},
        {{"a.bmp", "b.bmp"},
         {{"a.bmp", {"x.bmp"}}, {"b.bmp", {"bm.bmp", "bm.bmp"}}},
         "b.bmp would write bm.bmp twice"},
        {{"a.bmp", "b.bmp"},
         {{"a.bmp", {"am.bmp", "x.bmp"}}, {"b.bmp", {"X.bmp"}}},
         "a.bmp and b.bmp would both write X.bmp; give them different names"},
    };
    for (const Case& c : cases) {
        std::string refusal;
        try {
            PlanOutputs(c.inputs, {},
                        [&](const std::string& input) { return c.outputs.at(input); });
        } catch (const UsageError& error) {
            refusal = error.what();
        }
        EXPECT_EQ(refusal, c.message);
    }
}

// A progress line that cannot be written (here: the memory to write it runs out) fails that file
// alone, on whichever thread it was made; the run goes on and its summary counts it.
TEST(RunPlan, AFileWhoseProgressLineFailsIsCountedAsFailed) {
    const std::vector<PlannedFile> plan = {
        {"a.bmp", {"out/a.bmp"}, {}}, {"b.bmp", {"out/b.bmp"}, {}}, {"c.bmp", {"out/c.bmp"}, {}}};
    for (int jobs : {1, 3}) {
        std::atomic<int> made{0};
        std::mutex mutex;
        Names lines;
        const int status = RunPlanned(
            plan, jobs, [&](const PlannedFile&, Names&) { ++made; },
            [&](const std::string& line) {
                if (line.find("b.bmp") != std::string::npos) {
                    throw std::bad_alloc();
                }
                const std::lock_guard<std::mutex> lock(mutex);
                lines.push_back(line);
            });
        EXPECT_EQ(status, 1) << jobs;
        EXPECT_EQ(made, 3) << jobs;
        ASSERT_EQ(lines.size(), 3u) << jobs;
        // The finished files in either order, each with its own counter.
        std::sort(lines.begin(), lines.end() - 1, [](const std::string& l, const std::string& r) {
            return l.substr(2) < r.substr(2);
        });
        EXPECT_EQ(lines[0].substr(2), "/3] a.bmp -> out/a.bmp\n") << jobs;
        EXPECT_EQ(lines[1].substr(2), "/3] c.bmp -> out/c.bmp\n") << jobs;
        EXPECT_EQ(lines[2], "velmora-batch: 1 of 3 files failed\n") << jobs;
    }
}

} // namespace
