// Running the built velmora-batch from the command-line tests: quoting, exit status, both streams.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace batch_run {

namespace fs = std::filesystem;

inline std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (char ch : argument) {
        quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    }
    return quoted + "'";
}

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs velmora-batch with the arguments, after `prefix` (a wrapper such as setpriv); the
// streams are caught in files beside, not inside, the test's own folder.
inline Outcome RunBatch(const std::vector<std::string>& arguments, const std::string& prefix = "") {
    const fs::path streams = fs::temp_directory_path() /
                             (std::string("velmora-batch-streams-") +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string command = prefix + Quoted(VELMORA_BATCH);
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    command += " >" + Quoted(streams.string() + ".out") + " 2>" + Quoted(streams.string() + ".err");
    const int raw = std::system(command.c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(streams.string() + ".out"),
                ReadText(streams.string() + ".err")};
    fs::remove(streams.string() + ".out");
    fs::remove(streams.string() + ".err");
    return run;
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

} // namespace batch_run
