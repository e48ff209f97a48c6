// The shadow editor's undo history: tiles saved before a step draws on them, kept only where the
// step changed pixels, and exchanged with the surfaces on undo and redo.
#include "shadow/ShadowHistory.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <utility>

namespace {

constexpr int kSide = ShadowHistory::kTileSide;

int TilesAcross(int length) {
    return (length + kSide - 1) / kSide;
}

TRect TileRect(int column, int row, const TBitmap& surface) {
    const int left = column * kSide;
    const int top = row * kSide;
    return Rect(left, top, std::min(left + kSide, surface.Width()),
                std::min(top + kSide, surface.Height()));
}

std::size_t PixelCount(const TRect& rect) {
    return static_cast<std::size_t>(rect.Width()) * static_cast<std::size_t>(rect.Height());
}

std::size_t RowBytes(const TRect& rect) {
    return static_cast<std::size_t>(rect.Width()) * sizeof(std::uint32_t);
}

// Whether `surface` holds exactly `pixels` (the rectangle's rows one after the other) there.
bool Holds(const TBitmap& surface, const TRect& rect, const std::uint32_t* pixels) {
    for (int y = rect.Top; y < rect.Bottom; ++y, pixels += rect.Width()) {
        if (std::memcmp(surface.Row(y) + rect.Left, pixels, RowBytes(rect)) != 0) {
            return false;
        }
    }
    return true;
}

bool SameInRect(const TBitmap& a, const TBitmap& b, const TRect& rect) {
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        if (std::memcmp(a.Row(y) + rect.Left, b.Row(y) + rect.Left, RowBytes(rect)) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

struct ShadowHistory::StepInProgress {
    HistorySurfaces surfaces{};
    // A whole step: each surface as it was (sharing its pixels until the command draws).
    std::array<std::optional<TBitmap>, kHistorySurfaceCount> before;
    // A stroke: for each surface, which of its tiles are saved already.
    std::array<std::vector<bool>, kHistorySurfaceCount> saved;
    Step step;
    // More to save than the memory limit allows: nothing more is saved and the step is not kept.
    bool overflow = false;
};

ShadowHistory::ShadowHistory(HistoryLimits limits) : limits_(limits) {}

ShadowHistory::~ShadowHistory() = default;

void ShadowHistory::BeginStroke(const HistorySurfaces& surfaces) {
    Begin(surfaces, false);
}

void ShadowHistory::BeginWholeStep(const HistorySurfaces& surfaces) {
    Begin(surfaces, true);
}

void ShadowHistory::Begin(const HistorySurfaces& surfaces, bool whole) {
    if (Recording()) {
        EndStep();
    }
    auto recording = std::make_unique<StepInProgress>();
    recording->surfaces = surfaces;
    for (int i = 0; i < kHistorySurfaceCount; ++i) {
        const TBitmap& surface = *surfaces[i];
        recording->step.widths[i] = surface.Width();
        recording->step.heights[i] = surface.Height();
        if (whole) {
            recording->before[i].emplace(surface);
        } else {
            recording->saved[i].assign(static_cast<std::size_t>(TilesAcross(surface.Width())) *
                                           TilesAcross(surface.Height()),
                                       false);
        }
    }
    recording->step.bytes = sizeof(Step);
    recording_ = std::move(recording);
}

void ShadowHistory::Touch(int index, const TRect& rect) {
    StepInProgress* r = recording_.get();
    if (!r || r->overflow || index < 0 || index >= kHistorySurfaceCount || r->before[index]) {
        return;
    }
    const TBitmap& surface = *r->surfaces[index];
    const int left = std::max(rect.Left, 0);
    const int top = std::max(rect.Top, 0);
    const int right = std::min(rect.Right, surface.Width());
    const int bottom = std::min(rect.Bottom, surface.Height());
    if (left >= right || top >= bottom) {
        return;
    }
    const int across = TilesAcross(surface.Width());
    try {
        for (int row = top / kSide; row <= (bottom - 1) / kSide; ++row) {
            for (int column = left / kSide; column <= (right - 1) / kSide; ++column) {
                const std::size_t slot = static_cast<std::size_t>(row) * across + column;
                if (r->saved[index][slot]) {
                    continue;
                }
                const TRect tile = TileRect(column, row, surface);
                const std::size_t bytes = PixelCount(tile) * sizeof(std::uint32_t) + sizeof(Tile);
                if (r->step.bytes + bytes > limits_.Bytes) {
                    r->overflow = true;
                    r->step.tiles.clear();
                    return;
                }
                auto pixels = std::make_unique_for_overwrite<std::uint32_t[]>(PixelCount(tile));
                std::uint32_t* out = pixels.get();
                for (int y = tile.Top; y < tile.Bottom; ++y, out += tile.Width()) {
                    std::memcpy(out, surface.Row(y) + tile.Left, RowBytes(tile));
                }
                r->step.tiles.push_back(Tile{index, tile, std::move(pixels)});
                r->step.bytes += bytes;
                r->saved[index][slot] = true;
            }
        }
    } catch (const std::bad_alloc&) {
        // Painting goes on; only this step cannot be taken back.
        r->overflow = true;
        r->step.tiles.clear();
    }
}

bool ShadowHistory::EndStep() noexcept {
    if (!recording_) {
        return false;
    }
    std::unique_ptr<StepInProgress> r = std::move(recording_);
    try {
        Step& step = r->step;
        // A stroke's tiles that it left as they were need not be kept.
        std::erase_if(step.tiles, [&](const Tile& tile) {
            if (!Holds(*r->surfaces[tile.surface], tile.rect, tile.pixels.get())) {
                return false;
            }
            step.bytes -= PixelCount(tile.rect) * sizeof(std::uint32_t) + sizeof(Tile);
            return true;
        });
        // A whole step: the tiles where the surface now differs from how it was.
        for (int i = 0; i < kHistorySurfaceCount && !r->overflow; ++i) {
            if (!r->before[i]) {
                continue;
            }
            const TBitmap& before = *r->before[i];
            const TBitmap& now = *r->surfaces[i];
            if (now.Width() != before.Width() || now.Height() != before.Height()) {
                r->overflow = true; // a resized surface cannot be put back tile by tile
                break;
            }
            if (before.Empty() || before.SharesPixelsWith(now)) {
                continue; // never drawn on
            }
            for (int row = 0; row < TilesAcross(now.Height()) && !r->overflow; ++row) {
                for (int column = 0; column < TilesAcross(now.Width()); ++column) {
                    const TRect tile = TileRect(column, row, now);
                    if (SameInRect(before, now, tile)) {
                        continue;
                    }
                    const std::size_t bytes =
                        PixelCount(tile) * sizeof(std::uint32_t) + sizeof(Tile);
                    if (step.bytes + bytes > limits_.Bytes) {
                        r->overflow = true;
                        break;
                    }
                    auto pixels = std::make_unique_for_overwrite<std::uint32_t[]>(PixelCount(tile));
                    std::uint32_t* out = pixels.get();
                    for (int y = tile.Top; y < tile.Bottom; ++y, out += tile.Width()) {
                        std::memcpy(out, before.Row(y) + tile.Left, RowBytes(tile));
                    }
                    step.tiles.push_back(Tile{i, tile, std::move(pixels)});
                    step.bytes += bytes;
                }
            }
        }
        if (r->overflow) {
            Clear();
            return false;
        }
        if (step.tiles.empty()) {
            return false;
        }
        Keep(std::move(step));
        return true;
    } catch (...) {
        Clear();
        return false;
    }
}

void ShadowHistory::Keep(Step step) {
    while (steps_.size() > undoable_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    undoable_ = steps_.size();
    while (!steps_.empty() && (steps_.size() > limits_.Steps || bytes_ > limits_.Bytes)) {
        DropOldest();
    }
}

// Only ever called with a step to undo at the front.
void ShadowHistory::DropOldest() {
    bytes_ -= steps_.front().bytes;
    steps_.pop_front();
    --undoable_;
}

// Undo and redo are one exchange: the tiles take the surfaces' pixels and give back their own,
// so a step always holds the other side of itself.
bool ShadowHistory::Exchange(Step& step, const HistorySurfaces& surfaces) {
    std::array<bool, kHistorySurfaceCount> used{};
    for (const Tile& tile : step.tiles) {
        used[tile.surface] = true;
    }
    for (int i = 0; i < kHistorySurfaceCount; ++i) {
        if (surfaces[i]->Width() != step.widths[i] || surfaces[i]->Height() != step.heights[i]) {
            return false;
        }
    }
    // A surface sharing its pixels gets its own copy now, before any tile is exchanged.
    for (int i = 0; i < kHistorySurfaceCount; ++i) {
        if (used[i]) {
            surfaces[i]->MutableRow(0);
        }
    }
    for (Tile& tile : step.tiles) {
        TBitmap& surface = *surfaces[tile.surface];
        std::uint32_t* saved = tile.pixels.get();
        for (int y = tile.rect.Top; y < tile.rect.Bottom; ++y, saved += tile.rect.Width()) {
            std::uint32_t* row = surface.MutableRow(y) + tile.rect.Left;
            std::swap_ranges(row, row + tile.rect.Width(), saved);
        }
    }
    for (int i = 0; i < kHistorySurfaceCount; ++i) {
        if (used[i]) {
            surfaces[i]->Changed();
        }
    }
    return true;
}

bool ShadowHistory::Undo(const HistorySurfaces& surfaces) {
    EndStep();
    if (!CanUndo()) {
        return false;
    }
    if (!Exchange(steps_[undoable_ - 1], surfaces)) {
        Clear();
        return false;
    }
    --undoable_;
    return true;
}

bool ShadowHistory::Redo(const HistorySurfaces& surfaces) {
    EndStep();
    if (!CanRedo()) {
        return false;
    }
    if (!Exchange(steps_[undoable_], surfaces)) {
        Clear();
        return false;
    }
    ++undoable_;
    return true;
}

void ShadowHistory::SetLimits(const HistoryLimits& limits) {
    limits_ = limits;
    // Beyond the limits the oldest steps go first; undone steps, from the newest, only when no
    // step is left to undo (the next one to redo must stay while any after it does).
    while (!steps_.empty() && (steps_.size() > limits_.Steps || bytes_ > limits_.Bytes)) {
        if (undoable_ > 0) {
            DropOldest();
        } else {
            bytes_ -= steps_.back().bytes;
            steps_.pop_back();
        }
    }
}

void ShadowHistory::Clear() {
    recording_.reset();
    steps_.clear();
    undoable_ = 0;
    bytes_ = 0;
}
