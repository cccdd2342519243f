#pragma once

#include <filesystem>
#include <string>
#include <windows.h>

#include <gtest/gtest.h>

// UTF-16 from the UTF-8 that tests write their names in.
inline std::wstring wideFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// A text value in one view of the registry, below a key of its own that goes again, with
// everything below it, when the value goes. The key must not be there before.
class AddedRegistryValue {
public:
    AddedRegistryValue(HKEY root, REGSAM view, const std::string& top, const std::string& below,
                       const std::string& name, const std::string& value)
        : root_(root), view_(view), top_(wideFromUtf8(top)) {
        HKEY key = nullptr;
        EXPECT_NE(RegOpenKeyExW(root, top_.c_str(), 0, KEY_READ | view, &key), ERROR_SUCCESS);
        EXPECT_EQ(RegCreateKeyExW(root, wideFromUtf8(top + "\\" + below).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | view, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::wstring text = wideFromUtf8(value);
        RegSetValueExW(key, wideFromUtf8(name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    ~AddedRegistryValue() {
        const auto cut = top_.rfind(L'\\');
        HKEY parent = nullptr;
        if (RegOpenKeyExW(root_, top_.substr(0, cut).c_str(), 0, KEY_ALL_ACCESS | view_, &parent) ==
            ERROR_SUCCESS) {
            RegDeleteTreeW(parent, top_.substr(cut + 1).c_str());
            RegCloseKey(parent);
        }
    }

private:
    HKEY root_;
    REGSAM view_;
    std::wstring top_;
};
