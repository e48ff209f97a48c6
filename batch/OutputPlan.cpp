// The plan of one velmora-batch run, made before any file is touched: every output named, two
// outputs of one name refused, no input ever overwritten, the output folder made.
#include "batch/OutputPlan.h"

#include "raster/PictureFile.h"
#include "raster/Platform.h"

#include <filesystem>
#include <map>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The full path with the folders resolved as far as they exist.
std::string Resolved(const std::string& path) {
    std::error_code error;
    const fs::path resolved =
        fs::weakly_canonical(fs::absolute(platform::PathOf(path), error), error);
    return platform::Utf8Of(error ? platform::PathOf(path).lexically_normal() : resolved);
}

// What two paths share exactly when they name one file: the system's identity of an existing
// file (links and all), else its resolved path.
std::string FileIdentity(const std::string& path) {
    return platform::FileIdentity(path).value_or("path " + Resolved(path));
}

// The key two outputs clash on: the resolved folder and the file name in lower case.
std::string NameKey(const std::string& path) {
    const fs::path resolved = platform::PathOf(Resolved(path));
    std::string name = platform::Utf8Of(resolved.filename());
    for (char& ch : name) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return platform::Utf8Of(resolved.parent_path() / platform::PathOf(name));
}

} // namespace

std::vector<PlannedFile> PlanOutputs(const std::vector<std::string>& inputs,
                                     const std::vector<std::string>& otherInputs,
                                     const OutputNamer& outputsOf) {
    std::set<std::string> inputFiles;
    for (const auto* list : {&inputs, &otherInputs}) {
        for (const std::string& input : *list) {
            if (!input.empty()) {
                inputFiles.insert(FileIdentity(input));
            }
        }
    }
    std::vector<PlannedFile> plan;
    std::map<std::string, std::size_t> writers; // output name key -> index of the file writing it
    for (const std::string& input : inputs) {
        PlannedFile file{input, outputsOf(input), {}};
        for (const std::string& output : file.Outputs) {
            const auto [at, fresh] = writers.emplace(NameKey(output), plan.size());
            if (!fresh && at->second == plan.size()) { // this file's own outputs clash
                throw UsageError(file.Name() + " would write " + output + " twice");
            }
            if (!fresh) {
                throw UsageError(plan[at->second].Name() + " and " + file.Name() +
                                 " would both write " + output + "; give them different names");
            }
            if (file.Refusal.empty() && inputFiles.count(FileIdentity(output))) {
                file.Refusal = output + ": is an input of this run; refusing to overwrite it";
            }
        }
        plan.push_back(std::move(file));
    }
    return plan;
}

void MakeOutputFolder(const Options& options) {
    if (!options.OutDir) {
        return;
    }
    const fs::path folder = platform::PathOf(*options.OutDir);
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return;
    }
    if (fs::exists(folder, error)) {
        throw UsageError("--out-dir " + *options.OutDir + " is not a folder", options.Command);
    }
    fs::create_directories(folder, error);
    if (error) {
        throw UsageError("--out-dir " + *options.OutDir +
                             ": cannot make the folder: " + error.message(),
                         options.Command);
    }
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return platform::Utf8Of(platform::PathOf(folder) / platform::PathOf(name).filename());
}

std::string OutputFor(const Options& options, const std::string& input) {
    return options.Output ? *options.Output : InFolder(*options.OutDir, BmpOutputName(input));
}
