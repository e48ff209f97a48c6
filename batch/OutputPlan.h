// The plan of one velmora-batch run, made before any file is touched: every output named, two
// outputs of one name refused, no input ever overwritten, the output folder made.
#pragma once

#include "batch/Arguments.h"

#include <functional>
#include <string>
#include <vector>

struct PlannedFile {
    std::string Input;                // empty for a command without inputs (pen)
    std::vector<std::string> Outputs; // in the order they are written
    std::string Refusal;              // the message when the file is not to be made at all
    // The name progress and failure lines give the file: its input, else its first output.
    const std::string& Name() const { return Input.empty() ? Outputs.front() : Input; }
};

// The files an input makes, in the order they are written.
using OutputNamer = std::function<std::vector<std::string>(const std::string& input)>;

// Names every output. Two outputs naming one file (letter case aside, as the accessory rule
// lower-cases names) are a UsageError naming both inputs. An output that is the same file as
// any input of the run, `otherInputs` (shadow pictures and the like) included, refuses its file.
std::vector<PlannedFile> PlanOutputs(const std::vector<std::string>& inputs,
                                     const std::vector<std::string>& otherInputs,
                                     const OutputNamer& outputsOf);

// Makes --out-dir (and the folders above it) when missing; a UsageError when it cannot be.
void MakeOutputFolder(const Options& options);

// The output for one input: -o as given, or the input's file name inside --out-dir (a ".png"
// name ending in ".bmp" there, as every output is BMP).
std::string OutputFor(const Options& options, const std::string& input);
// `name`'s file name inside `folder`.
std::string InFolder(const std::string& folder, const std::string& name);
