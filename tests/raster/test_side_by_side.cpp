// Two pieces of work side by side: both run to their end whatever the other does, and a failure
// reaches the caller after both.
#include "raster/SideBySide.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct Outcome {
    const char* Name;
    bool WorthASecondThread;
    bool FirstFails;
    bool SecondFails;
    const char* Raised; // nullptr: nothing
};

constexpr Outcome kOutcomes[] = {
    {"both done, two threads", true, false, false, nullptr},
    {"both done, one thread", false, false, false, nullptr},
    {"first fails, two threads", true, true, false, "first"},
    {"second fails, two threads", true, false, true, "second"},
    {"both fail, two threads", true, true, true, "first"},
    {"first fails, one thread", false, true, false, "first"},
    {"second fails, one thread", false, false, true, "second"},
    {"both fail, one thread", false, true, true, "first"},
};

TEST(SideBySide, BothPiecesRunAndAFailureIsRaisedAfterBoth) {
    for (const Outcome& o : kOutcomes) {
        int firstRan = 0;
        int secondRan = 0;
        std::string raised;
        try {
            RunSideBySide(
                o.WorthASecondThread,
                [&] {
                    ++firstRan;
                    if (o.FirstFails) {
                        throw std::runtime_error("first");
                    }
                },
                [&] {
                    ++secondRan;
                    if (o.SecondFails) {
                        throw std::runtime_error("second");
                    }
                });
        } catch (const std::runtime_error& error) {
            raised = error.what();
        }
        EXPECT_EQ(raised, o.Raised ? o.Raised : "") << o.Name;
        EXPECT_EQ(secondRan, 1) << o.Name;
        EXPECT_EQ(firstRan, 1) << o.Name;
    }
}

} // namespace
