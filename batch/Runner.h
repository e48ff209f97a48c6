// The per-file loop every making command shares: planned files made by up to N threads, each
// reported on stderr in one whole line as it finishes, a failure never stopping the others.
#pragma once

#include "batch/Arguments.h"
#include "batch/OutputPlan.h"

#include <functional>
#include <string>
#include <vector>

// One input's work: makes its planned outputs. Warnings go to `notes`, one line each (starting
// with the file they are about), printed when the file is done. Raising any error fails that
// input only. Runs on any thread, several at once: it must touch nothing but its own files.
using FileMaker = std::function<void(const PlannedFile& file, std::vector<std::string>& notes)>;

// Makes every planned file, up to `jobs` at once. With several files a "[k/n] input -> outputs"
// line per file (k counting finished files) goes to stderr, a failure printing its message in
// its place, and a summary line comes last. Returns 0 when every file was made, else 1.
int RunPlanned(const std::vector<PlannedFile>& plan, int jobs, const FileMaker& make);

// The whole run of a making command: plans the outputs (`otherInputs` are files read besides
// the inputs, never to be overwritten), makes --out-dir, then RunPlanned with --jobs. A pen-like
// command without inputs passes one empty input.
int RunFileCommand(const Options& options, const std::vector<std::string>& inputs,
                   const std::vector<std::string>& otherInputs, const OutputNamer& outputsOf,
                   const FileMaker& make);
