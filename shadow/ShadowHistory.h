// The shadow editor's undo history: each step keeps, as rectangles of pixels, only the parts of
// the two views and two shadows that it changed, with limits on the steps and the memory kept.
#pragma once

#include "raster/PictureMemory.h"
#include "raster/TBitmap.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// The surfaces a step can change, always in this order: view 1, view 2, shadow 1, shadow 2.
constexpr int kHistorySurfaceCount = 4;
using HistorySurfaces = std::array<TBitmap*, kHistorySurfaceCount>;

struct HistoryLimits {
    std::size_t Steps = kUndoHistorySteps;
    std::size_t Bytes = kUndoHistoryBytes; // pixels and bookkeeping of every step kept
};

class ShadowHistory {
  public:
    // A surface is saved in squares of this side (narrower at its right and bottom edges): a
    // stroke across a large picture keeps the squares it crossed, not its whole bounding box.
    static constexpr int kTileSide = 64;

    explicit ShadowHistory(HistoryLimits limits = {});
    ~ShadowHistory();
    ShadowHistory(const ShadowHistory&) = delete;
    ShadowHistory& operator=(const ShadowHistory&) = delete;

    // --- Recording one step; the surfaces keep their sizes until it ends --------------------
    // A stroke: Touch names each rectangle before it is drawn on.
    void BeginStroke(const HistorySurfaces& surfaces);
    // A command that may change any pixel: the surfaces are compared with how they were when it
    // ends. Holding them costs nothing until they are drawn on (their pixels are shared).
    void BeginWholeStep(const HistorySurfaces& surfaces);
    bool Recording() const { return recording_ != nullptr; }
    // During a stroke, before drawing on `rect` (clipped) of surface `index`.
    void Touch(int index, const TRect& rect);
    // Keeps what the step changed. A step that changed no pixel is not kept and leaves the steps
    // that could be redone; any other drops them. A step larger than the memory limit cannot be
    // kept, and the steps before it could not be reached past it: the history is emptied then.
    // True when a step was kept.
    bool EndStep() noexcept;

    // --- Moving through the steps (a step being recorded is ended first) --------------------
    bool CanUndo() const { return undoable_ > 0; }
    bool CanRedo() const { return undoable_ < steps_.size(); }
    // The surfaces as they were before the last step kept; false when there is none. Surfaces
    // of other sizes than the step saw empty the history instead.
    bool Undo(const HistorySurfaces& surfaces);
    // The surfaces as they were after the step undone last; false when there is none.
    bool Redo(const HistorySurfaces& surfaces);

    std::size_t UndoSteps() const { return undoable_; }
    std::size_t RedoSteps() const { return steps_.size() - undoable_; }
    std::size_t Bytes() const { return bytes_; }
    const HistoryLimits& Limits() const { return limits_; }
    // Drops the oldest steps beyond the new limits.
    void SetLimits(const HistoryLimits& limits);
    void Clear();

  private:
    struct Tile {
        int surface;
        TRect rect;
        std::unique_ptr<std::uint32_t[]> pixels; // rect's rows one after the other
    };
    struct Step {
        std::array<int, kHistorySurfaceCount> widths{};
        std::array<int, kHistorySurfaceCount> heights{};
        std::vector<Tile> tiles;
        std::size_t bytes = 0;
    };
    struct StepInProgress;

    void Begin(const HistorySurfaces& surfaces, bool whole);
    bool Exchange(Step& step, const HistorySurfaces& surfaces);
    void Keep(Step step);
    void DropOldest();

    HistoryLimits limits_;
    std::deque<Step> steps_;
    std::size_t undoable_ = 0; // steps_[0, undoable_) can be undone, the rest redone
    std::size_t bytes_ = 0;
    std::unique_ptr<StepInProgress> recording_;
};
