#include "ChildProcess.h"

#include "ArgumentVector.h"

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

struct ChildProcess::Handle {
    pid_t pid = -1;
    bool reaped = false;
};

std::string siblingProgram(const std::string& baseName) {
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    return dir.substr(0, dir.rfind('/') + 1) + baseName;
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : handle(std::make_unique<Handle>()) {
    ArgumentVector argv(program, args);
    if (::posix_spawn(&handle->pid, program.c_str(), nullptr, nullptr, argv.get(), environ) != 0)
        handle->pid = -1;
}

ChildProcess::~ChildProcess() {
    if (handle->pid > 0 && !handle->reaped) {
        kill();
        wait();
    }
}

int ChildProcess::wait() {
    if (handle->pid <= 0)
        return -1;
    int status = 0;
    if (!handle->reaped) {
        if (::waitpid(handle->pid, &status, 0) != handle->pid)
            return -1;
        handle->reaped = true;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::kill() {
    if (handle->pid > 0 && !handle->reaped)
        ::kill(handle->pid, SIGKILL);
}
