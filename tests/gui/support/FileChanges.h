// How other programs save a picture over a file the windows follow, and waiting, with the event
// loop running, for the windows to catch up.
#pragma once

#include "raster/TBitmap.h"

#include <functional>
#include <string>

class TImage;

namespace gui_test {

// A new file written beside it and renamed over it, as most editors save.
void ReplaceByRename(const std::string& path, const TBitmap& picture);
// The file itself truncated and written again.
void WriteInPlace(const std::string& path, const TBitmap& picture);
// Written in place in two steps: the first `head` bytes, then, once the event loop has run for
// `pauseMs` and `between` has run, the rest.
void WriteInTwoParts(const std::string& path, const TBitmap& picture, std::size_t head, int pauseMs,
                     const std::function<void()>& between);

// Runs the event loop until `done` holds, for at most `ms`; whether it held.
bool WaitFor(const std::function<bool()>& done, int ms = 2000);

// Whether the image control holds exactly these pixels.
bool Shows(TImage* image, const TBitmap& picture);

} // namespace gui_test
