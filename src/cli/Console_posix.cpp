#include "cli/Console.h"

#include "cli/Failure.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace Console {

namespace {

// Writes the text whole; the reason when it could not be.
std::optional<std::string> writeAll(std::FILE* stream, std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() || std::fflush(stream) != 0)
        return std::string(std::strerror(errno));
    return std::nullopt;
}

} // namespace

std::vector<std::string> arguments(int argc, char** argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void writeOut(std::string_view text) {
    if (const auto reason = writeAll(stdout, text))
        throw Failure(ExitStatus::FileProblem, "cannot write to standard output: " + *reason);
}

void writeError(std::string_view text) {
    writeAll(stderr, text); // nowhere left to tell of a failure
}

std::string gamePathFromArgument(const std::string& folder) {
    const bool windowsForm = folder.starts_with('\\') || (folder.size() >= 2 && folder[1] == ':');
    if (folder.starts_with('/') || windowsForm)
        return folder;
    std::unique_ptr<char, void (*)(void*)> cwd(::getcwd(nullptr, 0), std::free);
    const std::string base = cwd ? cwd.get() : "";
    return (base.ends_with('/') ? base : base + '/') + folder;
}

} // namespace Console
