// The stepped gather: every instruction set this processor runs copies the same pixels as the
// plain per-pixel loop, on walks in every direction and of every length.
#include "rotate/RowGather.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

std::vector<std::uint32_t> PlainGather(int count, const SteppedWalk& walk) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(count));
    std::int32_t x = walk.X;
    std::int32_t y = walk.Y;
    for (int i = 0; i < count; ++i) {
        out[i] = walk.Origin[(y >> 10) * walk.Stride + (x >> 10)];
        x += walk.DX;
        y += walk.DY;
    }
    return out;
}

// A walk of `count` pixels across a width x height source that starts and ends inside it.
SteppedWalk RandomWalk(std::mt19937& random, const std::vector<std::uint32_t>& source, int width,
                       int height, int count) {
    std::uniform_int_distribution<std::int32_t> step(-1024, 1024);
    std::uniform_int_distribution<std::int32_t> startX(0, width * 1024 - 1);
    std::uniform_int_distribution<std::int32_t> startY(0, height * 1024 - 1);
    for (;;) {
        SteppedWalk walk{source.data(),  width,        startX(random),
                         startY(random), step(random), step(random)};
        const std::int64_t endX = walk.X + std::int64_t{walk.DX} * (count - 1);
        const std::int64_t endY = walk.Y + std::int64_t{walk.DY} * (count - 1);
        if (endX >= 0 && endX < width * 1024 && endY >= 0 && endY < height * 1024) {
            return walk;
        }
    }
}

std::vector<GatherLevel> SupportedLevels() {
    std::vector<GatherLevel> levels;
    for (GatherLevel level :
         {GatherLevel::Scalar, GatherLevel::Sse2, GatherLevel::Avx2, GatherLevel::Avx512}) {
        if (level <= BestGatherLevel()) {
            levels.push_back(level);
        }
    }
    return levels;
}

void ExpectEveryLevelMatchesThePlainLoop(std::mt19937& random, int width, int height,
                                         int maxCount) {
    std::vector<std::uint32_t> source(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<std::uint32_t>(i);
    }
    std::uniform_int_distribution<int> length(1, maxCount);
    for (int round = 0; round < 200; ++round) {
        const int count = length(random);
        const SteppedWalk walk = RandomWalk(random, source, width, height, count);
        const std::vector<std::uint32_t> expected = PlainGather(count, walk);
        for (GatherLevel level : SupportedLevels()) {
            // One guard pixel past the end must stay untouched.
            std::vector<std::uint32_t> out(static_cast<std::size_t>(count) + 1, 0xDEADBEEF);
            GatherWalkAt(level, out.data(), count, walk);
            ASSERT_EQ(out.back(), 0xDEADBEEFu) << "level " << static_cast<int>(level);
            out.pop_back();
            ASSERT_EQ(out, expected)
                << "level " << static_cast<int>(level) << ", " << count << " pixels from ("
                << walk.X << ", " << walk.Y << ") by (" << walk.DX << ", " << walk.DY << ")";
        }
    }
}

TEST(RowGather, EveryLevelCopiesWhatThePlainLoopCopies) {
    std::mt19937 random(3);
    ExpectEveryLevelMatchesThePlainLoop(random, 97, 61, 60);
}

TEST(RowGather, RowsTooLongForSixteenBitLanesStillCopyExactly) {
    std::mt19937 random(4);
    ExpectEveryLevelMatchesThePlainLoop(random, 40000, 3, 40);
}

TEST(RowGather, NothingIsWrittenForAnEmptyWalk) {
    std::vector<std::uint32_t> source{7};
    std::uint32_t out = 0xDEADBEEF;
    for (GatherLevel level : SupportedLevels()) {
        GatherWalkAt(level, &out, 0, SteppedWalk{source.data(), 1, 0, 0, 1, 1});
    }
    EXPECT_EQ(out, 0xDEADBEEFu);
}

} // namespace
