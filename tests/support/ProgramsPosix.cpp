// Running a program through the shell; its output goes to files of a scratch folder of its own,
// so that nothing of it shows in a folder the test compares before and after.
#include "tests/support/Programs.h"

#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace test_support {

namespace {
std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (char ch : argument) {
        quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    }
    return quoted + "'";
}
} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& prefix) {
    const ScratchFolder captured;
    std::string command = prefix + Quoted(program);
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    command += " >" + Quoted(captured.Path("out")) + " 2>" + Quoted(captured.Path("err"));
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileText(captured.Path("out")),
            FileText(captured.Path("err"))};
}

BackgroundProgram::BackgroundProgram(
    const std::string& program, const std::vector<std::string>& arguments,
    const std::vector<std::pair<std::string, std::string>>& environment) {
    char outName[] = "/tmp/velmora-child-out-XXXXXX";
    char errName[] = "/tmp/velmora-child-err-XXXXXX";
    const int out = ::mkstemp(outName);
    const int err = ::mkstemp(errName);
    out_ = outName;
    err_ = errName;
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    pid_ = ::fork();
    if (pid_ == 0) {
        for (const auto& [name, value] : environment) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out);
    ::close(err);
    if (pid_ < 0) {
        throw std::runtime_error("cannot start " + program);
    }
}

BackgroundProgram::BackgroundProgram(BackgroundProgram&& other) noexcept
    : pid_(other.pid_), status_(other.status_), out_(std::move(other.out_)),
      err_(std::move(other.err_)) {
    other.pid_ = -1;
    other.out_.clear();
    other.err_.clear();
}

BackgroundProgram::~BackgroundProgram() {
    Kill();
    if (!out_.empty()) {
        ::unlink(out_.c_str());
        ::unlink(err_.c_str());
    }
}

void BackgroundProgram::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
}

ProgramRun BackgroundProgram::Wait() {
    if (pid_ > 0) {
        while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    return {WIFEXITED(status_) ? WEXITSTATUS(status_) : -1, FileText(out_), FileText(err_)};
}

} // namespace test_support
