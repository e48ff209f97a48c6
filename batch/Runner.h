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

// Where the progress lines go, each whole and ending in a newline; any thread, one at a time.
using LineWriter = std::function<void(const std::string& lines)>;
void WriteToStderr(const std::string& lines);

// Makes every planned file, up to `jobs` at once. With several files a "[k/n] input -> outputs"
// line per file (k counting finished files) goes to `write`, a failure printing its message in
// its place, and a summary line comes last. A file whose line cannot be made or written counts
// as failed, and a bare line saying so goes straight to stderr. Returns 0 when every file was
// made, else 1.
int RunPlanned(const std::vector<PlannedFile>& plan, int jobs, const FileMaker& make,
               const LineWriter& write = WriteToStderr);

// The whole run of a making command: plans the outputs (`otherInputs` are files read besides
// the inputs, never to be overwritten), makes --out-dir, then RunPlanned with --jobs. A pen-like
// command without inputs passes one empty input.
int RunFileCommand(const Options& options, const std::vector<std::string>& inputs,
                   const std::vector<std::string>& otherInputs, const OutputNamer& outputsOf,
                   const FileMaker& make);
