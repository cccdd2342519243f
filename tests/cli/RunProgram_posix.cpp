#include "RunProgram.h"

#include "ArgumentVector.h"
#include "TempDir.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& folder) {
    const auto outFile = folder / "stdout", errFile = folder / "stderr";
    int input[2];
    if (::pipe(input) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_addclose(&actions, input[1]);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    ArgumentVector argv(program, args);
    pid_t pid = -1;
    const bool started =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.get(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    int status = 0;
    const bool ended = started && ::waitpid(pid, &status, 0) == pid;
    ::close(input[1]);

    ProgramRun run;
    run.status = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = TempDir::bytesOf(outFile);
    run.err = TempDir::bytesOf(errFile);
    return run;
}
