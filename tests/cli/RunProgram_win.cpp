#include "RunProgram.h"

#include "TempDir.h"
#include "platform/Utf8.h"

#include <windows.h>

namespace {

// One argument as CommandLineToArgvW reads it back: quoted, with the backslashes before a quote
// doubled and the quote escaped.
std::wstring quoted(const std::string& utf8) {
    const std::u16string text = utf16FromUtf8(utf8).value_or(u"?");
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const char16_t c : text) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == u'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += static_cast<wchar_t>(c);
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

HANDLE inheritableFile(const std::filesystem::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& folder) {
    std::wstring commandLine = quoted(program);
    for (const auto& arg : args)
        commandLine += L" " + quoted(arg);

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE inputRead = nullptr, inputWrite = nullptr;
    CreatePipe(&inputRead, &inputWrite, &inherit, 0);
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    const auto outFile = folder / "stdout", errFile = folder / "stderr";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = inheritableFile(outFile);
    startup.hStdError = inheritableFile(errFile);
    PROCESS_INFORMATION info{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &info) != 0;
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);

    ProgramRun run;
    if (started) {
        WaitForSingleObject(info.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(info.hProcess, &code))
            run.status = static_cast<int>(code);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    CloseHandle(inputWrite);
    run.out = TempDir::bytesOf(outFile);
    run.err = TempDir::bytesOf(errFile);
    return run;
}
