#include "platform/Win32.h"

#include "platform/Utf8.h"

#include <string>

namespace Win32 {

namespace {

class Win32Category : public std::error_category {
public:
    const char* name() const noexcept override { return "win32"; }
    std::string message(int code) const override {
        wchar_t* text = nullptr;
        const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                           FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, static_cast<DWORD>(code), 0,
                                       reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::string message =
            n ? utf8(std::wstring_view(text, n)) : "error " + std::to_string(code);
        if (text)
            LocalFree(text);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                    message.back() == ' ' || message.back() == '.'))
            message.pop_back();
        return message;
    }
    // The portable meaning of the errors the program tells apart, so that code common to every
    // system can ask for a missing file or a refused write whatever the system said.
    std::error_condition default_error_condition(int code) const noexcept override {
        switch (static_cast<DWORD>(code)) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return std::errc::no_such_file_or_directory;
        case ERROR_ACCESS_DENIED:
            return std::errc::permission_denied;
        case ERROR_WRITE_PROTECT:
            return std::errc::read_only_file_system;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::errc::file_exists;
        default:
            return {code, *this};
        }
    }
};

// What Windows refuses in a file or folder name (a drive's colon and the \\?\ mark aside).
bool refusedInNames(wchar_t c) {
    return c < 32 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*';
}

bool isUnpairedSurrogate(std::wstring_view text, std::size_t i) {
    const wchar_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00)
        return i + 1 == text.size() || !(text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000);
    if (c >= 0xDC00 && c < 0xE000)
        return i == 0 || !(text[i - 1] >= 0xD800 && text[i - 1] < 0xDC00);
    return false;
}

} // namespace

const std::error_category& category() {
    static const Win32Category category;
    return category;
}

std::error_code lastError() {
    return error(GetLastError());
}

std::wstring wide(std::string_view text) {
    if (const auto utf16 = utf16FromUtf8(text))
        return {utf16->begin(), utf16->end()};
    // Not UTF-8 after all: each byte that does not fit becomes U+FFFD.
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string utf8(std::wstring_view text) {
    return utf8FromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::wstring systemPath(const std::string& path) {
    const auto utf16 = utf16FromUtf8(path);
    if (!utf16)
        throw std::system_error(error(ERROR_NO_UNICODE_TRANSLATION));
    std::wstring text(utf16->begin(), utf16->end());
    if (text.empty())
        throw std::system_error(error(ERROR_INVALID_NAME));
    const bool alreadyLong = text.starts_with(L"\\\\?\\");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!alreadyLong && text[i] == L'/')
            text[i] = L'\\';
        const bool mark = alreadyLong && i == 2;
        if ((refusedInNames(text[i]) && !mark) || isUnpairedSurrogate(text, i))
            throw std::system_error(error(ERROR_INVALID_NAME));
    }
    // MAX_PATH counts the terminator, and a folder must leave room for an 8.3 name in it.
    if (alreadyLong || text.size() < MAX_PATH - 12)
        return text;
    const DWORD needed = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        throw std::system_error(lastError());
    std::wstring full(needed, L'\0');
    const DWORD n = GetFullPathNameW(text.c_str(), needed, full.data(), nullptr);
    if (n == 0 || n >= needed)
        throw std::system_error(n == 0 ? lastError() : error(ERROR_BUFFER_OVERFLOW));
    full.resize(n);
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

} // namespace Win32
