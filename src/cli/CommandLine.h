#pragma once

#include <optional>
#include <string>
#include <vector>

// What the arguments ask for:
//   quillon-settings [--system-dir DIR] show [--json]
//   quillon-settings [--system-dir DIR] get NAME [--json]
//   quillon-settings [--system-dir DIR] set [--check] [--json] NAME=VALUE [NAME=VALUE ...]
//   quillon-settings where [--json]
//   quillon-settings --help | --version
// Options may stand before or after the command word.
struct Assignment {
    std::string name;  // as typed
    std::string value; // everything after the first "=", as typed
};

struct Command {
    enum class Action { Help, Version, Show, Get, Set, Where };
    Action action = Action::Help;
    std::optional<std::string> systemDir; // as typed
    bool json = false;
    bool check = false;                  // set: tell what would change, write nothing
    std::string name;                    // for get
    std::vector<Assignment> assignments; // for set, in the order given
};

// Throws Failure (ExitStatus::Refused) naming what is wrong with the arguments.
Command parseCommandLine(const std::vector<std::string>& args);
