#include "cli/Console.h"

#include "cli/Failure.h"
#include "platform/Win32.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <windows.h>

#include <shellapi.h>

namespace Console {

namespace {

// Writes the text whole; the reason when it could not be.
std::optional<std::string> writeAll(DWORD which, std::FILE* stream, std::string_view text) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Win32::wide(text);
        DWORD written = 0;
        if (!WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr))
            return Win32::lastError().message();
        return std::nullopt;
    }
    // Redirected: UTF-8 bytes exactly as given, LF not turned into CR LF.
    _setmode(_fileno(stream), _O_BINARY);
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() || std::fflush(stream) != 0)
        return std::string(std::strerror(errno));
    return std::nullopt;
}

} // namespace

std::vector<std::string> arguments(int, char**) {
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        const std::wstring_view arg(wide.get()[i]);
        args.push_back(Win32::utf8(arg));
    }
    return args;
}

void writeOut(std::string_view text) {
    if (const auto reason = writeAll(STD_OUTPUT_HANDLE, stdout, text))
        throw Failure(ExitStatus::FileProblem, "cannot write to standard output: " + *reason);
}

void writeError(std::string_view text) {
    writeAll(STD_ERROR_HANDLE, stderr, text); // nowhere left to tell of a failure
}

std::string gamePathFromArgument(const std::string& folder) {
    std::string path = folder;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

} // namespace Console
