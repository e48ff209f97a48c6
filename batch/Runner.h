// What every velmora-batch command shares: the per-file loop with its progress and failure
// lines, output naming, and the guard against overwriting an input.
#pragma once

#include "batch/Arguments.h"
#include "raster/Errors.h"
#include "raster/TBitmap.h"

#include <functional>
#include <string>
#include <vector>

// A file that cannot be made for a reason of this tool's own (not the reader's or writer's).
class BatchFailure : public std::runtime_error {
  public:
    explicit BatchFailure(const std::string& message) : std::runtime_error(message) {}
};

// One input's work: returns the files it wrote (for the progress line). Raising an
// EVelmoraError or BatchFailure fails that input only; a UsageError stops the run.
using FileJob = std::function<std::vector<std::string>(const std::string& input)>;

// Runs the job for every input in turn. With several inputs a "[i/n] input -> outputs" line per
// file goes to stderr; a failure prints the input and its message and the run carries on.
// Returns 0 when every input succeeded, else 1.
int RunForEachInput(const std::vector<std::string>& inputs, const FileJob& job);

// The failure line's text for a picture that does not fit in memory: the figures of the check
// that refused it when there are any (`error` may be null, for an allocation that failed).
std::string NotEnoughMemoryText(const EOutOfResources* error);

// The output for one input: -o as given, or the input's file name inside --out-dir.
std::string OutputFor(const Options& options, const std::string& input);
// `name`'s file name inside `folder`.
std::string InFolder(const std::string& folder, const std::string& name);

// Raises BatchFailure when `output` names the same file as `input`.
void RefuseOverwritingInput(const std::string& input, const std::string& output);

// The background colour the options choose for a picture; a pixel outside it is a UsageError.
TColor BackgroundFor(const BackgroundChoice& choice, const TBitmap& picture,
                     const std::string& input);
