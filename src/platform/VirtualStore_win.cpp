#include "platform/VirtualStore.h"

#include "platform/Win32.h"

namespace {

// A variable of the environment as UTF-8; empty when it is not set.
std::string environmentValue(const wchar_t* name) {
    std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return Win32::utf8(value);
}

} // namespace

VirtualStore::Places VirtualStore::thisSystem() {
    Places places;
    for (const wchar_t* name :
         {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432", L"SystemRoot"})
        if (std::string folder = environmentValue(name); !folder.empty())
            places.virtualised.push_back(std::move(folder));
    places.localAppData = environmentValue(L"LOCALAPPDATA");
    return places;
}
