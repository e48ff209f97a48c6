// The per-file loop every making command shares: planned files made by up to N threads, each
// reported on stderr in one whole line as it finishes, a failure never stopping the others.
#include "batch/Runner.h"

#include "batch/Messages.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

// The finished files' lines; one lock, one write per file, so lines never interleave.
class Progress {
  public:
    Progress(std::size_t total, const LineWriter& write) : total_(total), write_(write) {}

    // Raises what making or writing the line raises, the counts then left as they were.
    void Finished(const PlannedFile& file, const std::vector<std::string>& notes,
                  const std::string& failure) {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::string text;
        for (const std::string& note : notes) {
            text += note + "\n";
        }
        const std::string counter =
            total_ > 1 ? "[" + std::to_string(done_ + 1) + "/" + std::to_string(total_) + "] " : "";
        if (!failure.empty()) {
            text += counter + failure + "\n";
        } else if (total_ > 1) {
            text += counter + file.Name() + " ->";
            for (std::size_t k = 0; k < file.Outputs.size(); ++k) {
                text += (k == 0 ? " " : ", ") + file.Outputs[k];
            }
            text += "\n";
        }
        write_(text);
        ++done_;
        failed_ += failure.empty() ? 0 : 1;
    }

    // A file whose report itself failed: counted as failed and told without making a string, as
    // the failure may be the memory to make one.
    void Unreported(const PlannedFile& file) noexcept {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++done_;
        ++failed_;
        std::fputs(file.Name().c_str(), stderr);
        std::fputs(": failed: its progress line could not be written\n", stderr);
    }

    std::size_t Failed() const { return failed_; }

  private:
    std::mutex mutex_;
    const std::size_t total_;
    const LineWriter& write_;
    std::size_t done_ = 0;
    std::size_t failed_ = 0;
};

// Makes one file and reports it. Nothing escapes: on a worker thread an exception would end the
// whole run.
void MakeAndReport(const PlannedFile& file, const FileMaker& make, Progress& progress) noexcept {
    try {
        std::vector<std::string> notes;
        std::string failure = file.Refusal;
        if (failure.empty()) {
            try {
                make(file, notes);
            } catch (const std::exception& error) {
                failure = FailureMessage(error, file.Name());
            } catch (...) {
                failure = file.Name() + ": failed for an unknown reason";
            }
        }
        progress.Finished(file, notes, failure);
    } catch (...) {
        progress.Unreported(file);
    }
}

} // namespace

void WriteToStderr(const std::string& lines) {
    std::fwrite(lines.data(), 1, lines.size(), stderr);
}

int RunPlanned(const std::vector<PlannedFile>& plan, int jobs, const FileMaker& make,
               const LineWriter& write) {
    Progress progress(plan.size(), write);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < plan.size(); i = next++) {
            MakeAndReport(plan[i], make, progress);
        }
    };
    const std::size_t threadsWanted = std::min<std::size_t>(std::max(jobs, 1), plan.size());
    const std::size_t helpers = threadsWanted > 0 ? threadsWanted - 1 : 0;
    {
        std::vector<std::jthread> threads;
        for (std::size_t k = 0; k < helpers; ++k) {
            threads.emplace_back(work);
        }
        work();
    }
    if (plan.size() > 1) {
        write(progress.Failed() == 0
                  ? "velmora-batch: all " + std::to_string(plan.size()) + " files done\n"
                  : "velmora-batch: " + std::to_string(progress.Failed()) + " of " +
                        std::to_string(plan.size()) + " files failed\n");
    }
    return progress.Failed() == 0 ? 0 : 1;
}

int RunFileCommand(const Options& options, const std::vector<std::string>& inputs,
                   const std::vector<std::string>& otherInputs, const OutputNamer& outputsOf,
                   const FileMaker& make) {
    const std::vector<PlannedFile> plan = PlanOutputs(inputs, otherInputs, outputsOf);
    MakeOutputFolder(options);
    return RunPlanned(plan, options.Jobs, make);
}
