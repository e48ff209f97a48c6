// The plan of one velmora-batch run, made before any file is touched: every output named, two
// outputs of one name refused, no input ever overwritten, the output folder made.
#include "batch/OutputPlan.h"

#include "raster/PictureFile.h"

#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// The full path with the folders resolved as far as they exist.
std::string Resolved(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? fs::path(path).lexically_normal().string() : resolved.string();
}

// What two paths share exactly when they name one file: the device and inode of an existing
// file (links and all), else its resolved path.
std::string FileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return "inode " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    }
    return "path " + Resolved(path);
}

// The key two outputs clash on: the resolved folder and the file name in lower case.
std::string NameKey(const std::string& path) {
    const fs::path resolved(Resolved(path));
    std::string name = resolved.filename().string();
    for (char& ch : name) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return (resolved.parent_path() / name).string();
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
    const fs::path folder(*options.OutDir);
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
    return (fs::path(folder) / fs::path(name).filename()).string();
}

std::string OutputFor(const Options& options, const std::string& input) {
    return options.Output ? *options.Output : InFolder(*options.OutDir, BmpOutputName(input));
}
