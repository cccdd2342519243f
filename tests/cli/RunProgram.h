#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What a program run from a test did.
struct ProgramRun {
    int status = -1; // its exit status; -1 when it did not start or did not end normally
    std::string out; // everything it wrote to standard output
    std::string err; // and to standard error
};

// Runs a program with UTF-8 arguments and waits for it to end. Its output goes through files in
// folder; its input is a pipe that stays open and empty, so a program that waited for input
// would never end.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& folder);
