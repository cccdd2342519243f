#include "cli/CommandLine.h"

#include "cli/Failure.h"

namespace {

[[noreturn]] void usageError(const std::string& problem) {
    throw Failure(ExitStatus::Refused, problem + " (see quillon-settings --help)");
}

std::optional<Command::Action> actionNamed(const std::string& word) {
    if (word == "show")
        return Command::Action::Show;
    if (word == "get")
        return Command::Action::Get;
    if (word == "set")
        return Command::Action::Set;
    if (word == "where")
        return Command::Action::Where;
    return std::nullopt;
}

void takeSystemDir(Command& command, const std::string& folder) {
    if (command.systemDir)
        usageError("--system-dir is given twice");
    if (folder.empty())
        usageError("--system-dir names no folder");
    command.systemDir = folder;
}

} // namespace

Command parseCommandLine(const std::vector<std::string>& args) {
    Command command;
    std::optional<Command::Action> action;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return Command{};
        } else if (arg == "--version") {
            command.action = Command::Action::Version;
            return command;
        } else if (arg == "--json") {
            command.json = true;
        } else if (arg == "--check") {
            command.check = true;
        } else if (arg == "--system-dir") {
            if (i + 1 == args.size())
                usageError("--system-dir needs a folder after it");
            takeSystemDir(command, args[++i]);
        } else if (arg.starts_with("--system-dir=")) {
            takeSystemDir(command, arg.substr(arg.find('=') + 1));
        } else if (arg.starts_with("-")) {
            usageError("unknown option " + quoted(arg));
        } else if (!action) {
            action = actionNamed(arg);
            if (!action)
                usageError("unknown command " + quoted(arg) +
                           "; the commands are show, get, set and where");
        } else {
            operands.push_back(arg);
        }
    }
    if (!action)
        usageError("no command given; the commands are show, get, set and where");
    command.action = *action;
    if (command.check && command.action != Command::Action::Set)
        usageError("--check goes with set only");

    switch (command.action) {
    case Command::Action::Show:
        if (!operands.empty())
            usageError("show takes no setting names, but was given " + quoted(operands[0]));
        break;
    case Command::Action::Get:
        if (operands.size() != 1)
            usageError("get takes one setting name");
        command.name = operands[0];
        break;
    case Command::Action::Where:
        if (!operands.empty())
            usageError("where takes nothing after it, but was given " + quoted(operands[0]));
        if (command.systemDir)
            usageError("where shows the search that --system-dir stands in for; give one of "
                       "the two");
        break;
    case Command::Action::Set:
        if (operands.empty())
            usageError("set needs at least one NAME=VALUE");
        for (const auto& operand : operands) {
            const auto equals = operand.find('=');
            if (equals == std::string::npos)
                usageError(quoted(operand) + " is not NAME=VALUE: it has no \"=\"");
            command.assignments.push_back({operand.substr(0, equals), operand.substr(equals + 1)});
        }
        break;
    default:
        break;
    }
    return command;
}
