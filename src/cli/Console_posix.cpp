#include "cli/Console.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace Console {

namespace {

void writeAll(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

} // namespace

std::vector<std::string> arguments(int argc, char** argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void writeOut(std::string_view text) {
    writeAll(stdout, text);
}

void writeError(std::string_view text) {
    writeAll(stderr, text);
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
