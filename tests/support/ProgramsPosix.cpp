// Running a program through the shell; its output goes to files of a scratch folder of its own,
// so that nothing of it shows in a folder the test compares before and after.
#include "tests/support/Programs.h"

#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <sys/wait.h>

#include <cstdlib>

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

} // namespace test_support
