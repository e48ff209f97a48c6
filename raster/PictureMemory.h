// The memory each command needs for a picture, counted before it makes any surface of it.
#pragma once

#include "raster/MemoryGuard.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The commands that make surfaces the size of a picture they read.
enum class PictureUse {
    FishWorkspace, // Fish Data: the three workspace windows, up to a saved sheet
    FishSheet,     // velmora-batch fish
    ShadowSheet,   // the shadow editor's Load shadows and Load Shadows in Place
    UpDownSheets,  // the rotation window's Rotate and Create Data, velmora-batch rotate
    AccessoryData, // the accessory window and its Save, velmora-batch accessory
    PreviewFrames, // velmora-batch preview
    Conversion,    // velmora-batch convert
    Check,         // velmora-batch check
};

// The shadow editor's undo history at its default limits, which the fish workspace counts.
inline constexpr std::size_t kUndoHistorySteps = 200;
inline constexpr std::size_t kUndoHistoryBytes = std::size_t{256} << 20;

// Roughly the most memory `use` holds at once for a width x height picture read from a file of
// `fileBytes` bytes.
std::uint64_t MemoryNeeded(PictureUse use, int width, int height, std::uint64_t fileBytes);

// Reads only the headers of the picture file at `path` (BMP or PNG) and raises
// ENotEnoughMemory when `use` would need more memory than is available. A file that cannot be
// read as a picture passes: reading it says why.
void RequireMemoryFor(PictureUse use, const std::string& path);
// The same for work that runs beside other work: the memory stays reserved while the result
// lives (see ReserveMemory).
[[nodiscard]] MemoryReservation ReserveMemoryFor(PictureUse use, const std::string& path);
