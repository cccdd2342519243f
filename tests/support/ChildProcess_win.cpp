#include "ChildProcess.h"

#include <windows.h>

namespace {
// The exit status given to a killed program, as a shell reports SIGKILL.
constexpr UINT KilledExitCode = 137;
} // namespace

struct ChildProcess::Handle {
    PROCESS_INFORMATION info{};
    bool started = false;
};

std::string siblingProgram(const std::string& baseName) {
    char self[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, n);
    return path.substr(0, path.find_last_of("\\/") + 1) + baseName + ".exe";
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : handle(std::make_unique<Handle>()) {
    std::string commandLine = "\"" + program + "\"";
    for (const auto& arg : args)
        commandLine += " \"" + arg + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    handle->started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                     0, nullptr, nullptr, &startup, &handle->info) != 0;
}

ChildProcess::~ChildProcess() {
    if (!handle->started)
        return;
    kill();
    WaitForSingleObject(handle->info.hProcess, INFINITE);
    CloseHandle(handle->info.hThread);
    CloseHandle(handle->info.hProcess);
}

int ChildProcess::wait() {
    if (!handle->started)
        return -1;
    WaitForSingleObject(handle->info.hProcess, INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(handle->info.hProcess, &code) || code == KilledExitCode)
        return -1;
    return static_cast<int>(code);
}

void ChildProcess::kill() {
    if (handle->started)
        TerminateProcess(handle->info.hProcess, KilledExitCode);
}
