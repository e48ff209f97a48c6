// Running a built program as the user would from a shell, its output and errors captured.
#pragma once

#include <string>
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

} // namespace test_support
