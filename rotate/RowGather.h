// Copies source pixels along a stepped walk, with the widest vector gather the processor has.
#pragma once

#include <cstddef>
#include <cstdint>

// out[i] = Origin[(Y >> 10) * Stride + (X >> 10)] for i = 0, 1, ..., with X and Y growing by DX
// and DY per pixel. X and Y must stay non-negative over the walk, and every pixel they reach
// must lie inside the source.
struct SteppedWalk {
    const std::uint32_t* Origin = nullptr;
    std::ptrdiff_t Stride = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t DX = 0;
    std::int32_t DY = 0;
};

// Instruction sets the gather can be written with, narrowest first.
enum class GatherLevel { Scalar, Sse2, Avx2, Avx512 };

// The widest level this processor runs (decided once).
GatherLevel BestGatherLevel();

// Writes `count` pixels of the walk at the best level.
void GatherWalk(std::uint32_t* out, int count, const SteppedWalk& walk);

// The same at a chosen level, which the processor must support; the vector levels fall back
// to narrower ones when a column, row or the stride does not fit in 15 bits.
void GatherWalkAt(GatherLevel level, std::uint32_t* out, int count, const SteppedWalk& walk);
