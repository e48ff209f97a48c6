// Running a built program as the user would from a shell, its output and errors captured.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace test_support {

struct ProgramRun {
    int Status = -1; // the exit code, or -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

// Runs `program` with `arguments`, each passed as one word whatever it holds, after `prefix` (a
// command that runs the rest, such as one that drops privileges, ending in a space).
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& prefix = "");

// A program started in the background with some environment variables of its own, its output
// and errors going to files; it can be killed as a power cut or the system would kill it.
class BackgroundProgram {
  public:
    BackgroundProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::pair<std::string, std::string>>& environment);
    ~BackgroundProgram(); // kills it if it still runs
    BackgroundProgram(BackgroundProgram&& other) noexcept;
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(BackgroundProgram&&) = delete;

    // Sends SIGKILL and waits for the end.
    void Kill();
    // Waits for the end on its own; Status -1 when it was killed or did not exit normally.
    ProgramRun Wait();

  private:
    int pid_ = -1;
    int status_ = 0;
    std::string out_;
    std::string err_;
};

} // namespace test_support
