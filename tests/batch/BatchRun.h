// Running the built velmora-batch from the command-line tests, and its streams line by line.
#pragma once

#include "raster/TBitmap.h"
#include "tests/support/Programs.h"

#include <string>
#include <vector>

namespace batch_run {

using Outcome = test_support::ProgramRun;

// Runs velmora-batch with the arguments, after `prefix` (a wrapper such as setpriv); its streams
// are caught outside the test's own folder.
inline Outcome RunBatch(const std::vector<std::string>& arguments, const std::string& prefix = "") {
    return test_support::RunProgram(VELMORA_BATCH, arguments, prefix);
}

// The lines of a stream, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

// A fish of a few colours (never magenta) on a plain background, touching no edge.
inline TBitmap FishPicture(int width, int height, TColor background) {
    TBitmap picture(width, height, background);
    for (int y = height / 4; y < height * 3 / 4; ++y) {
        for (int x = width / 5; x < width * 4 / 5; ++x) {
            picture.SetPixel(x, y, (x + y) % 3 == 0 ? clBlack : RGB(x * 7, y * 5, 200));
        }
    }
    return picture;
}

} // namespace batch_run
