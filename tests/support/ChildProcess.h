#pragma once

#include <memory>
#include <string>
#include <vector>

// Starting helper programs from tests, the same way on every platform.

// The path of a program built beside the running test (".exe" is added on Windows).
std::string siblingProgram(const std::string& baseName);

// A started program. The destructor kills it if it still runs.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the program to end; its exit status, or -1 when it was killed or never started.
    int wait();
    // Ends the program at once, as the system does with a killed process: it cleans up nothing.
    void kill();

private:
    struct Handle;
    std::unique_ptr<Handle> handle;
};
