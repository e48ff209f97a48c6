// Running a program on Windows: CreateProcessW on a command line quoted as the C runtime parses
// it, its output and errors going to files of a scratch folder of its own.
#include "tests/support/Programs.h"

#include "raster/Platform.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <windows.h>

namespace test_support {

namespace {

// One argument as the runtime's parser reads it back: quoted, with backslashes doubled before a
// quote.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t ch : argument) {
        if (ch == L'\\') {
            ++backslashes;
        } else {
            quoted.append(ch == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
            backslashes = 0;
        }
        quoted += ch;
    }
    quoted.append(backslashes, L'\\');
    return quoted + L"\"";
}

HANDLE Inherited(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(platform::PathOf(path).wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                         &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string&) {
    const ScratchFolder captured;
    std::wstring command = Quoted(platform::PathOf(program).wstring());
    for (const std::string& argument : arguments) {
        command += L" " + Quoted(platform::PathOf(argument).wstring());
    }
    const HANDLE out = Inherited(captured.Path("out"));
    const HANDLE err = Inherited(captured.Path("err"));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    int status = -1;
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        status = static_cast<int>(code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(out);
    ::CloseHandle(err);
    // The console's text mode ends lines with CR LF; the tests read them as the program wrote them.
    const auto lines = [](std::string text) {
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
            text.erase(at, 1);
        }
        return text;
    };
    return {status, lines(FileText(captured.Path("out"))), lines(FileText(captured.Path("err")))};
}

} // namespace test_support
